#pragma once
// How DevTools messages travel between us and the browser: a WebSocket to a debugging endpoint,
// or the pipe pair of a browser we started. One JSON message at a time, on the GUI thread.
#include <QByteArray>
#include <QObject>

namespace zk::chromium {

class DevToolsTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DevToolsTransport() override = default;

    virtual bool isOpen() const = 0;
    // Hands one message to the browser. A browser that is gone closes the transport (closed()
    // comes before this returns).
    virtual void sendMessage(const QByteArray& json) = 0;
    // Closes without emitting closed().
    virtual void close() = 0;

signals:
    void messageReceived(const QByteArray& json);
    // The browser's end went away.
    void closed();
};

} // namespace zk::chromium
