#include "ChromiumBrowser.h"

#include "BrowserFolders.h"
#include "BrowserWindow.h"
#include "ChromiumTexts.h"
#include "FileChooserWindow.h"
#include "PageObject.h"
#include "PageScript.h"
#include "PipeTransport.h"
#include "platform/AutomationError.h"
#include "platform/Processes.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace zk::chromium {

namespace {

constexpr int kLaunchTimeoutMs = 30000;
constexpr int kCloseTimeoutMs = 5000;
// A requested navigation that never started (a download, a cancelled one) stops counting.
constexpr int kRequestedNavigationLimitMs = 5000;

enum class HttpResult { Ok, Refused, Failed };

HttpResult httpGetJson(const QUrl& url, QJsonDocument* out, QString* error) {
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setTransferTimeout(5000);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    const auto code = reply->error();
    const QByteArray body = reply->readAll();
    const QString reason = reply->errorString();
    reply->deleteLater();
    if (code == QNetworkReply::ConnectionRefusedError || code == QNetworkReply::HostNotFoundError)
        return HttpResult::Refused;
    if (code != QNetworkReply::NoError) {
        if (error) *error = reason;
        return HttpResult::Failed;
    }
    QJsonParseError parse;
    *out = QJsonDocument::fromJson(body, &parse);
    if (parse.error != QJsonParseError::NoError) {
        if (error) *error = parse.errorString();
        return HttpResult::Failed;
    }
    return HttpResult::Ok;
}

QJsonValue toJson(const QVariant& v) {
    if (v.isNull() && v.metaType().id() == QMetaType::Nullptr) return QJsonValue(QJsonValue::Null);
    return QJsonValue::fromVariant(v);
}

QJsonArray toJsonArgs(const QVariantList& args) {
    QJsonArray a;
    for (const QVariant& v : args) a.append(toJson(v));
    return a;
}

} // namespace

ChromiumBrowser::ChromiumBrowser() {
    const QString key = "__zk" + QUuid::createUuid().toString(QUuid::Id128);
    scriptKeyJson_ = "'" + key + "'";
    client_.addEventHandler([this](const QString& m, const QJsonObject& p, const QString& s) { onEvent(m, p, s); });
    connect(&client_, &DevToolsClient::disconnected, this, [this] {
        detached_ = true;
        navigationsPending_ = 0;
        navigationRequested_ = loading_ = false;
    });
    // A hung browser of ours is ended, by its own process id (SIGKILL reaches a stopped one too),
    // so that the reconnect rule can start a new one on the same profile.
    connect(&client_, &DevToolsClient::unresponsive, this, [this] {
        hung_ = true;
        if (process_ && process_->state() != QProcess::NotRunning) process_->kill();
    });
}

ChromiumBrowser::~ChromiumBrowser() {
    if (chooser_) chooser_->abandon();
    window_.reset();
    // A tab of ours in the seller's browser goes with us, however we end.
    if (ownTab_ && !detached_ && client_.isOpen()) closeOwnTab();
    if (process_ && process_->state() != QProcess::NotRunning && alive()) {
        try {
            client_.call("Browser.close", {}, {}, kCloseTimeoutMs);
        } catch (const AutomationError&) {
            // Gone already, or going: the process is ended below either way.
        }
    }
    stopProcess();
}

bool ChromiumBrowser::connectTo(const QUrl& browserUrl, QString* error) {
    return client_.open(browserUrl, 10000, error);
}

