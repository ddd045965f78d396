#pragma once
// The texts of the column prompts.
#include <QString>

namespace zk::collect::texts {

inline const QString RowPrompt = QStringLiteral(
    "Excelで\n\n　１．シートを選択\n　２．先頭の商品名の行を選択\n　３．OKをクリック\n\n注：商品名はＢ列固定です。");
inline const QString RowPromptCaption = QStringLiteral("Cellの選択");
inline const QString PricePrompt = QStringLiteral(
    "Excelで開始価格のセルを選択してから、OKをクリックして下さい。\n(行は関係なく、列(A,B,C...)のみ記憶されます)\n"
    "即決価格は選択された開始価格の右横の列になります。\n\nZerkonの規定値や操作パネルの価格一時変更を\n"
    "使用する場合はキャンセルして下さい。");
inline const QString PricePromptCaption = QStringLiteral("開始価格Cellの選択");
inline const QString SheetFailure = QStringLiteral("Excelのシートが取得できませんでした");
inline const QString StartPriceHeader = QStringLiteral("開始価格");
inline const QString TextFormat = QStringLiteral("@");
inline const QString NumberFormatLocal = QStringLiteral("NumberFormatLocal");

} // namespace zk::collect::texts
