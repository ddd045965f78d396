#pragma once
// The relisting workflow's texts.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::relist::texts {

inline const QString SetClosing = QStringLiteral("終了日／終了時刻をセットしてください");
inline const QString NoData = QStringLiteral("ブラウザからデータの取得ができませんでした。");
inline const QString WrongPage = QStringLiteral("正しいページになっていません。");
inline const QString FromItemPage = QStringLiteral("商品個別の再出品ページから行って下さい。");
inline const QString MoveFailed = QStringLiteral("出品確認画面への移行に失敗しました。");
inline const QString NotRelistPage = QStringLiteral("再出品画面でない画面が表示されています。");
inline const QString NoUnsoldPage = QStringLiteral("落札者無しページに切り替わりません。");
inline const QString& EntryTitle = browser::site::EntryTitle;

inline const QString PricesEntered =
    QStringLiteral("開始価格/即決価格が入力されています。\n全てこの価格で再出品されます。続行しますか？");
inline const QString ContinueCaption = QStringLiteral("続行確認");
inline const QString NotUnsoldList = QStringLiteral("[出品終了分]の[落札者無し]ページで行って下さい");
inline const QString NothingToRelist = QStringLiteral("落札者無しの商品がないため、再出品するものはありません。");
inline const QString ConfirmCaption = QStringLiteral("確認");
inline const QString RelistTicked = QStringLiteral("チェックされた項目の再出品処理を行います。よろしいですか？");
inline const QString RelistAll = QStringLiteral("全件の再出品処理を行います。よろしいですか？");
inline const QString RelistFiltered = QStringLiteral("を含むタイトルの再出品処理を行います。よろしいですか？");
inline const QString AllDone =
    QStringLiteral("全ての再出品が終了しました。\n\n残っているものは,既に出品されているか\n再出品に失敗したものです。");
// How far a bulk relist is, on the panel while it runs.
inline const QString Progress = QStringLiteral("%1巡目　試行 %2件　再出品 %3件　スキップ %4件　失敗 %5件");
// The bulk run's end, under the message above: what it did and where each relist is written.
inline const QString AllDoneCounts = QStringLiteral("\n\n試行 %1件　再出品 %2件　スキップ %3件　失敗 %4件");
// Items the run took that it left: stopped before their turn, or no longer on the list.
inline const QString AllDoneStopped = QStringLiteral("\n停止したため再出品しなかったもの %1件");
inline const QString AllDoneMissing = QStringLiteral("\n一覧に見つからなかったもの %1件");
inline const QString AllDoneLog = QStringLiteral("\n再出品ログ：%1");
// A single relist that the site completed.
inline const QString RelistedAs = QStringLiteral("再出品しました。\n%1 → 新しいオークションID：%2");

// The step-down of the price panel ("値下げ").
inline const QString StepDownChoice = QStringLiteral("値下げ");
inline const QString StepPercent = QStringLiteral("％");
inline const QString StepYen = QStringLiteral("円");
inline const QString FloorFromColumn = QStringLiteral("最低価格列");
inline const QString AtFloorRelist = QStringLiteral("下限で出品");
inline const QString AtFloorSkip = QStringLiteral("下限はスキップ");
inline const QString BuyNowKeep = QStringLiteral("即決も下げる");
inline const QString BuyNowDrop = QStringLiteral("即決なし");
inline const QString StepTip = QStringLiteral("値下げ幅（％または円）");
inline const QString FloorTip = QStringLiteral("下限価格（円）");
inline const QString NoStep = QStringLiteral("値下げ幅を入力してください。");
inline const QString StepOutOfRange =
    QStringLiteral("値下げ幅が正しくありません。％は0より大きく100未満（小数2桁まで）、円は1以上の整数で入力してください。");
inline const QString BadFloor = QStringLiteral("下限価格は1以上の整数（円）で入力してください。");
inline const QString NoConfirm = QStringLiteral("確認ボタンが表示されませんでした");
inline const QString NotCompleted = QStringLiteral("サイトの完了画面が表示されませんでした");
inline const QString RelistInDoubt = QStringLiteral("サイトの応答が読めませんでした。次の操作の前にサイトで確かめます");
inline const QString StartPriceUnread = QStringLiteral("再出品画面の開始価格を読めませんでした。");

// The check before a bulk run.
inline const QString CheckCaption = QStringLiteral("一括再出品の事前チェック");
inline const QString CheckIntro = QStringLiteral("%1件のうち %2件を再出品します。%3件はスキップします。");
inline const QString CheckNothing = QStringLiteral("%1件のどれも再出品しません。");
inline const QString CheckColumnId = QStringLiteral("オークションID");
inline const QString CheckColumnTitle = QStringLiteral("商品名");
inline const QString CheckColumnOld = QStringLiteral("現在の開始価格");
inline const QString CheckColumnNew = QStringLiteral("新しい開始価格");
inline const QString CheckColumnNote = QStringLiteral("備考");
// One item of the check as text: ID, title, price now, new price, note.
inline const QString CheckLineText = QStringLiteral("%1「%2」 %3 → %4 %5");
inline const QString Continue = QStringLiteral("続行");
inline const QString Abort = QStringLiteral("中止");
inline const QString NoteLowered = QStringLiteral("値下げ");
inline const QString NoteToFloor = QStringLiteral("下限価格（%1円）まで値下げ");
inline const QString NoteAtFloor = QStringLiteral("下限価格（%1円）で再出品");
inline const QString NoteSkipFloor = QStringLiteral("下限価格（%1円）に達しているためスキップ");
inline const QString NoteNoPrice = QStringLiteral("開始価格が読めないため再出品時に判定");
inline const QString NoteOwnFloor = QStringLiteral("（最低価格列）");
inline const QString NoteBuyNowDropped = QStringLiteral("即決価格は削除");

// The relist log, beside the listing log in the documents folder.
inline const QString LogName = QStringLiteral("%1再出品ログ.csv");
inline const QString LogHeader = QStringLiteral("日時,旧オークションID,新オークションID,商品名,旧開始価格,旧即決価格,新開始価格,新即決価格,結果,理由");
inline const QString ResultRelisted = QStringLiteral("再出品");
inline const QString ResultSkipped = QStringLiteral("スキップ");
inline const QString ResultFailed = QStringLiteral("失敗");
inline const QString ResultInDoubt = QStringLiteral("確認中");
inline const QString LogUnwritable = QStringLiteral("再出品ログ（%1）に書き込めません：%2");
inline const QString DocumentsNotMade = QStringLiteral("書類フォルダを作成できません");
inline const QString DocumentsReadOnly = QStringLiteral("書類フォルダに書き込みできません");

} // namespace zk::relist::texts
