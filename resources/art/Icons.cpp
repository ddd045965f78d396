// The small pictures: program icon, auto-fold switch, picture buttons and the hint icon.
#include "Artwork.h"
#include "Style.h"
#include "Texts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace zk::art {

namespace {

using namespace style;

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginPainter(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// A rounded, lightly raised face for the picture buttons.
void buttonFace(QPainter& p, const QSize& size) {
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(255, 252, 242));
    g.setColorAt(1, FormLight);
    p.setPen(QPen(Outline.lighter(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);
}

void caption(QPainter& p, const QSize& size, const QString& text) {
    p.setFont(gothic(11, true));
    p.setPen(Outline.darker(140));
    p.drawText(QRect(0, size.height() - 15, size.width(), 13), Qt::AlignCenter, text);
}

} // namespace

QImage programIcon(int size) {
    QImage image = canvas(size, size);
    QPainter p(&image);
    beginPainter(p);
    // Drawn on a 32-unit grid, scaled to the size asked for.
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient g(0, 0, 32, 32);
    g.setColorAt(0, QColor(255, 170, 60));
    g.setColorAt(1, Accent);
    p.setPen(QPen(Outline, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
    // A "Z" drawn as a stroke, so it looks the same with any font.
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(9, 9), QPointF(22, 9), QPointF(9, 23), QPointF(23, 23)}));
    // A small price tag in the corner.
    QPainterPath tag;
    tag.moveTo(21, 2.5);
    tag.lineTo(29.5, 2.5);
    tag.lineTo(29.5, 11);
    tag.lineTo(25, 14);
    tag.closeSubpath();
    p.setPen(QPen(Outline, 0.8));
    p.setBrush(QColor(255, 236, 120));
    p.drawPath(tag);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(27, 5.5), 1.1, 1.1);
    return image;
}

QImage foldOffIcon() {
    // A push pin standing upright: the panel stays where it is.
    QImage image = canvas(16, 16);
    QPainter p(&image);
    beginPainter(p);
    p.setPen(QPen(QColor(90, 90, 90), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 9), QPointF(8, 15));
    QRadialGradient head(QPointF(6.5, 4), 6);
    head.setColorAt(0, QColor(255, 170, 150));
    head.setColorAt(1, QColor(200, 30, 20));
    p.setPen(QPen(QColor(120, 20, 10), 1));
    p.setBrush(head);
    p.drawEllipse(QPointF(8, 5.5), 4.8, 4.8);
    p.drawRect(QRectF(5, 8.5, 6, 1.8));
    return image;
}

QImage foldOnIcon() {
    // An arrow into a bar: the panel folds away when the mouse leaves it.
    QImage image = canvas(16, 16);
    QPainter p(&image);
    beginPainter(p);
    p.setPen(QPen(QColor(30, 110, 190), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 9));
    p.drawPolyline(QPolygonF({QPointF(4, 6), QPointF(8, 10), QPointF(12, 6)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 190));
    p.drawRoundedRect(QRectF(1.5, 12, 13, 3), 1.5, 1.5);
    return image;
}

QImage browserButton() {
    const QSize size(60, 40);
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    beginPainter(p);
    buttonFace(p, size);
    // A globe.
    const QPointF c(30, 13.5);
    const qreal r = 10;
    QRadialGradient sea(c - QPointF(3, 3), r * 1.4);
    sea.setColorAt(0, QColor(140, 210, 255));
    sea.setColorAt(1, QColor(30, 110, 200));
    p.setPen(QPen(QColor(20, 70, 140), 1));
    p.setBrush(sea);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(255, 255, 255, 200), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x() - r * 0.87, c.y() - r / 2), QPointF(c.x() + r * 0.87, c.y() - r / 2));
    p.drawLine(QPointF(c.x() - r * 0.87, c.y() + r / 2), QPointF(c.x() + r * 0.87, c.y() + r / 2));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    caption(p, size, texts::Browser);
    return image;
}

QImage sheetButton() {
    const QSize size(60, 40);
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    beginPainter(p);
    buttonFace(p, size);
    // A sheet with a green header row and a grid.
    const QRectF sheet(19.5, 3.5, 21, 19);
    p.setPen(QPen(QColor(30, 110, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 80));
    p.drawRect(QRectF(sheet.left(), sheet.top(), sheet.width(), 5));
    p.setPen(QPen(QColor(120, 170, 130), 0.8));
    for (qreal y = sheet.top() + 9.5; y < sheet.bottom(); y += 4.5)
        p.drawLine(QPointF(sheet.left(), y), QPointF(sheet.right(), y));
    for (qreal x = sheet.left() + 7; x < sheet.right(); x += 7)
        p.drawLine(QPointF(x, sheet.top() + 5), QPointF(x, sheet.bottom()));
    caption(p, size, texts::Sheet);
    return image;
}

QImage hintIcon() {
    // A light bulb with rays.
    QImage image = canvas(24, 24);
    QPainter p(&image);
    beginPainter(p);
    const QPointF c(12, 9.5);
    p.setPen(QPen(QColor(240, 160, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        if (i == 2) continue; // no ray into the base
        const double a = (i * 45.0 - 90.0 + 180.0) * M_PI / 180.0;
        p.drawLine(c + QPointF(std::cos(a) * 8.2, std::sin(a) * 8.2), c + QPointF(std::cos(a) * 10.8, std::sin(a) * 10.8));
    }
    QRadialGradient glass(c - QPointF(2, 2), 7);
    glass.setColorAt(0, QColor(255, 255, 210));
    glass.setColorAt(1, QColor(255, 210, 40));
    p.setPen(QPen(QColor(170, 110, 10), 1));
    p.setBrush(glass);
    p.drawEllipse(c, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 130, 140));
    p.drawRoundedRect(QRectF(9, 15.5, 6, 5), 1.2, 1.2);
    p.setPen(QPen(QColor(220, 220, 230), 0.8));
    p.drawLine(QPointF(9.5, 17.3), QPointF(14.5, 17.3));
    p.drawLine(QPointF(9.5, 19), QPointF(14.5, 19));
    return image;
}

} // namespace zk::art
