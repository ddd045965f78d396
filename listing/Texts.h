#pragma once
// Every text of the listing workflow: the title dialog and the title undo so far.
#include <QString>

namespace zk::listing::texts {

inline const QString TitleEditCaption = QStringLiteral("商品タイトル編集");
inline const QString TitleTooLong = QStringLiteral("商品タイトルが３０文字を超えています。");
inline const QString EditedTitle = QStringLiteral("修正タイトル");
inline const QString Ruler10 = QStringLiteral("10文字");
inline const QString Ruler20 = QStringLiteral("20文字");
inline const QString Ruler30 = QStringLiteral("30文字");
inline const QString RulerLimit = QStringLiteral("この線を越えてはダメだよ～");
inline const QString CancelHint = QStringLiteral("キャンセルすると、タイトルはそのままIEに挿入されます。");
inline const QString Confirm = QStringLiteral("修正完了(&K)");
inline const QString Cancel = QStringLiteral("キャンセル(&C)");
inline const QString CannotGoBack = QStringLiteral("これ以上戻せません");

} // namespace zk::listing::texts