std::shared_ptr<ChromiumBrowser> ChromiumBrowser::attach(const BrowserSettings& settings, QString* error) {
    if (error) error->clear();
    if (settings.debugEndpoint.isEmpty()) return nullptr;
    const QString endpoint = settings.debugEndpoint.contains("://") ? settings.debugEndpoint
                                                                    : "http://" + settings.debugEndpoint;
    const QUrl base(endpoint);
    QJsonDocument version;
    const HttpResult r = httpGetJson(base.resolved(QUrl("/json/version")), &version, error);
    if (r == HttpResult::Refused) return nullptr;
    if (r == HttpResult::Failed) return nullptr;
    // The program behind the endpoint must be the configured one, as far as we can see it.
    const QString host = base.host().toLower();
    const bool local = host == "127.0.0.1" || host == "localhost" || host == "::1" || host == "[::1]";
    const QString exe = local ? processes::executableHolding(processes::listeningTcpSockets(base.port(9222))) : QString();
    const QString name = settings.programName();
    if (!exe.isEmpty()) {
        if (!exe.toUpper().endsWith(name)) return nullptr;
    } else if (!version.object().value("Browser").toString().contains("Chrome")) {
        return nullptr;
    }
    std::shared_ptr<ChromiumBrowser> b(new ChromiumBrowser);
    b->programPath_ = exe;
    QUrl ws(version.object().value("webSocketDebuggerUrl").toString());
    ws.setHost(base.host());
    ws.setPort(base.port(9222));
    if (!b->connectTo(ws, error)) return nullptr;
    if (settings.ownTab) {
        // Opened behind the seller's tabs, so that none of them loses the front either.
        QString page;
        try {
            page = b->browserCall("Target.createTarget", {{"url", "about:blank"}, {"background", true}})
                       .value("targetId")
                       .toString();
        } catch (const AutomationError& e) {
            if (error) *error = texts::OwnTabRefused + e.text();
            return nullptr;
        }
        if (page.isEmpty()) {
            if (error) *error = texts::OwnTabRefused + texts::NoReply;
            return nullptr;
        }
        b->ownTab_ = true;
        if (!b->attachPage(page, error)) {
            b->closeOwnTab();
            return nullptr;
        }
        return b;
    }
    // The endpoint lists the newest page first: it stands for the highest index.
    QJsonDocument list;
    if (httpGetJson(base.resolved(QUrl("/json/list")), &list, error) != HttpResult::Ok) {
        if (error && error->isEmpty()) *error = texts::NoReply;
        return nullptr;
    }
    for (const QJsonValue& v : list.array()) {
        const QJsonObject t = v.toObject();
        if (t.value("type").toString() != "page" || t.value("url").toString().startsWith("devtools://")) continue;
        if (!b->attachPage(t.value("id").toString(), error)) return nullptr;
        return b;
    }
    return nullptr;
}

