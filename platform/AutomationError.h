#pragma once
// The failure of a call into a driven application (browser or spreadsheet), carrying the
// HRESULT-style code and text that the workflows show and test.
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace zk {

namespace hresult {
constexpr uint32_t Disconnected = 0x80010108;      // the object's process has gone
constexpr uint32_t ServerUnavailable = 0x800706BA; // the RPC server is unavailable
constexpr uint32_t CallRejected = 0x80010001;      // busy, e.g. a cell is being edited
constexpr uint32_t Exception = 0x80020009;         // an exception in the called object
constexpr uint32_t UnknownName = 0x80020006;
constexpr uint32_t TypeMismatch = 0x80020005;
constexpr uint32_t Fail = 0x80004005;
} // namespace hresult

class AutomationError : public std::runtime_error {
public:
    AutomationError(uint32_t code, const QString& text)
        : std::runtime_error(text.toStdString()), code_(code), text_(text) {}
    uint32_t code() const { return code_; }
    const QString& text() const { return text_; }
    // The process behind the object has gone: the reconnect rule applies.
    bool isDisconnection() const { return code_ == hresult::Disconnected || code_ == hresult::ServerUnavailable; }

private:
    uint32_t code_;
    QString text_;
};

} // namespace zk
