#pragma once
// The texts of the column prompts and of the item-name collection.
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

// The item-name collection: the labels of the three lists, the question, the workbook's title
// and headers, and the messages.
inline const QString LabelCurrent = QStringLiteral("出品中");
inline const QString LabelSold = QStringLiteral("落札された");
inline const QString LabelUnsold = QStringLiteral("落札者無し");
inline const QString CollectQuestion = QStringLiteral("全件のタイトルを収集し、EXCELへ保存します。よろしいですか？");
inline const QString CollectCaption = QStringLiteral("確認");
inline const QString ListTitleSuffix = QStringLiteral("商品の一覧");
inline const QString HeaderPage = QStringLiteral("頁");
inline const QString HeaderPosition = QStringLiteral("頁内");
inline const QString HeaderId = QStringLiteral("商品ID");
inline const QString HeaderTitle = QStringLiteral("タイトル");
inline const QString HeaderUrl = QStringLiteral("URL");
inline const QString BrowserReadFailed = QStringLiteral("ブラウザからデータの取得ができませんでした。");
inline const QString WrongPage = QStringLiteral("正しいページになっていません。");
inline const QString Completed = QStringLiteral("収集が完了しました。");
// A run that ends early says which page ended it and what the file holds: the rows of every page
// before it (a page read only in part is left out), or the headers only.
inline const QString PageFailed = QStringLiteral("%1頁目の一覧をブラウザから取得できなかったため、収集を中断しました。\n");
inline const QString SaveFailed = QStringLiteral("次のエラーにより、エクセルへの保存に失敗したため、収集を中断しました。\n");
inline const QString SavedPages = QStringLiteral("ファイルには%1頁目までの%2件が保存されています。");
inline const QString SavedHeadersOnly = QStringLiteral("ファイルには見出しだけが保存されています。");
// The progress shown on the panel while the walk runs: page, items so far.
inline const QString Progress = QStringLiteral("収集中 %1頁 %2件");
inline const QString ProgressDone = QStringLiteral("収集 %1件");
// The price cell's text ends in this; the cut keeps what comes before it.
inline const QString YenSuffix = QStringLiteral(" 円");
// The item page's address part after the auction host.
inline const QString ItemPagePath = QStringLiteral("/jp/auction/");
inline const QString PageParameter = QStringLiteral("&apg=");

} // namespace zk::collect::texts
