#pragma once
// Every text the browser subsystem shows.
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
// What those pages hold.
inline const QString AgreeButtonValue = QStringLiteral("利用規約とガイドラインに同意して出品する");
inline const QString ItemPageLinkText = QStringLiteral("このオークションの商品ページを見る");
inline const QString ConfirmElement = QStringLiteral("auc_insertion_ok");

} // namespace zk::browser::texts
