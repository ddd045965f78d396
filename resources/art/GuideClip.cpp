// The guide clip: an arrow that bounces towards the button to press next.
#include "Artwork.h"
#include "Style.h"

#include <QPainter>
#include <QPolygon>

namespace zk::art {

namespace {

// Palette: 0 background (the form colour, see-through), then the arrow's colours.
const QList<QRgb> Palette = {style::Form.rgb(), qRgb(120, 60, 10), qRgb(226, 84, 36), qRgb(255, 150, 90),
                             qRgb(255, 255, 255)};

// How far the arrow has moved to the right in each frame: out quickly, back slowly.
constexpr int Offsets[] = {0, 2, 4, 6, 6, 5, 3, 1};

QImage frame(int dx) {
    QImage image(GuideClipSize, QImage::Format_RGB32);
    image.fill(Palette[0]);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false); // keep to the palette's few colours
    const QPolygon arrow({QPoint(dx + 0, 15), QPoint(dx + 6, 15), QPoint(dx + 6, 9), QPoint(dx + 13, 20),
                          QPoint(dx + 6, 31), QPoint(dx + 6, 25), QPoint(dx + 0, 25)});
    p.setPen(QColor(Palette[1]));
    p.setBrush(QColor(Palette[2]));
    p.drawPolygon(arrow);
    // Highlight on the upper half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette[3]));
    p.drawPolygon(QPolygon({QPoint(dx + 1, 16), QPoint(dx + 7, 16), QPoint(dx + 7, 12), QPoint(dx + 11, 19),
                            QPoint(dx + 1, 19)}));
    p.setPen(QColor(Palette[4]));
    p.drawPoint(dx + 2, 17);
    p.drawPoint(dx + 3, 17);
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, Palette, Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace

QList<QImage> guideFrames() {
    QList<QImage> frames;
    for (int dx : Offsets) frames.append(frame(dx));
    return frames;
}

} // namespace zk::art
