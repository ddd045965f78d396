#include "DevToolsClient.h"

#include "ChromiumTexts.h"
#include "WebSocketTransport.h"
#include "platform/AutomationError.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>

namespace zk::chromium {

DevToolsClient::DevToolsClient(QObject* parent) : QObject(parent) {}

DevToolsClient::~DevToolsClient() {
    // Waiting calls must not outlive the connection.
    for (auto& p : pending_) {
        p->failure = hresult::Disconnected;
        p->failureText = texts::Disconnected;
        p->done = true;
        if (p->loop) p->loop->quit();
    }
    if (transport_) {
        transport_->disconnect(this);
        transport_->close();
    }
}

bool DevToolsClient::open(const QUrl& url, int timeoutMs, QString* error) {
    auto socket = std::make_unique<WebSocketTransport>();
    if (!socket->open(url, timeoutMs, error)) return false;
    open(std::move(socket));
    return true;
}

void DevToolsClient::open(std::unique_ptr<DevToolsTransport> transport) {
    if (transport_) {
        transport_->disconnect(this);
        transport_->close();
    }
    transport_ = std::move(transport);
    heardFrom_ = false;
    probeSent_.invalidate();
    lastAnswer_.invalidate();
    connect(transport_.get(), &DevToolsTransport::messageReceived, this, &DevToolsClient::onMessage);
    connect(transport_.get(), &DevToolsTransport::closed, this, &DevToolsClient::onClosed);
    open_ = transport_->isOpen();
}

void DevToolsClient::close() {
    if (!open_) return;
    if (transport_) transport_->close();
    onClosed();
}

int DevToolsClient::post(const QString& method, const QJsonObject& params, const QString& sessionId) {
    const int id = nextId_++;
    QJsonObject message{{"id", id}, {"method", method}};
    if (!params.isEmpty()) message.insert("params", params);
    if (!sessionId.isEmpty()) message.insert("sessionId", sessionId);
    transport_->sendMessage(QJsonDocument(message).toJson(QJsonDocument::Compact));
    return id;
}

namespace {
// How often a waiting call looks at the probe, and how long after the last answer the next probe
// goes out.
constexpr int kWatchTickMs = 250;
constexpr int kProbeEveryMs = 1000;
constexpr int kDefaultAnswerBoundMs = 20000;
} // namespace

int DevToolsClient::answerBoundMs() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("ZERKON_BROWSER_CALL_TIMEOUT_MS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : kDefaultAnswerBoundMs;
}

bool DevToolsClient::stillAnswering() {
    if (!open_) return false;
    // A browser still starting is judged by its first command's own time limit.
    if (!heardFrom_) return true;
    if (probeSent_.isValid()) {
        if (probeSent_.elapsed() <= answerBoundMs()) return true;
        // Overdue. This thread may have been busy elsewhere (an office call) while the answer
        // came: only a probe still unanswered after the events have been served again is a
        // hung browser.
        if (!overdueSeen_.isValid()) overdueSeen_.start();
        if (overdueSeen_.elapsed() < kWatchTickMs) return true;
        hang();
        return false;
    }
    if (lastAnswer_.isValid() && lastAnswer_.elapsed() < kProbeEveryMs) return true;
    probeSent_.start();
    overdueSeen_.invalidate();
    send("Browser.getVersion", {}, {}, [this](const QJsonObject& reply) {
        probeSent_.invalidate();
        if (reply.contains("id")) lastAnswer_.start(); // not a probe ended by a closed connection
    });
    return true;
}

void DevToolsClient::hang() {
    if (!open_) return;
    open_ = false;
    probeSent_.invalidate();
    if (transport_) {
        transport_->disconnect(this);
        transport_->close();
    }
    // The calls in flight end as with a lost browser: the reconnect rule is what mends a hung one.
    failAll(hresult::Disconnected, texts::NoReply);
    emit unresponsive();
    emit disconnected();
}

QJsonObject DevToolsClient::call(const QString& method, const QJsonObject& params, const QString& sessionId,
                                 int timeoutMs) {
    if (!open_) throw AutomationError(hresult::Disconnected, texts::Disconnected);
    auto p = std::make_shared<Pending>();
    p->sessionId = sessionId;
    // Registered before it is sent: a browser found gone while sending ends this call too.
    const int id = nextId_;
    pending_.insert(id, p);
    post(method, params, sessionId);
    if (!p->done) {
        QEventLoop loop;
        QTimer tick;
        QElapsedTimer waited;
        waited.start();
        connect(&tick, &QTimer::timeout, &loop, [&] {
            // A hung browser ends every call (this one too) through hang().
            if (stillAnswering() && waited.elapsed() >= timeoutMs) loop.quit();
        });
        tick.start(qMin(kWatchTickMs, qMax(1, timeoutMs)));
        p->loop = &loop;
        loop.exec();
        p->loop = nullptr;
    }
    pending_.remove(id);
    if (!p->done) throw AutomationError(hresult::Fail, texts::NoReply);
    if (p->failure) throw AutomationError(p->failure, p->failureText);
    if (p->reply.contains("error")) {
        const QJsonObject error = p->reply.value("error").toObject();
        throw AutomationError(hresult::Exception, error.value("message").toString());
    }
    return p->reply.value("result").toObject();
}

void DevToolsClient::send(const QString& method, const QJsonObject& params, const QString& sessionId,
                          std::function<void(const QJsonObject&)> onReply) {
    if (!open_) return;
    if (onReply) {
        auto p = std::make_shared<Pending>();
        p->sessionId = sessionId;
        p->onReply = std::move(onReply);
        pending_.insert(nextId_, p);
    }
    post(method, params, sessionId);
}

void DevToolsClient::finish(int id, Pending& p) {
    p.done = true;
    if (p.loop) p.loop->quit();
    if (p.onReply) {
        auto handler = std::move(p.onReply);
        pending_.remove(id);
        handler(p.reply);
    }
}

void DevToolsClient::onMessage(const QByteArray& text) {
    heardFrom_ = true;
    const QJsonObject message = QJsonDocument::fromJson(text).object();
    if (message.contains("id")) {
        const int id = message.value("id").toInt();
        auto it = pending_.find(id);
        if (it == pending_.end()) return;
        std::shared_ptr<Pending> p = *it;
        p->reply = message;
        finish(id, *p);
        return;
    }
    const QString method = message.value("method").toString();
    const QJsonObject params = message.value("params").toObject();
    const QString sessionId = message.value("sessionId").toString();
    for (const EventHandler& handler : handlers_) handler(method, params, sessionId);
}

void DevToolsClient::abortSession(const QString& sessionId, uint32_t code, const QString& text) {
    const auto ids = pending_.keys();
    for (int id : ids) {
        auto it = pending_.find(id);
        if (it == pending_.end() || (*it)->sessionId != sessionId) continue;
        std::shared_ptr<Pending> p = *it;
        p->failure = code;
        p->failureText = text;
        finish(id, *p);
    }
}

void DevToolsClient::failAll(uint32_t code, const QString& text) {
    const auto ids = pending_.keys();
    for (int id : ids) {
        auto it = pending_.find(id);
        if (it == pending_.end()) continue;
        std::shared_ptr<Pending> p = *it;
        p->failure = code;
        p->failureText = text;
        p->reply = QJsonObject{{"error", QJsonObject{{"message", text}}}};
        finish(id, *p);
    }
}

void DevToolsClient::onClosed() {
    if (!open_ && pending_.isEmpty()) return;
    open_ = false;
    probeSent_.invalidate();
    // Calls in flight lose their server; later calls find the object disconnected.
    failAll(hresult::ServerUnavailable, texts::ServerUnavailable);
    emit disconnected();
}

} // namespace zk::chromium
