#pragma once
// Texts drawn into the artwork.
#include <QString>

namespace zk::art::texts {

inline const QString NoTouch = QStringLiteral("マウスやキーボードを操作しないでください");
inline const QString MiniBar = QStringLiteral("Zerkon　―　マウスを乗せるとパネルが開きます");
inline const QString Browser = QStringLiteral("ブラウザ");
inline const QString Sheet = QStringLiteral("表計算");
inline const QString Brand = QStringLiteral("Zerkon");

} // namespace zk::art::texts
