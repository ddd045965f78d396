#pragma once
// One Zerkon per user and data folder: a lock file held for the whole run, and a local socket
// through which a second start asks the first to bring its window to the front. Both sit in a
// folder only this user can enter, so no other account can take their names first.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

namespace zk {

// The first of the candidate folders that is (or can be made) a real folder of this user's,
// 0700; a folder that is missing is made. Empty, with each candidate's reason in `error`, when
// none is. Candidates are tried in order, so two starts in the same environment agree.
QString ownPrivateFolder(const QStringList& candidates, QString* error);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Result {
        First,        // this process is the one instance; it listens for later starts
        Raised,       // another instance runs and brought its window to the front
        Inconsistent, // another instance holds the lock but has no window to show
        Unavailable,  // the lock could not be taken for another reason: see error()
    };

    // The key names the instance; "Zerkon" scoped to the data folder. The lock lives in the
    // user's runtime folder when that is private, else in one of ours made 0700.
    explicit SingleInstance(const QString& key);
    // The same, in the first usable folder of `folders`.
    SingleInstance(const QString& key, const QStringList& folders);
    ~SingleInstance() override;

    // The folders tried for the lock, in order.
    static QStringList defaultFolders();

    Result acquire();
    // Why the lock could not be taken (Unavailable).
    QString error() const { return error_; }
    QString lockPath() const { return lockPath_; }
    // Called in the first instance when a later start asks; returns whether a window titled
    // "Zerkon" was found and brought to the front.
    void setRaiseHandler(std::function<bool()> handler) { raise_ = std::move(handler); }

private:
    QString scope_;
    QStringList folders_;
    QString lockPath_;
    QString socketName_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> raise_;
};

} // namespace zk
