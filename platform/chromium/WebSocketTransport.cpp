#include "WebSocketTransport.h"

#include "ChromiumTexts.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QTimer>

namespace zk::chromium {

WebSocketTransport::WebSocketTransport() {
    socket_.setProxy(QNetworkProxy::NoProxy);
    socket_.setMaxAllowedIncomingMessageSize(256 * 1024 * 1024);
    connect(&socket_, &QWebSocket::textMessageReceived, this,
            [this](const QString& text) { emit messageReceived(text.toUtf8()); });
    connect(&socket_, &QWebSocket::disconnected, this, [this] {
        if (!open_) return;
        open_ = false;
        emit closed();
    });
}

WebSocketTransport::~WebSocketTransport() {
    socket_.disconnect(this);
    socket_.abort();
}

bool WebSocketTransport::open(const QUrl& url, int timeoutMs, QString* error) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool failed = false;
    QString reason;
    auto c1 = connect(&socket_, &QWebSocket::connected, &loop, &QEventLoop::quit);
    auto c2 = connect(&socket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), &loop, [&] {
        failed = true;
        reason = socket_.errorString();
        loop.quit();
    });
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    socket_.open(url);
    timer.start(timeoutMs);
    if (socket_.state() != QAbstractSocket::ConnectedState) loop.exec();
    disconnect(c1);
    disconnect(c2);
    open_ = !failed && socket_.state() == QAbstractSocket::ConnectedState;
    if (!open_) {
        if (error) *error = reason.isEmpty() ? texts::NoReply : reason;
        socket_.abort();
    }
    return open_;
}

void WebSocketTransport::sendMessage(const QByteArray& json) {
    if (open_) socket_.sendTextMessage(QString::fromUtf8(json));
}

void WebSocketTransport::close() {
    if (!open_) return;
    open_ = false;
    socket_.close();
}

} // namespace zk::chromium
