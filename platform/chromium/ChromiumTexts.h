#pragma once
// Texts of the browser layer: the error texts that reach the user through the workflows'
// messages, and the file chooser window.
#include <QString>

namespace zk::chromium::texts {

inline const QString Disconnected = QStringLiteral("オブジェクトがクライアントから切断されました。");
inline const QString ServerUnavailable = QStringLiteral("RPC サーバーを利用できません。");
inline const QString PageCrashed = QStringLiteral("ページのプロセスが異常終了しました。");
inline const QString NoReply = QStringLiteral("ブラウザーから応答がありません。");
inline const QString UnknownName = QStringLiteral("名前が不明です。");
inline const QString ExceptionPrefix = QStringLiteral("例外が発生しました。");
inline const QString TypeMismatch = QStringLiteral("型が一致しません。");
inline const QString ObjectRequired = QStringLiteral("オブジェクトが必要です。");
inline const QString LaunchFailed = QStringLiteral("ブラウザーを起動できませんでした: ");
inline const QString DebugArgumentRefused = QStringLiteral(
    "System.ini の [BROWSER] ARGUMENTS にある %1 は使えません。デバッグ用のポートは、このコンピューターの"
    "他のユーザーやプログラムにもブラウザーを操作させ、ログイン中のページを読ませてしまいます。"
    "ARGUMENTS から取り除いてください（既に起動したブラウザーにつなぐ方法は README の DEBUG_ENDPOINT を参照）。");
// A running browser that would not open the tab of our own that a check works in.
inline const QString OwnTabRefused = QStringLiteral("ブラウザーに作業用のタブを開けませんでした（開いているタブは使いません）: ");
// Written to the error output when a browser is started by root.
inline const QString SandboxOffAsRoot =
    QStringLiteral("Zerkon is running as root: the browser it starts runs without Chromium's sandbox.");

inline const QString FileChooserTitle = QStringLiteral("アップロードするファイルの選択");
inline const QString FileNameLabel = QStringLiteral("ファイル名(&N):");
inline const QString OpenButton = QStringLiteral("開く(&O)");
inline const QString CancelButton = QStringLiteral("キャンセル");
inline const QString FileNotFound = QStringLiteral("ファイルが見つかりません。ファイル名を確認してください。");

} // namespace zk::chromium::texts
