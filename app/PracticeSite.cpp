#include "app/PracticeSite.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "workflow/SystemIni.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace zk {
namespace {

const QString PracticeKey = QStringLiteral("PRACTICE");
const QString CertSpkiKey = QStringLiteral("CERT_SPKI");

QString siteFolder(const QString& dataFolder) { return QDir(dataFolder).filePath(QStringLiteral("practice")); }
QString stateFile(const QString& dataFolder) { return QDir(siteFolder(dataFolder)).filePath(QStringLiteral("site.json")); }

// "host:port" of System.ini's SITE section: the port, 0 when there is none.
int portOf(const QString& hostAndPort) {
    const int colon = hostAndPort.lastIndexOf(':');
    return colon < 0 ? 0 : hostAndPort.mid(colon + 1).toInt();
}

} // namespace

PracticeSite::~PracticeSite() { stop(); }

bool PracticeSite::isPracticeFolder(const QString& dataFolder) {
    ProfileFile ini(QDir(dataFolder).filePath(workflow::ini::FileName));
    return ini.load() && ini.readString(workflow::ini::Site, PracticeKey).trimmed() == QLatin1String("1");
}

QString PracticeSite::program() {
    const QString beside = paths::exeFolder() + QStringLiteral("zerkon-site");
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("zerkon-site"));
}

QString PracticeSite::start(const QString& dataFolder, bool makeFolder, int timeoutMs) {
    const QString site = program();
    if (site.isEmpty()) return QStringLiteral("zerkon-site が見つかりません");
    if (!QDir().mkpath(siteFolder(dataFolder))) return siteFolder(dataFolder) + QStringLiteral(" を作れません");
    QFile::setPermissions(siteFolder(dataFolder), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::remove(stateFile(dataFolder));

    dataFolder_ = dataFolder;
    QStringList args{QStringLiteral("--state"), stateFile(dataFolder), QStringLiteral("--store"), siteFolder(dataFolder)};
    ProfileFile ini(QDir(dataFolder).filePath(workflow::ini::FileName));
    if (makeFolder) {
        args << QStringLiteral("--data-folder") << dataFolder;
    } else {
        // The folder's addresses name the ports: the site takes them again.
        if (!ini.load()) return ini.path() + QStringLiteral(" を読めません");
        const int http = portOf(ini.readString(workflow::ini::Site, workflow::ini::AuctionHost));
        const int https = portOf(ini.readString(workflow::ini::Site, workflow::ini::LoginHost));
        if (http <= 0 || https <= 0) return ini.path() + QStringLiteral(" の [SITE] にポートがありません");
        args << QStringLiteral("--http-port") << QString::number(http) << QStringLiteral("--https-port")
             << QString::number(https);
    }
    // The site ends with Zerkon, even when Zerkon is killed.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(site, args);
    if (!process_.waitForStarted(timeoutMs)) return site + QStringLiteral(": ") + process_.errorString();

    // Ready once its state file is there (the folder's files are written before it).
    const QDeadlineTimer deadline(timeoutMs);
    QJsonObject state;
    while (state.isEmpty()) {
        if (process_.state() == QProcess::NotRunning || deadline.hasExpired()) {
            const QString said = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
            stop();
            return said.isEmpty() ? QStringLiteral("zerkon-site が準備できませんでした") : said;
        }
        QFile file(stateFile(dataFolder));
        if (file.open(QIODevice::ReadOnly)) state = QJsonDocument::fromJson(file.readAll()).object();
        if (state.isEmpty()) QThread::msleep(20);
    }

    // A new certificate at each start: the browser Zerkon starts is given its pin.
    if (!ini.load()) return ini.path() + QStringLiteral(" を読めません");
    bool written = ini.writeString(workflow::ini::Site, CertSpkiKey, state.value("certificate_spki_sha256").toString());
    if (makeFolder) written = ini.writeString(workflow::ini::Site, PracticeKey, QStringLiteral("1")) && written;
    if (!written) return ini.path() + QStringLiteral(" に書き込めません");
    return {};
}

QString PracticeSite::reset(int timeoutMs) {
    if (!running()) return QStringLiteral("練習用サイトが動いていません");
    // The control address takes the token that only the owner-only state file holds.
    QFile file(stateFile(dataFolder_));
    const QJsonObject state = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    const int port = state.value("http_port").toInt();
    const QByteArray token = state.value("control_token").toString().toLatin1();
    if (port <= 0 || token.isEmpty()) return file.fileName() + QStringLiteral(" を読めません");

    QTcpSocket socket;
    const QDeadlineTimer deadline(timeoutMs);
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return socket.errorString();
    socket.write("POST /_sim/reset HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Sim-Token: " + token +
                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    // The site closes the connection once it has answered.
    while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        answer += socket.readAll();
    }
    answer += socket.readAll();
    const int headerEnd = answer.indexOf("\r\n\r\n");
    if (headerEnd < 0) return QStringLiteral("練習用サイトから答えがありません");
    if (answer.startsWith("HTTP/1.1 200")) return {};
    return QString::fromUtf8(answer.mid(headerEnd + 4)).trimmed();
}

void PracticeSite::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    // terminate() signals our own child by its pid; the site ends at once on SIGTERM.
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

} // namespace zk
