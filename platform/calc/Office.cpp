#include "Office.h"

#include "Faults.h"
#include "OfficeImpl.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QDateTime>
#include <QFileInfo>

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace zk::calc {

namespace {

const QString ProgramDir = QStringLiteral("/usr/lib/libreoffice/program/");

Reference<css::uno::XComponentContext> localContext() {
    // Kept for the life of the process and never destroyed: tearing the UNO runtime down during
    // exit can hang.
    static Reference<css::uno::XComponentContext>* context = [] {
        // Without this the client side cannot find the office's type libraries.
        if (qEnvironmentVariableIsEmpty("URE_BOOTSTRAP"))
            qputenv("URE_BOOTSTRAP", ("vnd.sun.star.pathname:" + ProgramDir + "fundamentalrc").toUtf8());
        return new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    }();
    return *context;
}

// The office's version as its first-start check wants to find it in the profile.
QString installedVersion() {
    QFile file(QStringLiteral("/usr/lib/libreoffice/share/registry/main.xcd"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    const QRegularExpression re(QStringLiteral("ooSetupVersion\">\\s*<value>([^<]+)</value>"));
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString configItem(const QString& path, const QString& name, const QString& value) {
    return QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\"><value>%3</value></prop></item>\n")
        .arg(path, name, value);
}

// A fresh profile starts much faster when it already says the first start is done; it also
// keeps the visible office from greeting the user with dialogs, and parses typed input the
// Japanese way.
void prepareProfile(const QString& folder) {
    QDir().mkpath(folder + "/user");
    QFile::remove(folder + "/user/.lock"); // left by an office that was killed; ours alone use it
    const QString settings = folder + "/user/registrymodifications.xcu";
    if (QFile::exists(settings)) return;
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n");
    const QString version = installedVersion();
    if (!version.isEmpty()) {
        xml += configItem("/org.openoffice.Setup/Product", "ooSetupLastVersion", version);
        xml += configItem("/org.openoffice.Setup/Office", "ooSetupInstCompleted", "true");
    }
    xml += configItem("/org.openoffice.Office.Common/Misc", "FirstRun", "false");
    xml += configItem("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false");
    xml += configItem("/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "false");
    xml += configItem("/org.openoffice.Setup/L10N", "ooSetupSystemLocale", "ja-JP");
    xml += QStringLiteral("</oor:items>\n");
    QFile file(settings);
    if (file.open(QIODevice::WriteOnly)) file.write(xml.toUtf8());
}

QString newPipeName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("zerkon-%1-%2-%3")
        .arg(::getpid())
        .arg(++counter)
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000);
}

} // namespace


namespace {

QString pidFile(const QString& profile) { return profile + "/office.pid"; }

} // namespace

// An office of ours can outlive a program that was killed. A headless one nobody can use any
// more is ended; a visible one may hold the user's work and keeps its profile (false: choose
// another one).
bool Office::Impl::reclaimOrphan(const QString& folder) {
    QFile file(pidFile(folder));
    if (!file.open(QIODevice::ReadOnly)) return true;
    const pid_t pid = pid_t(file.readAll().trimmed().toLong());
    file.close();
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (pid <= 1 || !processExists(pid) || !cmdline.open(QIODevice::ReadOnly)) return true;
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    const bool ours = !args.isEmpty() && args.first().endsWith("soffice.bin") &&
                      args.contains(("-env:UserInstallation=" + uno::qs(uno::fileUrl(folder))).toUtf8());
    if (!ours) return true; // the id now belongs to someone else
    if (!args.contains("--headless")) return false;
    signalProcess(pid, SIGKILL);
    for (int i = 0; i < 100 && processExists(pid); ++i) QThread::msleep(20);
    return !processExists(pid);
}

void Office::Impl::chooseProfile() {
    QString base = options.profileFolder;
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/Zerkon/office-profile";
    // Two offices must never share a profile: the second one of ours takes the next folder.
    for (int i = 0; i < 8; ++i) {
        const QString folder = i == 0 ? base : base + QStringLiteral("-%1").arg(i + 1);
        QDir().mkpath(QFileInfo(folder).absolutePath());
        auto lock = std::make_unique<QLockFile>(folder + ".lock");
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            if (!reclaimOrphan(QFileInfo(folder).absoluteFilePath())) continue;
            profileLock = std::move(lock);
            profile = QFileInfo(folder).absoluteFilePath();
            return;
        }
    }
    throw AutomationError(zk::hresult::ServerUnavailable, texts::NotStarted + base);
}

void Office::Impl::start() {
    chooseProfile();
    prepareProfile(profile);
    pipe = newPipeName();
    QStringList args;
    if (options.headless) args << QStringLiteral("--headless");
    args << QStringLiteral("--invisible") << QStringLiteral("--norestore") << QStringLiteral("--nologo")
         << QStringLiteral("--nodefault") << QStringLiteral("--nolockcheck")
         << QStringLiteral("-env:UserInstallation=") + uno::qs(uno::fileUrl(profile))
         << QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipe);
    QString error;
    // Our own Qt settings are not the office's.
    if (!process.start(ProgramDir + "soffice", args, {"QT_QPA_PLATFORM", "SESSION_MANAGER"}, error))
        throw AutomationError(zk::hresult::ServerUnavailable, texts::NotStarted + error);
}

