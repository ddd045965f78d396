#pragma once
// One DevTools connection, over whichever transport reaches the browser, on the GUI thread. A call sends a command and runs
// a nested event loop until its reply, so the window stays alive meanwhile. Events are handed
// to the handlers in the order they arrive; handlers must not make calls of their own.
#include <QElapsedTimer>
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
    // the browser's message; a lost connection, a crashed page or a browser that stopped
    // answering (see answerBoundMs) raise the disconnection codes; a browser that still answers
    // but leaves this one command unanswered for timeoutMs raises the failure code.
    QJsonObject call(const QString& method, const QJsonObject& params = {}, const QString& sessionId = {},
                     int timeoutMs = 60000);
    // Sends a command without waiting; the reply, if wanted, comes to onReply (error replies too).
    void send(const QString& method, const QJsonObject& params = {}, const QString& sessionId = {},
              std::function<void(const QJsonObject& reply)> onReply = {});

    // The browser counts as hung when it leaves a probe unanswered this long: 20 s, or
    // ZERKON_BROWSER_CALL_TIMEOUT_MS. A page may keep one command waiting longer (a slow page
    // holds commands until it commits), so liveness is judged by a browser-level probe that
    // every wait sends, not by the command itself.
    static int answerBoundMs();
    // Called by every wait on the browser: keeps a probe going and, once one is overdue, ends the
    // connection as a hung browser (unresponsive(), then disconnected()). False once hung or closed.
    bool stillAnswering();

    void addEventHandler(EventHandler handler) { handlers_.push_back(std::move(handler)); }
    // Ends every waiting call of the session at once with this error (its page crashed or went).
    void abortSession(const QString& sessionId, uint32_t code, const QString& text);

signals:
    void disconnected();
    // The browser stopped answering; the connection has been ended. Emitted before disconnected().
    void unresponsive();

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
    void failAll(uint32_t code, const QString& text);
    void hang();

    std::unique_ptr<DevToolsTransport> transport_;
    bool open_ = false;
    int nextId_ = 1;
    QHash<int, std::shared_ptr<Pending>> pending_;
    std::vector<EventHandler> handlers_;
    // The outstanding liveness probe (invalid when none) and the last answer of one.
    QElapsedTimer probeSent_;
    QElapsedTimer lastAnswer_;
    QElapsedTimer overdueSeen_;
    bool heardFrom_ = false;
};

} // namespace zk::chromium
