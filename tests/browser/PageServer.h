#pragma once
// A small HTTP server for the browser tests' own pages: fixed pages by path, a page that
// answers only after a delay, and the bodies of the requests it received.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>

namespace zk::test {

class PageServer : public QObject {
    Q_OBJECT
public:
    PageServer();
    QString url(const QString& path) const;
    void setPage(const QString& path, const QByteArray& html) { pages_[path] = html; }
    // A path whose answer comes after the given time.
    void setDelay(const QString& path, int ms) { delays_[path] = ms; }
    const QList<QByteArray>& posts() const { return posts_; }
    int port() const { return server_.serverPort(); }

private:
    void onConnection();
    void answer(QTcpSocket* socket, const QByteArray& request);

    QTcpServer server_;
    QHash<QString, QByteArray> pages_;
    QHash<QString, int> delays_;
    QList<QByteArray> posts_;
};

} // namespace zk::test
