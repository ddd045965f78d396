#pragma once
// The texts of the column prompts and of the item-name collection.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::collect::texts {

inline const QString RowPrompt = QStringLiteral(
    "表計算で\n\n　１．シートを選択\n　２．先頭の商品名の行を選択\n　３．OKをクリック\n\n注：商品名はＢ列固定です。");
inline const QString RowPromptCaption = QStringLiteral("Cellの選択");
inline const QString PricePrompt = QStringLiteral(
    "表計算で開始価格のセルを選択してから、OKをクリックして下さい。\n(行は関係なく、列(A,B,C...)のみ記憶されます)\n"
    "即決価格は選択された開始価格の右横の列になります。\n\nZerkonの規定値や操作パネルの価格一時変更を\n"
    "使用する場合はキャンセルして下さい。");
inline const QString PricePromptCaption = QStringLiteral("開始価格Cellの選択");
inline const QString SheetFailure = QStringLiteral("表計算のシートが取得できませんでした");
inline const QString StartPriceHeader = QStringLiteral("開始価格");
inline const QString TextFormat = QStringLiteral("@");
inline const QString NumberFormatLocal = QStringLiteral("NumberFormatLocal");

// The item-name collection: the labels of the three lists, the question, the workbook's title
// and headers, and the messages.
inline const QString LabelCurrent = QStringLiteral("出品中");
inline const QString LabelSold = QStringLiteral("落札された");
inline const QString LabelUnsold = QStringLiteral("落札者無し");
inline const QString CollectQuestion = QStringLiteral("全件のタイトルを収集し、表計算へ保存します。よろしいですか？");
inline const QString CollectCaption = QStringLiteral("確認");
inline const QString ListTitleSuffix = QStringLiteral("商品の一覧");
inline const QString HeaderPage = QStringLiteral("頁");
inline const QString HeaderPosition = QStringLiteral("頁内");
inline const QString HeaderId = QStringLiteral("商品ID");
inline const QString HeaderTitle = QStringLiteral("タイトル");
inline const QString HeaderUrl = QStringLiteral("URL");
// The sold list's further columns.
inline const QString HeaderPrice = QStringLiteral("価格");
inline const QString HeaderBuyer = QStringLiteral("落札者");
inline const QString HeaderEndTime = QStringLiteral("終了日時");
// How the sold workbook shows prices and end times.
inline const QString PriceFormat = QStringLiteral("#,##0");
inline const QString EndTimeFormat = QStringLiteral("YYYY/MM/DD HH:MM");
inline const QString DayFormat = QStringLiteral("YYYY/MM/DD");
// The sold workbook's second sheet: the totals, the same by end day, and a chart of the days.
inline const QString SummarySheet = QStringLiteral("集計");
inline const QString SummaryTitleSuffix = QStringLiteral("商品の集計");
inline const QString SummaryCount = QStringLiteral("件数");
inline const QString SummaryTotal = QStringLiteral("合計金額");
inline const QString SummaryAverage = QStringLiteral("平均価格");
inline const QString SummaryDay = QStringLiteral("終了日");
inline const QString SummaryNoDay = QStringLiteral("終了日時なし");
inline const QString SummaryChart = QStringLiteral("日別落札金額");
inline const QString BrowserReadFailed = QStringLiteral("ブラウザからデータの取得ができませんでした。");
inline const QString WrongPage = QStringLiteral("正しいページになっていません。");
inline const QString Completed = QStringLiteral("収集が完了しました。");
// A run that ends early says which page ended it and what the file holds: the rows of every page
// before it (a page read only in part is left out), or the headers only.
inline const QString PageFailed = QStringLiteral("%1頁目の一覧をブラウザから取得できなかったため、収集を中断しました。\n");
inline const QString SaveFailed = QStringLiteral("%1 へ保存できなかったため、収集を中断しました。\n");
inline const QString SavedPages = QStringLiteral("ファイルには%1頁目までの%2件が保存されています。");
inline const QString SavedHeadersOnly = QStringLiteral("ファイルには見出しだけが保存されています。");
// What the office said of a failed save follows on lines of its own.
inline const QString OfficeSaid = QStringLiteral("\n\n表計算からのエラー:\n");
// A documents folder that is named but cannot be made or written: nothing is collected, and
// nothing goes elsewhere.
inline const QString FolderUnusable = QStringLiteral("保存先のフォルダ %1 を作成できないか、書き込みできないため、収集できません。\n"
                                                     "フォルダを確かめてから、もう一度お試しください。");
// The end of a whole run names the file and offers to show it.
inline const QString SavedAs = QStringLiteral("\n\n保存したファイル: %1\n\nこのファイルを開きますか？");
inline const QString SavedIn = QStringLiteral("\nファイル: %1");
inline const QString CannotShow = QStringLiteral("%1 を開くプログラムを起動できませんでした。");
// Which workbook the panel works on after a run: the seller's own again, or the collection's.
inline const QString OpenBook = QStringLiteral("　表計算: %1");
inline const QString ReopenFailed = QStringLiteral("次のエラーにより、収集の前に開いていた %1 を開き直せませんでした。\n\n");
// The row prompt on a workbook a collection made asks before anything is written to it.
inline const QString CollectionBookQuestion = QStringLiteral(
    "開いている %1 は商品名収集で作ったファイルです。\nこのファイルを出品に使いますか？");
// The progress shown on the panel while the walk runs: page, items so far.
inline const QString Progress = QStringLiteral("収集中 %1頁 %2件");
inline const QString ProgressDone = QStringLiteral("収集 %1件");
// The price cell's text ends in this; the cut keeps what comes before it.
inline const QString YenSuffix = QStringLiteral(" 円");
// The item page's address part after the auction host.
inline const QString& ItemPagePath = browser::site::ItemPagePath;
inline const QString PageParameter = QStringLiteral("&apg=");

} // namespace zk::collect::texts
