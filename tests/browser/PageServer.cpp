#include "PageServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace zk::test {

PageServer::PageServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &PageServer::onConnection);
}

QString PageServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void PageServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto* buffer = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
            delete buffer;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const int headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0) return;
            int length = 0;
            for (const QByteArray& line : buffer->left(headerEnd).split('\n'))
                if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toInt();
            if (buffer->size() < headerEnd + 4 + length) return;
            const QByteArray request = buffer->left(headerEnd + 4 + length);
            buffer->remove(0, request.size());
            answer(socket, request);
        });
    }
}

void PageServer::answer(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    QString path = QString::fromLatin1(first.value(1));
    const QString bare = path.section('?', 0, 0);
    if (first.value(0) == "POST") posts_ << request;
    QByteArray body = pages_.value(bare, pages_.value(path));
    QByteArray status = "200 OK";
    if (!pages_.contains(bare) && !pages_.contains(path)) {
        status = "404 Not Found";
        body = "<html><body>not found</body></html>";
    }
    const QByteArray response = "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nCache-Control: no-store\r\n\r\n" + body;
    const int delay = delays_.value(bare, 0);
    QPointer<QTcpSocket> target(socket);
    auto send = [target, response] {
        if (target) target->write(response);
    };
    if (delay > 0) QTimer::singleShot(delay, this, send);
    else send();
}

} // namespace zk::test
