#pragma once
// DevTools over the pipe pair of a browser we start: the browser reads our messages on its file
// descriptor 3 and writes its own on 4, each message followed by one NUL byte. Nothing listens,
// so no other user or program on the machine can reach the browser.
//
// Use: construct, start the browser with placeChildEnds() run in the child between fork and
// exec, then childStarted() in the parent.
#include "DevToolsTransport.h"

#include <QString>
#include <deque>

class QSocketNotifier;

namespace zk::chromium {

class PipeTransport : public DevToolsTransport {
    Q_OBJECT
public:
    PipeTransport();
    ~PipeTransport() override;

    // False (with the reason) when the pipes could not be made.
    bool valid() const { return toBrowser_[1] >= 0; }
    QString errorString() const { return error_; }

    // In the child before exec: the browser's ends at exactly 3 and 4, inherited by the
    // program. Only async-signal-safe calls.
    void placeChildEnds() const;
    // In the parent once the child runs: drops our copies of its ends (so that its exit reads
    // as the end of the stream) and starts serving ours.
    void childStarted();

    bool isOpen() const override { return open_; }
    void sendMessage(const QByteArray& json) override;
    void close() override;

private:
    void readAvailable();
    void writePending();
    void lost();

    int toBrowser_[2] = {-1, -1};   // the browser reads [0] as fd 3; we write [1]
    int fromBrowser_[2] = {-1, -1}; // the browser writes [1] as fd 4; we read [0]
    QString error_;
    bool open_ = false;
    QSocketNotifier* readable_ = nullptr;
    QSocketNotifier* writable_ = nullptr;
    QByteArray received_;   // bytes of a message not yet complete
    qsizetype scanned_ = 0; // of received_, searched for the terminator already
    QByteArray unsent_;     // what the pipe had no room for yet
    std::deque<QByteArray> inbox_;
};

} // namespace zk::chromium
