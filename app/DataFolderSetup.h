#pragma once
// What a first start finds in the data folder and how a folder is made from the package's
// defaults. Free of widgets: the setup window asks, this does. A file of the seller's is never
// written over: only files that are missing are made.
#include <QString>
#include <QStringList>

namespace zk::setup {

// The files without which the start-up cannot go on, in the order they are named.
QStringList requiredFiles();

struct FolderState {
    enum class Kind {
        Ready,       // every required file is there and can be read
        Empty,       // no folder, or none of the files
        Incomplete,  // some of the files: `missing` names the others
        Unreadable,  // a file is there but cannot be read: the start-up says so with its path
    };
    Kind kind = Kind::Ready;
    QStringList missing;
    QString unreadable;
};
FolderState inspect(const QString& folder);

// The package's defaults for a real-site folder: `defaults` beside the program.
QString defaultsFolder(const QString& exeFolder);

// Why a host name typed for the real site cannot be used (empty: it can): a name with an
// optional port, no scheme or path.
QString hostProblem(const QString& host);

// The real site's two host names, put into a System.ini made from the defaults.
struct SiteHosts {
    QString auction;
    QString login;
};

// Makes the named files of `folder` (the missing required files, see inspect) from `defaults`:
// System.ini with the hosts and the workbook folder put in, the other two as they are. A file
// that is there already is left as it is. The folder is made the seller's alone, System.ini and
// FieldsDefine.ini readable by the seller only. System.ini is CP932: a host or folder with a
// character CP932 has not is refused, with those characters, before anything is made. Returns
// the cause of a failure, empty on success.
QString makeFromDefaults(const QString& folder, const QString& defaults, const QStringList& names,
                         const SiteHosts& hosts, const QString& workbookFolder);


} // namespace zk::setup
