// The three page backgrounds and the mini bar.
#include "Artwork.h"
#include "Style.h"
#include "Texts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zk::art {

namespace {

using namespace style;

constexpr QRect PanelRect(39, 12, 874, 111); // where the pages' panels sit
constexpr int BodyTop = 6;
constexpr QRectF Tab(758, 0, 158, 22);        // the raised tab behind the icons

// Left end rounder than the right one, plus the tab on top.
QPainterPath windowShape() {
    const qreal w = BackgroundSize.width(), h = BackgroundSize.height();
    const qreal left = 26, right = 12;
    QPainterPath body;
    body.moveTo(left, BodyTop);
    body.lineTo(w - right, BodyTop);
    body.arcTo(w - 2 * right, BodyTop, 2 * right, 2 * right, 90, -90);
    body.lineTo(w, h - right);
    body.arcTo(w - 2 * right, h - 2 * right, 2 * right, 2 * right, 0, -90);
    body.lineTo(left, h);
    body.arcTo(0, h - 2 * left, 2 * left, 2 * left, 270, -90);
    body.lineTo(0, BodyTop + left);
    body.arcTo(0, BodyTop, 2 * left, 2 * left, 180, -90);
    body.closeSubpath();
    QPainterPath tab;
    tab.addRoundedRect(Tab, 8, 8);
    return body.united(tab).simplified();
}

// Everything outside the shape becomes the pure key colour, with hard edges: a blended edge
// pixel would be a reddish colour that is not see-through.
void applyKey(QImage& image, const QPainterPath& shape) {
    QImage mask(image.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(shape, Qt::white);
    p.end();
    const QRgb key = Key.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(m[x]) < 128) line[x] = key;
            else if (line[x] == key) line[x] = qRgb(254, 0, 0); // a drawn red must stay opaque
        }
    }
}

void drawGrip(QPainter& p, int top, int bottom, const QColor& dark, const QColor& light) {
    for (int y = top; y <= bottom; y += 5) {
        for (int x : {16, 23}) {
            p.setPen(Qt::NoPen);
            p.setBrush(light);
            p.drawEllipse(QPointF(x + 0.8, y + 0.8), 1.4, 1.4);
            p.setBrush(dark);
            p.drawEllipse(QPointF(x, y), 1.4, 1.4);
        }
    }
}

// The body common to all pages: gradient, outline, grip and the sunken well for the panels.
QImage body(const QColor& top, const QColor& bottom, const QColor& well1, const QColor& well2,
            const QColor& accent, const QColor& outline) {
    QImage image(BackgroundSize, QImage::Format_RGB32);
    image.fill(top);
    const QPainterPath shape = windowShape();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, BackgroundSize.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(shape, g);

    // Gloss on the upper half.
    QLinearGradient gloss(0, BodyTop, 0, 60);
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(shape, gloss);

    p.setPen(QPen(outline, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);

    drawGrip(p, 14, 26, outline, top.lighter(130));
    drawGrip(p, 104, 118, outline, top.lighter(130));

    const QRectF well = QRectF(PanelRect).adjusted(-3, -3, 3, 3);
    QLinearGradient wg(0, well.top(), 0, well.bottom());
    wg.setColorAt(0, well1);
    wg.setColorAt(1, well2);
    p.setPen(QPen(outline.lighter(120), 1));
    p.setBrush(wg);
    p.drawRoundedRect(well, 8, 8);
    p.setPen(QPen(accent, 2));
    p.drawLine(QPointF(well.left() + 10, well.top() + 1.5), QPointF(well.right() - 10, well.top() + 1.5));

    p.setFont(gothic(10, true));
    p.setPen(outline);
    p.drawText(QRect(800, 124, 110, 11), Qt::AlignRight | Qt::AlignVCenter, texts::Brand);
    p.end();
    applyKey(image, shape);
    return image;
}

} // namespace

QImage mainBackground() {
    return body(Form, FormDark, Cream, FormLight, Accent, Outline);
}

QImage subBackground() {
    return body(Form, FormDark, Peach, QColor(255, 214, 160), QColor(40, 150, 140), Outline);
}

QImage noTouchBackground() {
    QImage image = body(NavyLight, Navy, Navy, Navy.darker(120), QColor(255, 201, 74), QColor(8, 12, 48));
    const QPainterPath shape = windowShape();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // A warning sign beside the message.
    const QPointF c(118, PanelRect.center().y() + 1);
    QPainterPath triangle;
    triangle.moveTo(c.x(), c.y() - 24);
    triangle.lineTo(c.x() + 26, c.y() + 20);
    triangle.lineTo(c.x() - 26, c.y() + 20);
    triangle.closeSubpath();
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 201, 74));
    p.drawPath(triangle);
    p.setPen(QPen(Navy, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x(), c.y() - 10), QPointF(c.x(), c.y() + 5));
    p.drawPoint(QPointF(c.x(), c.y() + 13));

    const QRect textRect(160, PanelRect.top(), PanelRect.right() - 160 - 20, PanelRect.height());
    p.setFont(gothic(30, true));
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(textRect.translated(2, 2), Qt::AlignCenter, texts::NoTouch);
    p.setPen(Qt::white);
    p.drawText(textRect, Qt::AlignCenter, texts::NoTouch);
    p.end();
    applyKey(image, shape);
    return image;
}

QImage miniBar() {
    QImage image(MiniBarSize, QImage::Format_RGB32);
    image.fill(FormDark);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, MiniBarSize.width() - 1, MiniBarSize.height() - 1);
    QLinearGradient g(0, 0, 0, MiniBarSize.height());
    g.setColorAt(0, FormLight);
    g.setColorAt(0.5, Form);
    g.setColorAt(1, FormDark);
    p.setPen(QPen(Outline, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);

    // Up chevrons at both ends: the bar opens upwards.
    p.setPen(QPen(Outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int x : {14, 28, MiniBarSize.width() - 28, MiniBarSize.width() - 14}) {
        p.drawPolyline(QPolygonF({QPointF(x - 5, 13), QPointF(x, 7), QPointF(x + 5, 13)}));
    }
    p.setFont(gothic(12, true));
    p.setPen(Outline.darker(130));
    p.drawText(QRect(0, 0, MiniBarSize.width(), MiniBarSize.height()), Qt::AlignCenter, texts::MiniBar);
    return image;
}

} // namespace zk::art
