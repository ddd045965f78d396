#pragma once
// Every text the browser subsystem shows.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::browser::texts {

inline const QString WaitLimit = QStringLiteral("120秒以上は設定できません。");
inline const QString Timeout = QStringLiteral("タイムアウトです");
inline const QString WarningCaption = QStringLiteral("警告");
inline const QString Disconnected = QStringLiteral("ブラウザから切断されています。接続し直します。");
inline const QString OperationFailed = QStringLiteral("次のエラーによりブラウザの操作に失敗しました。\n\n");
inline const QString StartFailed = QStringLiteral("ブラウザの起動に失敗しました。");
inline const QString LoginFailed = QStringLiteral("自動ログインに失敗しました");
// Our own: why the login failed, after LoginFailed.
inline const QString LoginIdUnreadable = QStringLiteral(
    "System.ini の YAHOO_ID に Shift_JIS として読めない文字があります。IDを設定し直してください。");
inline const QString LoginAskedAgain =
    QStringLiteral("ログイン画面がもう一度表示されました。IDとパスワードを確認してください。");
inline const QString LoginPageNotReached = QStringLiteral("ログイン後のページが表示されませんでした: ");

// The site's end pages.
inline const QString WrongScreen = QStringLiteral("正しい画面で行って下さい。");
inline const QString NotCompletePage = QStringLiteral("出品完了ページが表示されていません。");
inline const QString NoBrowserData = QStringLiteral("ブラウザからデータの取得ができませんでした。");
inline const QString WrongPage = QStringLiteral("正しいページになっていません。");
inline const QString NoConfirmButton = QStringLiteral("確認ボタンが表示されません。表示されたら手動で行って下さい。");
// What those pages hold: names from the table of the site's pages.
inline const QString& AgreeButtonValue = site::AgreeButtonValue;
inline const QString& ItemPageLinkText = site::ItemPageLinkText;
inline const QString& ConfirmElement = site::ConfirmElement;

} // namespace zk::browser::texts

// The site check: the pages and elements the workflows rely on, found or not.
namespace zk::browser::texts::check {

inline const QString Button = QStringLiteral("サイト点検");
inline const QString Caption = QStringLiteral("サイト点検");
inline const QString AllHold = QStringLiteral("異常なし");
inline const QString ColumnPage = QStringLiteral("ページ");
inline const QString ColumnElement = QStringLiteral("要素");
inline const QString ColumnExpected = QStringLiteral("期待");
inline const QString ColumnFound = QStringLiteral("実際");
inline const QString Close = QStringLiteral("閉じる");
inline const QString Running = QStringLiteral("サイトを点検しています…");
// Its result at the head of a run's report, and the stop before anything is sent.
inline const QString HeadAllHold = QStringLiteral("サイト点検：異常なし（%1項目）");
inline const QString HeadHeldEarlier = QStringLiteral("サイト点検：この起動ですでに異常なしを確かめています");
inline const QString Moved = QStringLiteral("サイト点検で、Zerkonが使うページの要素が見つかりませんでした。何も送らずに止めました。\n\n");
inline const QString Unreachable = QStringLiteral("サイト点検で、サイトに接続またはログインできませんでした。何も送らずに止めました。\n\n");
inline const QString FindingLine = QStringLiteral("%1／%2：%3（期待：%4）");
// Standard output of the command line check.
inline const QString OutputHeader = QStringLiteral("ページ\t要素\t期待\t実際");
inline const QString OutputAllHold = QStringLiteral("異常なし：%1項目すべて見つかりました");
inline const QString OutputMoved = QStringLiteral("異常あり：%1項目が見つからないか、違っています");
inline const QString OutputUnreachable = QStringLiteral("サイトに接続またはログインできません：%1");

// The pages.
inline const QString PageLogin = QStringLiteral("ログイン画面");
inline const QString PageLoggedIn = QStringLiteral("ログイン状態");
inline const QString PageCategory = QStringLiteral("カテゴリの確認");
inline const QString PageItemForm = QStringLiteral("出品フォーム");
inline const QString PagePictures = QStringLiteral("画像登録");
inline const QString PageConfirmation = QStringLiteral("出品の確認");
inline const QString PageCompletion = QStringLiteral("出品の完了");
inline const QString PageSelling = QStringLiteral("出品中の一覧");
inline const QString PageUnsold = QStringLiteral("落札者なしの一覧");
inline const QString PageItem = QStringLiteral("商品ページ");
inline const QString PageRelist = QStringLiteral("再出品フォーム");
inline const QString PageSold = QStringLiteral("落札済みの一覧");

// What is expected, by how it is looked for (%1 the key).
inline const QString ExpectNamed = QStringLiteral("名前 %1 の要素");
inline const QString ExpectById = QStringLiteral("ID %1 の要素");
inline const QString ExpectValued = QStringLiteral("「%1」のボタン");
inline const QString ExpectLinkText = QStringLiteral("「%1」のリンク");
inline const QString ExpectLinkHref = QStringLiteral("アドレスに %1 を含むリンク");
inline const QString ExpectAddress = QStringLiteral("アドレスに %1");
inline const QString ExpectTitle = QStringLiteral("タイトルに「%1」");
inline const QString ExpectNoOther = QStringLiteral("%1 のほかに入力欄なし");
inline const QString ExpectAtLeast = QStringLiteral("（選択肢 %1 個以上）");
inline const QString ShapeText = QStringLiteral("入力欄");
inline const QString ShapeCheck = QStringLiteral("チェックボックス");
inline const QString ShapeRadio = QStringLiteral("ラジオボタン");
inline const QString ShapeList = QStringLiteral("リスト");
inline const QString ShapeFile = QStringLiteral("ファイル欄");
inline const QString ShapeButton = QStringLiteral("ボタン");
// What was found.
inline const QString FoundYes = QStringLiteral("あり");
inline const QString FoundNone = QStringLiteral("なし");
inline const QString FoundKind = QStringLiteral("%1（%2）");
inline const QString FoundOptions = QStringLiteral("選択肢 %1 個");
inline const QString FoundRadios = QStringLiteral("ボタン %1 個");
inline const QString FoundLinks = QStringLiteral("%1 個");
inline const QString FoundAddress = QStringLiteral("アドレス %1");
inline const QString FoundTitle = QStringLiteral("タイトル「%1」");
inline const QString FoundOtherInputs = QStringLiteral("ほかの入力欄：%1");
inline const QString NotVisited = QStringLiteral("送信しないと開けないため、開いていません");
inline const QString NoItemToShow = QStringLiteral("出品した商品がまだないため、開いていません");
inline const QString NoUnsoldToShow = QStringLiteral("落札者なしの商品がないため、開いていません");
// A list with no item: what it shows beside an item is not there to judge.
inline const QString EmptyNotChecked = QStringLiteral("空のため確かめていません");
// The lists found empty, after the verdict (%1 the lists, joined by ListJoin).
inline const QString EmptyLists = QStringLiteral("（%1は空のため確かめていません）");
inline const QString ListJoin = QStringLiteral("・");
inline const QString NotReached = QStringLiteral("開けませんでした：%1");
// The definition file's fields.
inline const QString ExpectDefined = QStringLiteral("FieldsDefine.ini の %1（%2）");
inline const QString ExpectIndex = QStringLiteral("FieldsDefine.ini の %1（%2、%3 番目を選ぶ）");
inline const QString FoundNotNumber = QStringLiteral("値 %1 が番号ではありません");
inline const QString FoundNoValue = QStringLiteral("値 %1 の選択肢なし（%2）");

} // namespace zk::browser::texts::check