void Office::Impl::connect() {
    const rtl::OUString url = uno::ou(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(localContext());
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        try {
            remote.set(resolver->resolve(url), UNO_QUERY_THROW);
            dead = false;
            return;
        } catch (const css::connection::NoConnectException&) {
            if (timer.elapsed() > options.connectTimeoutMs || !process.running()) {
                process.kill();
                throw AutomationError(zk::hresult::ServerUnavailable, texts::Unavailable);
            }
            QThread::msleep(20);
        }
    }
}

namespace {

// The offices of this process.
QList<Office::Impl*>& offices() {
    static QList<Office::Impl*> list;
    return list;
}

bool profileRunsHere(const QString& profile) {
    for (Office::Impl* office : offices())
        if (office->profile == profile && office->process.running()) return true;
    return false;
}

} // namespace

void Office::removeStaleLock(const QString& workbookPath) {
    const QFileInfo info(workbookPath);
    const QString lockPath = info.absolutePath() + "/.~lock." + info.fileName() + "#";
    QFile lock(lockPath);
    if (!lock.open(QIODevice::ReadOnly)) return;
    // "<name>,<user>,<host>,<date>,<profile URL>;"
    const QStringList fields = QString::fromUtf8(lock.readAll()).trimmed().split(',');
    lock.close();
    if (fields.size() < 5) return;
    QString profileUrl = fields[4];
    if (profileUrl.endsWith(';')) profileUrl.chop(1);
    const QString profile = uno::localPath(uno::ou(profileUrl));
    if (!profile.contains("/Zerkon/office-profile")) return; // not one of ours
    if (profileRunsHere(profile)) return;
    // Another program of ours may run an office on that profile: then its lock is held.
    if (QFile::exists(profile + ".lock")) {
        QLockFile profileLock(profile + ".lock");
        if (!profileLock.tryLock(0)) {
            qint64 pid = 0;
            QString host, app;
            if (!profileLock.getLockInfo(&pid, &host, &app) || pid != QCoreApplication::applicationPid()) return;
        }
    }
    QFile::remove(lockPath);
}

