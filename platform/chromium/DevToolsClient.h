#pragma once
// One DevTools connection, over whichever transport reaches the browser, on the GUI thread. A call sends a command and runs
// a nested event loop until its reply, so the window stays alive meanwhile. Events are handed
// to the handlers in the order they arrive; handlers must not make calls of their own.
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QEventLoop;

namespace zk::chromium {

class DevToolsTransport;

class DevToolsClient : public QObject {
    Q_OBJECT
public:
    using EventHandler = std::function<void(const QString& method, const QJsonObject& params, const QString& sessionId)>;

    explicit DevToolsClient(QObject* parent = nullptr);
    ~DevToolsClient() override;

    // Opens a WebSocket to a debugging endpoint; false with the reason when it cannot.
    bool open(const QUrl& url, int timeoutMs, QString* error);
    // Talks over a transport that is open already.
    void open(std::unique_ptr<DevToolsTransport> transport);
    void close();
    bool isOpen() const { return open_; }

    // Sends a command and waits for its reply. A protocol error raises the exception code with
    // the browser's message; a lost connection, a crashed page or no reply in time raise the
    // disconnection codes.
    QJsonObject call(const QString& method, const QJsonObject& params = {}, const QString& sessionId = {},
                     int timeoutMs = 60000);
    // Sends a command without waiting; the reply, if wanted, comes to onReply (error replies too).
    void send(const QString& method, const QJsonObject& params = {}, const QString& sessionId = {},
              std::function<void(const QJsonObject& reply)> onReply = {});

    void addEventHandler(EventHandler handler) { handlers_.push_back(std::move(handler)); }
    // Ends every waiting call of the session at once with this error (its page crashed or went).
    void abortSession(const QString& sessionId, uint32_t code, const QString& text);

signals:
    void disconnected();

private:
    struct Pending {
        QString sessionId;
        bool done = false;
        QJsonObject reply;
        uint32_t failure = 0;
        QString failureText;
        std::function<void(const QJsonObject&)> onReply;
        QEventLoop* loop = nullptr;
    };

    int post(const QString& method, const QJsonObject& params, const QString& sessionId);
    void onMessage(const QByteArray& text);
    void onClosed();
    void finish(int id, Pending& p);

    std::unique_ptr<DevToolsTransport> transport_;
    bool open_ = false;
    int nextId_ = 1;
    QHash<int, std::shared_ptr<Pending>> pending_;
    std::vector<EventHandler> handlers_;
};

} // namespace zk::chromium
