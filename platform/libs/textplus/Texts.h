#pragma once
// The description-append tool's own texts.
#include <QString>

namespace zk::textplus::texts {

inline const QString WindowTitle = QStringLiteral("説明文追加");
inline const QString StockLabel = QStringLiteral("登録済みの文章");
inline const QString TextLabel = QStringLiteral("追加する文章");
inline const QString Append = QStringLiteral("説明文に追加");
inline const QString Keep = QStringLiteral("登録");
inline const QString Remove = QStringLiteral("削除");
inline const QString Close = QStringLiteral("閉じる");
inline const QString Appended = QStringLiteral("説明文に追加しました。");
inline const QString NoBrowser = QStringLiteral("ブラウザに接続していません。");
inline const QString NoDescriptionName = QStringLiteral("FieldsDefine.iniに説明文の項目名(SHOUHIN_SETUMEI)がありません。");
inline const QString NoDescriptionField = QStringLiteral("表示中のページに説明文の入力欄がありません。");
inline const QString NotSaved = QStringLiteral("登録済みの文章を保存できませんでした。\n");
inline const QString Caption = QStringLiteral("説明文追加");
// Filled with the characters CP932 has not.
inline const QString NotInCp932 =
    QStringLiteral("CP932（Shift_JIS）で保存できない文字があります：%1\n登録済みの文章はUTF-8で保存し、この文字も残します。");

} // namespace zk::textplus::texts