Office::Options Office::defaultOptions() {
    Options options;
    options.headless = qgetenv("ZERKON_OFFICE_HEADLESS") == "1" ||
                       (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    return options;
}

Office::Office(const Options& options) : d(std::make_unique<Impl>()) {
    d->options = options;
    try {
        localContext();
        d->start();
        try {
            d->connect();
        } catch (const AutomationError&) {
            // A profile left behind by an office that was killed can keep the next one from
            // coming up; the profile is ours alone, so start once more with a fresh one.
            d->process.kill();
            QDir(d->profile).removeRecursively();
            d->profileLock.reset();
            d->start();
            d->connect();
        }
        offices() << d.get();
        QFile pid(pidFile(d->profile));
        if (pid.open(QIODevice::WriteOnly)) pid.write(QByteArray::number(qint64(d->process.officePid())));
    } catch (const AutomationError&) {
        d->process.kill();
        throw;
    } catch (...) {
        d->process.kill();
        rethrowAsAutomationError();
    }
}

// Saves what can be saved; true when a document still holds changes after that.
static bool keepsUnsavedWork(Office::Impl& d) {
    try {
        Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(d.remote);
        Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
        bool unsaved = false;
        while (components->hasMoreElements()) {
            Reference<css::util::XModifiable> modifiable(components->nextElement(), UNO_QUERY);
            if (!modifiable.is() || !modifiable->isModified()) continue;
            Reference<css::frame::XStorable> storable(modifiable, UNO_QUERY);
            try {
                if (storable.is() && storable->hasLocation() && !storable->isReadonly()) storable->store();
            } catch (const css::io::IOException&) {
            }
            unsaved = unsaved || modifiable->isModified();
        }
        return unsaved;
    } catch (const css::uno::Exception&) {
        return false;
    }
}

Office::~Office() {
    // A visible office whose changes could not be saved stays with the user, as a spreadsheet
    // program would, instead of taking the changes with it.
    if (!d->dead && !d->options.headless && d->process.running() && keepsUnsavedWork(*d)) {
        *d->veto = false;
        d->remote.clear();
        d->process.detach();
        d->profileLock.reset();
    } else {
        terminate();
    }
    offices().removeAll(d.get());
}

bool Office::headless() const { return d->options.headless; }
bool Office::connected() const { return !d->dead; }
pid_t Office::processId() { return d->process.officePid(); }
QString Office::pipeName() const { return d->pipe; }
QString Office::profileFolder() const { return d->profile; }

void Office::terminate() {
    *d->veto = false;
    if (!d->dead) {
        try {
            Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(d->remote);
            // A visible office would ask about unsaved changes and wait for an answer forever;
            // ending means dropping them (the workflows save before they quit).
            Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
            while (components->hasMoreElements()) {
                Reference<css::util::XModifiable> modifiable(components->nextElement(), UNO_QUERY);
                if (modifiable.is()) modifiable->setModified(false);
            }
            desktop->terminate();
        } catch (const css::uno::Exception&) {
            // The office may drop the connection while it ends; that is the wanted outcome.
        }
    }
    d->dead = true;
    d->remote.clear();
    if (!d->process.waitForExit(15000)) d->process.kill();
    d->process.kill();
    d->profileLock.reset();
}

void Office::setCallGate(CallGate gate) { d->gate = std::move(gate); }

void Office::enter(const QString& call, bool gated) {
    if (d->dead) throw AutomationError(zk::hresult::ServerUnavailable, texts::Unavailable);
    if (gated && d->gate) d->gate(call);
}

void Office::failed() {
    try {
        rethrowAsAutomationError();
    } catch (const AutomationError& e) {
        // A closed workbook reports a disconnection too; only a gone process ends the office.
        if (e.code() == zk::hresult::Disconnected && !d->process.running()) {
            d->dead = true;
                }
        throw;
    }
}

void Office::setCloseVeto(bool on) { *d->veto = on; }
bool Office::closeVeto() const { return *d->veto; }

namespace uno {

rtl::OUString fileUrl(const QString& path) {
    rtl::OUString url;
    osl::FileBase::getFileURLFromSystemPath(ou(QFileInfo(path).absoluteFilePath()), url);
    return url;
}

QString localPath(const rtl::OUString& url) {
    rtl::OUString path;
    osl::FileBase::getSystemPathFromFileURL(url, path);
    return qs(path);
}

} // namespace uno

} // namespace zk::calc