std::shared_ptr<ChromiumBrowser> ChromiumBrowser::launch(const BrowserSettings& settings, QString* error) {
    const QString refused = settings.refusedArgument();
    if (!refused.isEmpty()) {
        if (error) *error = texts::DebugArgumentRefused.arg(refused);
        return nullptr;
    }
    const QString folder = settings.profileFolder;
    // The seller's cookies and logins live here: no one else may read them.
    for (const QString& sub : {QString(), QStringLiteral("/profile"), QStringLiteral("/profile/Default"),
                               QStringLiteral("/home"), QStringLiteral("/config"), QStringLiteral("/cache")}) {
        if (!makeOwnerOnlyFolder(folder + sub)) {
            if (error) *error = texts::LaunchFailed + folder + sub;
            return nullptr;
        }
    }
    // Left by an earlier version that opened a debugging port.
    QFile::remove(folder + "/profile/DevToolsActivePort");
    // A new profile asks nothing: no offer to save the site's password over the page. Complete
    // on disk before the browser starts reading it, or the browser takes the profile as broken.
    const QString preferences = folder + "/profile/Default/Preferences";
    if (!QFileInfo::exists(preferences)
        && !writeOwnerOnlyFile(preferences, R"({"credentials_enable_service":false,"profile":{"password_manager_enabled":false}})")) {
        if (error) *error = texts::LaunchFailed + preferences;
        return nullptr;
    }
    const QString log = folder + "/browser.log";
    const bool asRoot = ::geteuid() == 0;
    // Said where the browser's own output goes, and on ours.
    if (asRoot) qWarning().noquote() << texts::SandboxOffAsRoot;
    if (!writeOwnerOnlyFile(log, asRoot ? texts::SandboxOffAsRoot.toUtf8() + '\n' : QByteArray())) {
        if (error) *error = texts::LaunchFailed + log;
        return nullptr;
    }

    std::shared_ptr<ChromiumBrowser> b(new ChromiumBrowser);
    b->temp_ = std::make_unique<BrowserTempFolder>();
    QString reason;
    if (!b->temp_->create(qEnvironmentVariable("XDG_RUNTIME_DIR"), &reason)) {
        if (error) *error = texts::LaunchFailed + reason;
        return nullptr;
    }
    // The DevTools messages go through a pipe pair that only the browser holds: no port.
    auto pipe = std::make_unique<PipeTransport>();
    if (!pipe->valid()) {
        if (error) *error = texts::LaunchFailed + pipe->errorString();
        return nullptr;
    }
    b->process_ = new QProcess(b.get());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", folder + "/home");
    env.insert("XDG_CONFIG_HOME", folder + "/config");
    env.insert("XDG_CACHE_HOME", folder + "/cache");
    env.insert("TMPDIR", b->temp_->path());
    b->process_->setProcessEnvironment(env);
    // The browser we start ends with us, also when we end abnormally: a browser left running
    // would keep the profile locked against the next start.
    const PipeTransport* ends = pipe.get();
    b->process_->setChildProcessModifier([ends] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ends->placeChildEnds();
    });
    b->process_->setStandardOutputFile(QProcess::nullDevice());
    b->process_->setStandardErrorFile(log, QIODevice::Append);
    b->process_->start(settings.program, settings.launchArguments(asRoot));
    if (!b->process_->waitForStarted(10000)) {
        if (error) *error = texts::LaunchFailed + b->process_->errorString();
        delete b->process_;
        b->process_ = nullptr;
        return nullptr;
    }
    b->pid_ = b->process_->processId();
    b->programPath_ = settings.program;
    pipe->childStarted();
    b->client_.open(std::move(pipe));

    try {
        // The first reply says the browser is up; one that ends first closes the pipe.
        const QJsonArray targets =
            b->client_.call("Target.getTargets", {}, {}, kLaunchTimeoutMs).value("targetInfos").toArray();
        QString page;
        for (int i = targets.size() - 1; i >= 0 && page.isEmpty(); --i)
            if (targets[i].toObject().value("type").toString() == "page")
                page = targets[i].toObject().value("targetId").toString();
        if (page.isEmpty())
            page = b->browserCall("Target.createTarget", {{"url", "about:blank"}}).value("targetId").toString();
        if (!b->attachPage(page, error)) return nullptr;
    } catch (const AutomationError& e) {
        if (error) *error = texts::LaunchFailed + settings.program + ": " + e.text();
        return nullptr; // the destructor ends the process
    }
    return b;
}

