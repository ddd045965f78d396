#pragma once
// DevTools over a WebSocket: a browser that the seller started with a debugging endpoint.
#include "DevToolsTransport.h"

#include <QUrl>
#include <QWebSocket>

namespace zk::chromium {

class WebSocketTransport : public DevToolsTransport {
    Q_OBJECT
public:
    WebSocketTransport();
    ~WebSocketTransport() override;

    // Opens the socket within the time given; false with the reason when it cannot.
    bool open(const QUrl& url, int timeoutMs, QString* error);
    bool isOpen() const override { return open_; }
    void sendMessage(const QByteArray& json) override;
    void close() override;

private:
    QWebSocket socket_;
    bool open_ = false;
};

} // namespace zk::chromium
