#pragma once
// Every text the browser subsystem shows.
#include <QString>

namespace zk::browser::texts {

inline const QString WaitLimit = QStringLiteral("120秒以上は設定できません。");
inline const QString Timeout = QStringLiteral("タイムアウトです");
inline const QString WarningCaption = QStringLiteral("警告");
inline const QString Disconnected = QStringLiteral("Internet Explorerから切断されています。接続し直します。");
inline const QString OperationFailed = QStringLiteral("次のエラーによりInternet Explorerの操作に失敗しました。\n\n");
inline const QString StartFailed = QStringLiteral("Internet Explorerの起動に失敗しました。");
inline const QString LoginFailed = QStringLiteral("自動ログインに失敗しました");

} // namespace zk::browser::texts