bool ChromiumBrowser::attachPage(const QString& targetId, QString* error) {
    try {
        targetId_ = targetId;
        sessionId_ = browserCall("Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}})
                         .value("sessionId")
                         .toString();
        browserCall("Target.setDiscoverTargets", {{"discover", true}});
        pageCall("Page.enable");
        pageCall("Inspector.enable");
        // On before any key or click can open the chooser.
        pageCall("Page.setInterceptFileChooserDialog", {{"enabled", true}});
        pageCall("Page.addScriptToEvaluateOnNewDocument", {{"source", installingScript() + ";"}});
        const QJsonObject w = browserCall("Browser.getWindowForTarget", {{"targetId", targetId}});
        window_ = std::make_unique<BrowserWindow>(this, w.value("windowId").toInt());
    } catch (const AutomationError& e) {
        if (error) *error = e.text();
        return false;
    }
    return true;
}

bool ChromiumBrowser::alive() const { return client_.isOpen() && !detached_; }

QJsonObject ChromiumBrowser::browserCall(const QString& method, const QJsonObject& params) {
    return client_.call(method, params);
}

QJsonObject ChromiumBrowser::pageCall(const QString& method, const QJsonObject& params) {
    if (detached_ || !client_.isOpen()) throw AutomationError(hresult::Disconnected, texts::Disconnected);
    if (crashed_) throw AutomationError(hresult::ServerUnavailable, texts::PageCrashed);
    return client_.call(method, params, sessionId_);
}

bool ChromiumBrowser::busy() const {
    if (!alive() || crashed_) return false;
    const bool requested = navigationRequested_ && requestedAt_.elapsed() <= kRequestedNavigationLimitMs;
    return navigationsPending_ > 0 || requested || loading_ || chooser_ != nullptr;
}

void ChromiumBrowser::navigate(const QString& url) {
    if (detached_ || !client_.isOpen()) throw AutomationError(hresult::Disconnected, texts::Disconnected);
    const QString scheme = QUrl(url).scheme().toLower();
    if (!crashed_ && (scheme == "http" || scheme == "https")) {
        // Started by the page itself, the old document stays readable until the new one
        // commits; a navigation started by the browser holds every page command meanwhile.
        const QString target = QString::fromUtf8(QJsonDocument(QJsonArray{url}).toJson(QJsonDocument::Compact));
        const QJsonObject r = client_.call("Runtime.evaluate",
                                           {{"expression", "location.assign(" + target.mid(1, target.size() - 2) + ")"}},
                                           sessionId_);
        if (!r.contains("exceptionDetails")) {
            if (!loading_) {
                navigationRequested_ = true;
                requestedAt_.start();
            }
            return;
        }
    }
    crashed_ = false; // a navigation brings a crashed page back
    ++navigationsPending_;
    // Not waited for: its reply comes only with the response headers.
    std::weak_ptr<ChromiumBrowser> self = weak_from_this();
    client_.send("Page.navigate", {{"url", url}}, sessionId_, [self](const QJsonObject&) {
        if (auto b = self.lock()) b->navigationsPending_ = qMax(0, b->navigationsPending_ - 1);
    });
}

void ChromiumBrowser::onEvent(const QString& method, const QJsonObject& params, const QString& sessionId) {
    const bool pageGone = (method == "Target.detachedFromTarget" && params.value("sessionId").toString() == sessionId_)
        || (method == "Target.targetDestroyed" && params.value("targetId").toString() == targetId_);
    if (pageGone) {
        detached_ = true;
        client_.abortSession(sessionId_, hresult::Disconnected, texts::Disconnected);
        return;
    }
    if (sessionId != sessionId_) return;
    const bool mainFrame = params.value("frameId").toString() == targetId_;
    if (method == "Page.frameRequestedNavigation" && mainFrame) {
        navigationRequested_ = true;
        requestedAt_.start();
    } else if (method == "Page.frameStartedLoading" && mainFrame) {
        navigationRequested_ = false;
        loading_ = true;
        ++documentGeneration_;
    } else if ((method == "Page.frameNavigated" && params.value("frame").toObject().value("id").toString() == targetId_) ||
               method == "Runtime.executionContextsCleared") {
        ++documentGeneration_;
    } else if (method == "Page.frameStoppedLoading" && mainFrame) {
        loading_ = false;
    } else if (method == "Page.fileChooserOpened") {
        if (chooser_) chooser_->abandon();
        chooser_ = new FileChooserWindow(this, params.value("backendNodeId").toInt());
        chooser_->open();
    } else if (method == "Inspector.targetCrashed") {
        crashed_ = true;
        navigationsPending_ = 0;
        navigationRequested_ = loading_ = false;
        client_.abortSession(sessionId_, hresult::ServerUnavailable, texts::PageCrashed);
    }
}

void ChromiumBrowser::chooseFiles(int backendNodeId, const QStringList& files) {
    pageCall("DOM.setFileInputFiles", {{"files", QJsonArray::fromStringList(files)}, {"backendNodeId", backendNodeId}});
}

void ChromiumBrowser::chooserClosed() { chooser_ = nullptr; }

Variant ChromiumBrowser::fromRemote(const QJsonObject& reply) {
    if (reply.contains("exceptionDetails")) {
        const QJsonObject details = reply.value("exceptionDetails").toObject();
        QString text = details.value("exception").toObject().value("description").toString();
        if (text.isEmpty()) text = details.value("text").toString();
        const int marker = text.indexOf(UnknownNameMarker);
        if (marker >= 0) throw AutomationError(hresult::UnknownName, texts::UnknownName);
        throw AutomationError(hresult::Exception, text.section('\n', 0, 0));
    }
    const QJsonObject r = reply.value("result").toObject();
    const QString type = r.value("type").toString();
    if (type == "undefined") return Variant();
    if (type == "string") return Variant(r.value("value").toString());
    if (type == "boolean") return Variant(r.value("value").toBool());
    if (type == "number") {
        if (!r.contains("value")) return Variant(0.0); // NaN, infinities, -0
        const double d = r.value("value").toDouble();
        if (d == double(int(d)) && d >= -2147483648.0 && d <= 2147483647.0) return Variant(int(d));
        return Variant(d);
    }
    if (type == "object" && r.value("subtype").toString() == "null") return Variant::null();
    if (r.contains("objectId")) return Variant(std::make_shared<PageObject>(shared_from_this(), r.value("objectId").toString()));
    return Variant();
}

// The page script is large: sent with every operation, building, sending and compiling it
// would cost more than the round trip. It is put on the page once, under a name of this session,
// by a script that runs first in every new document; a document that was there before (or a
// frame it missed) gets it on the first use, when the short call reports it missing.
QString ChromiumBrowser::installedScript() const { return "globalThis[" + scriptKeyJson_ + "]"; }

QString ChromiumBrowser::installingScript() const {
    return "(" + installedScript() + " || Object.defineProperty(globalThis, " + scriptKeyJson_ + ", {value: " + PageScript
        + ", configurable: true})[" + scriptKeyJson_ + "])";
}

QString ChromiumBrowser::shortScript() const {
    return "(" + installedScript() + " || function() { throw new Error('" + MissingScriptMarker + "'); })";
}

bool ChromiumBrowser::scriptMissing(const QJsonObject& reply) {
    if (!reply.contains("exceptionDetails")) return false;
    const QJsonObject details = reply.value("exceptionDetails").toObject();
    return details.value("exception").toObject().value("description").toString().contains(MissingScriptMarker)
        || details.value("text").toString().contains(MissingScriptMarker);
}

Variant ChromiumBrowser::documentInvoke(const QString& op, const QString& name, const QVariantList& args) {
    const QString argsJson = QString::fromUtf8(QJsonDocument(toJsonArgs(args)).toJson(QJsonDocument::Compact));
    const QString nameJson = QString::fromUtf8(QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact));
    const QString call = ".call(document, '" + op + "', " + nameJson.mid(1, nameJson.size() - 2) + ", " + argsJson + ")";
    QJsonObject reply = pageCall("Runtime.evaluate", {{"expression", shortScript() + call}, {"objectGroup", "zk"}});
    if (scriptMissing(reply))
        reply = pageCall("Runtime.evaluate", {{"expression", installingScript() + call}, {"objectGroup", "zk"}});
    return fromRemote(reply);
}

