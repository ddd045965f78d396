#pragma once
// One Zerkon per user and data folder: a lock file held for the whole run, and a local socket
// through which a second start asks the first to bring its window to the front.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace zk {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Result {
        First,        // this process is the one instance; it listens for later starts
        Raised,       // another instance runs and brought its window to the front
        Inconsistent, // another instance holds the lock but has no window to show
    };

    // The key names the instance; "Zerkon" scoped to the data folder.
    explicit SingleInstance(const QString& key);
    ~SingleInstance() override;

    Result acquire();
    // Called in the first instance when a later start asks; returns whether a window titled
    // "Zerkon" was found and brought to the front.
    void setRaiseHandler(std::function<bool()> handler) { raise_ = std::move(handler); }

private:
    QString lockPath_;
    QString socketName_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> raise_;
};

} // namespace zk
