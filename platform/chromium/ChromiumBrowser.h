#pragma once
// One driven Chromium page, as the late-bound "browser" object the workflows talk to:
//   busy, Document, HWND, LocationURL, LocationName, FullName, Visible, ReadyState (get)
//   Navigate2 / Navigate (address), Quit, Refresh, GoBack (call)
// It is found on a running Chromium through its debugging endpoint or started with its own
// profile and folders and driven over a private pipe pair. A browser we started is ended with
// it, by its own process id.
#include "BrowserSettings.h"
#include "DevToolsClient.h"
#include "Variant.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <memory>

class QProcess;

namespace zk::chromium {

class BrowserTempFolder;
class BrowserWindow;
class FileChooserWindow;

class ChromiumBrowser : public QObject, public Dispatch, public std::enable_shared_from_this<ChromiumBrowser> {
    Q_OBJECT
public:
    ~ChromiumBrowser() override;

    // The last page of a running Chromium at the configured endpoint whose program is the
    // configured one, or a new tab of our own there when the settings ask for one. Null with
    // *error empty when there is none to attach to; null with *error set when the endpoint
    // answered but failed (or would not open our tab).
    static std::shared_ptr<ChromiumBrowser> attach(const BrowserSettings& settings, QString* error);
    // Starts the configured browser; null with *error set on failure.
    static std::shared_ptr<ChromiumBrowser> launch(const BrowserSettings& settings, QString* error);

    Variant get(const QString& name) override;
    void put(const QString& name, const Variant& value) override;
    Variant call(const QString& name, const QVariantList& args) override;

    bool busy() const;
    void navigate(const QString& url);
    // Ends a browser we started; closes the page of one we attached to (our own tab, when we
    // opened one there).
    void quit();
    bool launched() const { return process_ != nullptr; }
    bool inOwnTab() const { return ownTab_; }
    qint64 processId() const { return pid_; }
    BrowserWindow* window() const { return window_.get(); }
    QString targetId() const { return targetId_; }
    bool alive() const;

    // A command to the page (its session), raising the automation errors of a lost page.
    QJsonObject pageCall(const QString& method, const QJsonObject& params = {});
    // A command to the browser itself.
    QJsonObject browserCall(const QString& method, const QJsonObject& params = {});
    DevToolsClient& client() { return client_; }

    // The page's object model: the document of the page shown now, and members of objects.
    Variant documentInvoke(const QString& op, const QString& name, const QVariantList& args);
    Variant objectInvoke(const QString& objectId, const QString& op, const QString& name, const QVariantList& args);
    void releaseObject(const QString& objectId);
    // A function run on one of the page's objects (as `this`), its result handed back as a
    // value (JSON) in the same round trip; a script error raises its automation error.
    QJsonValue valueOf(const QString& objectId, const QString& functionDeclaration);
    // Counts the documents the page has shown: a read kept from the page is still good while
    // this has not changed.
    quint64 documentGeneration() const { return documentGeneration_; }

    // The intercepted file chooser.
    FileChooserWindow* fileChooser() const { return chooser_; }
    void chooseFiles(int backendNodeId, const QStringList& files);
    void chooserClosed();

private:
    ChromiumBrowser();
    bool connectTo(const QUrl& browserUrl, QString* error);
    bool attachPage(const QString& targetId, QString* error);
    void onEvent(const QString& method, const QJsonObject& params, const QString& sessionId);
    Variant fromRemote(const QJsonObject& reply);
    // The page script as the page holds it, and the expressions that reach it.
    QString installedScript() const;
    QString installingScript() const;
    QString shortScript() const;
    static bool scriptMissing(const QJsonObject& reply);
    void stopProcess();
    void closeOwnTab();

    DevToolsClient client_;
    QProcess* process_ = nullptr;
    qint64 pid_ = 0;
    QString programPath_;
    QString scriptKeyJson_; // the page script's name on the page, quoted
    QString targetId_;
    QString sessionId_;
    bool detached_ = false;
    bool ownTab_ = false; // the page is a tab we opened in a browser we attached to
    bool crashed_ = false;
    bool hung_ = false;
    // Busy from events, without a round trip.
    int navigationsPending_ = 0;
    bool navigationRequested_ = false;
    QElapsedTimer requestedAt_;
    bool loading_ = false;
    quint64 documentGeneration_ = 0;
    FileChooserWindow* chooser_ = nullptr;
    std::unique_ptr<BrowserWindow> window_;
    std::unique_ptr<BrowserTempFolder> temp_;
};

} // namespace zk::chromium