Variant ChromiumBrowser::objectInvoke(const QString& objectId, const QString& op, const QString& name,
                                      const QVariantList& args) {
    const QJsonArray arguments{QJsonObject{{"value", op}}, QJsonObject{{"value", name}},
                               QJsonObject{{"value", toJsonArgs(args)}}};
    const auto invoke = [&](const QString& script) {
        return pageCall("Runtime.callFunctionOn",
                        {{"functionDeclaration", "function(op, name, args) { return " + script + ".call(this, op, name, args); }"},
                         {"objectId", objectId},
                         {"arguments", arguments}});
    };
    QJsonObject reply = invoke(shortScript());
    if (scriptMissing(reply)) reply = invoke(installingScript());
    return fromRemote(reply);
}

QJsonValue ChromiumBrowser::valueOf(const QString& objectId, const QString& functionDeclaration) {
    const QJsonObject reply = pageCall("Runtime.callFunctionOn", {{"functionDeclaration", functionDeclaration},
                                                                   {"objectId", objectId},
                                                                   {"returnByValue", true}});
    if (reply.contains("exceptionDetails")) fromRemote(reply); // raises the script's error
    return reply.value("result").toObject().value("value");
}

void ChromiumBrowser::releaseObject(const QString& objectId) {
    if (alive() && !crashed_) client_.send("Runtime.releaseObject", {{"objectId", objectId}}, sessionId_);
}

