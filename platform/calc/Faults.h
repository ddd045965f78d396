#pragma once
// How failures of the office reach the workflows: as the automation errors of the system-error
// family. A lost or killed office gives a disconnection code, an office that cannot be reached
// at all "server unavailable", a refused call "call rejected"; anything else the office reports
// keeps its own message text.
#include "platform/AutomationError.h"

#include <QString>

namespace zk::calc {

namespace texts {
inline const QString Disconnected = QStringLiteral("表計算ソフトとの接続が切断されました。");
inline const QString Unavailable = QStringLiteral("表計算ソフトが起動していないか、応答しません。");
inline const QString Rejected = QStringLiteral("表計算ソフトが呼び出しを拒否しました。");
inline const QString PipeTaken =
    QStringLiteral("表計算ソフトとの接続口を別のプロセスが使っているため、接続しませんでした(表計算ソフトは終了しました): ");
inline const QString NotStarted = QStringLiteral("表計算ソフトを起動できませんでした: ");
inline const QString UnknownMember = QStringLiteral("名前が不明です: ");
inline const QString BadIndex = QStringLiteral("インデックスが無効です。");
inline const QString BadColorIndex = QStringLiteral("ColorIndex プロパティを設定できません。");
inline const QString BadAddress = QStringLiteral("セル範囲の指定が正しくありません: ");
inline const QString NoDocument = QStringLiteral("ブックが開かれていません。");
inline const QString BookClosed = QStringLiteral("ブックは既に閉じられています。");
inline const QString NoSelection = QStringLiteral("アクティブなセルがありません。");
inline const QString CannotOpen = QStringLiteral("ブックを開けませんでした(使用中か、壊れています): ");
inline const QString Protected = QStringLiteral("ブックにパスワードが設定されているため開けません: ");
inline const QString FileNotFound = QStringLiteral("ファイルが見つかりません: ");
inline const QString SheetNameInUse = QStringLiteral("その名前のシートは既にあります: ");
inline const QString LinksNotWritten = QStringLiteral("ハイパーリンクを書き込めませんでした: ");
} // namespace texts

namespace hresult {
constexpr uint32_t BadIndex = 0x8002000B; // an index out of range
}

// Inside a catch block: raises the exception being handled as an AutomationError. An
// AutomationError passes unchanged.
[[noreturn]] void rethrowAsAutomationError();

// Runs one call into the office with its failures translated.
template <class F>
auto translated(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (...) {
        rethrowAsAutomationError();
    }
}

} // namespace zk::calc
