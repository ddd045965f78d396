#include "app/DataFolderSetup.h"

#include "app/Texts.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace zk::setup {
namespace {

const QString SystemIni = QStringLiteral("System.ini");

// The seller's account and bank data are in these two: nobody else may read them.
bool holdsSecrets(const QString& name) { return name == SystemIni || name == QLatin1String("FieldsDefine.ini"); }

// The markers of the defaults' System.ini. They are plain ASCII, which no CP932 trail byte can
// be, so they are replaced in the file's own bytes, by texts in CP932 as the whole file is.
QByteArray filledIn(QByteArray bytes, const SiteHosts& hosts, const QString& workbookFolder) {
    bytes.replace("%AUCTION_HOST%", cp932::fromUnicode(hosts.auction));
    bytes.replace("%LOGIN_HOST%", cp932::fromUnicode(hosts.login));
    bytes.replace("%EXCEL_DIR%", cp932::fromUnicode(workbookFolder));
    return bytes;
}

// A text System.ini cannot hold: it would read back as something else ("〜" as "～", and a
// folder so named is not found).
QString notInCp932(const QString& text) {
    const QString missing = cp932::unkeptCharacters(text);
    return missing.isEmpty() ? QString() : texts::SetupNotInCp932.arg(text, missing);
}

} // namespace

QStringList requiredFiles() { return {SystemIni, QStringLiteral("FieldsDefine.ini"), QStringLiteral("category.txt")}; }

FolderState inspect(const QString& folder) {
    FolderState state;
    const QDir dir(folder);
    for (const QString& name : requiredFiles()) {
        const QFileInfo file(dir.filePath(name));
        if (!file.exists()) {
            state.missing << name;
            continue;
        }
        QFile probe(file.absoluteFilePath());
        if (state.unreadable.isEmpty() && (!file.isFile() || !probe.open(QIODevice::ReadOnly)))
            state.unreadable = file.absoluteFilePath();
    }
    // A file that is there but cannot be read is the seller's to mend: nothing is made beside it.
    if (!state.unreadable.isEmpty()) state.kind = FolderState::Kind::Unreadable;
    else if (state.missing.size() == requiredFiles().size()) state.kind = FolderState::Kind::Empty;
    else if (!state.missing.isEmpty()) state.kind = FolderState::Kind::Incomplete;
    return state;
}

QString defaultsFolder(const QString& exeFolder) { return QDir(exeFolder).filePath(QStringLiteral("defaults")) + '/'; }

QString hostProblem(const QString& host) {
    if (host.trimmed().isEmpty()) return QStringLiteral("empty");
    // A host name (letters, digits, dots, hyphens) with an optional port, nothing else: the
    // addresses are made from it.
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?"
                                                        "(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*"
                                                        "(:[0-9]{1,5})?$"));
    if (!name.match(host).hasMatch()) return QStringLiteral("not a host name");
    const int colon = host.indexOf(':');
    if (colon >= 0) {
        const int port = host.mid(colon + 1).toInt();
        if (port < 1 || port > 65535) return QStringLiteral("port out of range");
    }
    return {};
}

QString makeFromDefaults(const QString& folder, const QString& defaults, const QStringList& names,
                         const SiteHosts& hosts, const QString& workbookFolder) {
    if (names.contains(SystemIni)) {
        for (const QString& text : {hosts.auction, hosts.login, workbookFolder})
            if (const QString why = notInCp932(text); !why.isEmpty()) return why;
    }
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return QStringLiteral("%1: cannot make the folder").arg(QDir::toNativeSeparators(folder));
    QFile::setPermissions(dir.absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const QString& name : names) {
        const QString target = dir.filePath(name);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        QFile source(QDir(defaults).filePath(name));
        if (!source.open(QIODevice::ReadOnly))
            return QStringLiteral("%1: %2").arg(source.fileName(), source.errorString());
        QByteArray bytes = source.readAll();
        if (name == SystemIni) bytes = filledIn(bytes, hosts, workbookFolder);
        // Made new only: a file that appeared meanwhile is not written over.
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return QStringLiteral("%1: %2").arg(target, out.errorString());
        if (holdsSecrets(name)) out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (out.write(bytes) != bytes.size() || !out.flush()) {
            const QString why = out.errorString();
            out.close();
            out.remove();
            return QStringLiteral("%1: %2").arg(target, why);
        }
    }
    return {};
}

} // namespace zk::setup