Variant ChromiumBrowser::get(const QString& name) {
    const QString n = name.toLower();
    if (n == "busy") {
        // Every wait polls this: it is where a browser that stopped answering is noticed.
        client_.stillAnswering();
        if (!alive()) throw AutomationError(hresult::Disconnected, hung_ ? texts::NoReply : texts::Disconnected);
        if (crashed_) throw AutomationError(hresult::ServerUnavailable, texts::PageCrashed);
        return Variant(busy());
    }
    if (n == "document") {
        if (!alive()) throw AutomationError(hresult::Disconnected, texts::Disconnected);
        return Variant(std::make_shared<DocumentObject>(shared_from_this()));
    }
    if (n == "hwnd") {
        if (!alive() || !window_) throw AutomationError(hresult::Disconnected, texts::Disconnected);
        return Variant(int(window_->handle()));
    }
    if (n == "locationurl" || n == "locationname") {
        const QJsonObject info = browserCall("Target.getTargetInfo", {{"targetId", targetId_}}).value("targetInfo").toObject();
        return Variant(info.value(n == "locationurl" ? "url" : "title").toString());
    }
    if (n == "fullname") return Variant(programPath_);
    if (n == "visible") return Variant(true);
    if (n == "readystate") return Variant(busy() ? 3 : 4);
    throw AutomationError(hresult::UnknownName, texts::UnknownName);
}

void ChromiumBrowser::put(const QString& name, const Variant&) {
    // The window is always shown; "Visible" is accepted for the callers that set it.
    if (name.compare("visible", Qt::CaseInsensitive) != 0) throw AutomationError(hresult::UnknownName, texts::UnknownName);
}

Variant ChromiumBrowser::call(const QString& name, const QVariantList& args) {
    const QString n = name.toLower();
    if (n == "navigate2" || n == "navigate") {
        navigate(args.value(0).toString());
        return Variant();
    }
    if (n == "quit") {
        quit();
        return Variant();
    }
    if (n == "refresh") {
        pageCall("Page.reload");
        return Variant();
    }
    throw AutomationError(hresult::UnknownName, texts::UnknownName);
}

void ChromiumBrowser::quit() {
    if (chooser_) chooser_->abandon();
    if (!alive()) {
        stopProcess();
        return;
    }
    if (process_) {
        try {
            browserCall("Browser.close");
        } catch (const AutomationError&) {
            // The browser going away under the call is the expected end.
        }
        stopProcess();
    } else {
        browserCall("Target.closeTarget", {{"targetId", targetId_}});
        client_.close();
    }
    detached_ = true;
}

void ChromiumBrowser::closeOwnTab() {
    try {
        client_.call("Target.closeTarget", {{"targetId", targetId_}}, {}, kCloseTimeoutMs);
    } catch (const AutomationError&) {
        // The browser going away takes the tab with it.
    }
}

void ChromiumBrowser::stopProcess() {
    client_.close();
    if (!process_) return;
    if (process_->state() != QProcess::NotRunning && !process_->waitForFinished(kCloseTimeoutMs)) {
        process_->kill(); // our own child, by its own pid
        process_->waitForFinished(kCloseTimeoutMs);
    }
    if (temp_) temp_->remove();
}

} // namespace zk::chromium
