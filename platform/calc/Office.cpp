#include "Office.h"

#include "Faults.h"
#include "OfficeImpl.h"
#include "OfficePipe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <QDateTime>
#include <QFileInfo>

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace zk::calc {

namespace {

const QString ProgramDir = QStringLiteral("/usr/lib/libreoffice/program/");
// The exit code of an office that wants to be started again (after setting up a new profile).
constexpr int RestartRequested = 81;
// How long an office may take to end when asked, before it is killed.
constexpr int TerminateBoundMs = 10000;

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
// Japanese way. Links are saved as written: the office's default rewrites a workbook's absolute
// file links relative to where it is saved, which can point them somewhere else. Settings added
// here later reach profiles made before them too.
void prepareProfile(const QString& folder) {
    QDir().mkpath(folder + "/user");
    // The profile holds the seller's recent files and the office's log: ours alone.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(folder + "/user/.lock"); // left by an office that was killed; ours alone use it
    QStringList items;
    const QString version = installedVersion();
    if (!version.isEmpty()) {
        items << configItem("/org.openoffice.Setup/Product", "ooSetupLastVersion", version);
        items << configItem("/org.openoffice.Setup/Office", "ooSetupInstCompleted", "true");
    }
    items << configItem("/org.openoffice.Office.Common/Misc", "FirstRun", "false");
    items << configItem("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false");
    items << configItem("/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "false");
    items << configItem("/org.openoffice.Office.Common/Save/URL", "FileSystem", "false");
    items << configItem("/org.openoffice.Office.Common/Save/URL", "Internet", "false");
    items << configItem("/org.openoffice.Setup/L10N", "ooSetupSystemLocale", "ja-JP");

    const QString settings = folder + "/user/registrymodifications.xcu";
    const QString end = QStringLiteral("</oor:items>");
    QFile file(settings);
    QString xml;
    if (file.open(QIODevice::ReadOnly)) xml = QString::fromUtf8(file.readAll());
    file.close();
    if (!xml.contains(end)) {
        xml = QStringLiteral(
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                  "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n") +
              end + "\n";
    }
    QString missing;
    for (const QString& item : items) {
        // The office writes each setting back on one line of its own, "path" and "name" first.
        const QString key = item.left(item.indexOf(QStringLiteral("><value>")));
        if (!xml.contains(key)) missing += item;
    }
    if (missing.isEmpty()) return;
    xml.insert(xml.lastIndexOf(end), missing);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(xml.toUtf8());
}

QString newPipeName() {
    // Unguessable, so that nobody can bind it before the office's command line shows it.
    return QStringLiteral("zerkon-") + QUuid::createUuid().toString(QUuid::Id128);
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
    const QStringList pipes = pipesBoundBy(pid);
    signalProcess(pid, SIGKILL);
    for (int i = 0; i < 100 && !processGone(pid); ++i) QThread::msleep(20);
    if (!processGone(pid)) return false;
    removeDeadPipes(pipes);
    return true;
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
    launch();
}

void Office::Impl::launch() {
    pipe = options.pipeName.isEmpty() ? newPipeName() : options.pipeName;
    QStringList args;
    if (options.headless) args << QStringLiteral("--headless");
    args << QStringLiteral("--invisible") << QStringLiteral("--norestore") << QStringLiteral("--nologo")
         << QStringLiteral("--nodefault") << QStringLiteral("--nolockcheck")
         << QStringLiteral("-env:UserInstallation=") + uno::qs(uno::fileUrl(profile))
         << QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipe);
    OfficeProcess::Launch launch;
    launch.program = ProgramDir + "soffice.bin";
    launch.arguments = args;
    // Our own Qt settings are not the office's.
    launch.removeFromEnvironment = {"QT_QPA_PLATFORM", "SESSION_MANAGER"};
    launch.logFile = profile + "/office.log";
    // No office of ours runs on this profile now: what an earlier one left is no one's.
    removeTempFiles();
    QDir().mkpath(tempFolder());
    QFile::setPermissions(tempFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    launch.environment.insert(QStringLiteral("TMPDIR"), tempFolder());
    // Nobody can use a headless office once we are gone; a visible one may hold the seller's work.
    launch.endWithUs = options.headless;
    QString error;
    if (!process.start(launch, error))
        throw AutomationError(zk::hresult::ServerUnavailable, texts::NotStarted + error);
}

void Office::Impl::connect() {
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(localContext());
    QElapsedTimer timer;
    timer.start();
    int restarts = 0;
    for (;;) {
        QString detail;
        const PipeOwner owner = pipeOwner(officePipePath(pipe), process.officePid(), &detail);
        if (owner == PipeOwner::Foreign) {
            process.kill();
            pipeTaken = true;
            throw AutomationError(zk::hresult::ServerUnavailable, texts::PipeTaken + detail);
        }
        try {
            if (owner == PipeOwner::Absent) throw css::connection::NoConnectException();
            // The office can accept the pipe and then never answer.
            const CallWatchdog::Watch watch = watchdog.watch(process.officePid(), options.connectTimeoutMs);
            const rtl::OUString url =
                uno::ou(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
            remote.set(resolver->resolve(url), UNO_QUERY_THROW);
            dead = false;
            return;
        } catch (const css::connection::NoConnectException&) {
            // A first start on a new profile ends itself once, asking to be started again.
            if (!process.running() && process.exitCode() == RestartRequested && ++restarts <= 2) {
                launch();
                continue;
            }
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
    bool ok = false;
    const int bound = qEnvironmentVariableIntValue("ZERKON_OFFICE_CALL_TIMEOUT_MS", &ok);
    if (ok && bound > 0) options.callTimeoutMs = bound;
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
            if (d->pipeTaken) throw;
            // A profile left behind by an office that was killed can keep the next one from
            // coming up; the profile is ours alone, so start once more with a fresh one.
            d->process.kill();
            d->removeLeftovers();
            QDir(d->profile).removeRecursively();
            d->profileLock.reset();
            d->start();
            d->connect();
        }
        offices() << d.get();
        d->pipes = pipesBoundBy(d->process.officePid());
        QFile pid(pidFile(d->profile));
        if (pid.open(QIODevice::WriteOnly)) pid.write(QByteArray::number(qint64(d->process.officePid())));
    } catch (const AutomationError&) {
        d->process.kill();
        d->removeLeftovers();
        throw;
    } catch (...) {
        d->process.kill();
        d->removeLeftovers();
        rethrowAsAutomationError();
    }
}

// Saves what can be saved; true when a document still holds changes after that.
static bool keepsUnsavedWork(Office::Impl& d) {
    try {
        const CallWatchdog::Watch watch = d.watchdog.watch(d.process.officePid(), d.options.callTimeoutMs * 4);
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
            // An office that does not end when asked is killed below; the call must not wait for it.
            const CallWatchdog::Watch watch = d->watchdog.watch(d->process.officePid(), TerminateBoundMs);
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
    if (!d->process.waitForExit(TerminateBoundMs)) d->process.kill();
    d->process.kill();
    d->removeLeftovers();
    d->profileLock.reset();
}

void Office::Impl::removeLeftovers() {
    if (process.running()) return;
    // The UNO pipe's name is known before the office has bound anything.
    removeDeadPipes(pipe.isEmpty() ? pipes : pipes + QStringList{officePipePath(pipe)});
    pipes.clear();
    removeTempFiles();
}

void Office::Impl::removeTempFiles() {
    // Never without a profile: the folder would then be the root's "/tmp".
    if (profile.isEmpty()) return;
    // The office keeps its temporary files in a folder "lu….tmp" of its own. Only those go: a
    // program the office started (a browser opened from a link in a workbook) inherits the
    // folder and may still use it.
    const QDir folder(tempFolder());
    for (const QString& name : folder.entryList({QStringLiteral("lu*.tmp")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        QDir(folder.filePath(name)).removeRecursively();
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
        if (d->watchdog.fired() || (e.code() == zk::hresult::Disconnected && !d->process.running())) {
            d->dead = true;
            // Whatever the stalled call reported, the office is gone now.
            throw AutomationError(zk::hresult::Disconnected, texts::Disconnected);
        }
        throw;
    }
}

void Office::setCallTimeout(int ms) {
    if (ms > 0) d->options.callTimeoutMs = ms;
}

CallWatchdog::Watch Office::watchCall(const QString& call) {
    static const QStringList slow = {"Open", "Add", "Save", "SaveAs", "Close", "Quit"};
    const int bound = slow.contains(call) ? d->options.callTimeoutMs * 4 : d->options.callTimeoutMs;
    return d->watchdog.watch(d->process.officePid(), bound);
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
