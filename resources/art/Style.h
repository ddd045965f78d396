#pragma once
// The colours and fonts every picture of the panel shares.
#include <QColor>
#include <QFont>

namespace zk::art::style {

inline const QColor Form(255, 201, 74);        // the form's own colour
inline const QColor FormLight(255, 226, 150);
inline const QColor FormDark(232, 158, 38);
inline const QColor Outline(150, 88, 20);
inline const QColor Cream(255, 246, 222);
inline const QColor Peach(255, 236, 205);
inline const QColor Navy(16, 28, 92);
inline const QColor NavyLight(38, 60, 150);
inline const QColor Key(255, 0, 0);             // see-through colour of the backgrounds
inline const QColor Accent(226, 84, 36);

inline QFont gothic(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace zk::art::style
