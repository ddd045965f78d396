#pragma once
// The practice site that a practice data folder is wired to: started by Zerkon before the panel
// and ended (by its own process id) when Zerkon ends. The site writes the folder's files the first
// time; at later starts it keeps the ports the folder's addresses name, and only its new
// certificate pin is written into System.ini. It keeps its items, IDs, pictures, relists and sales
// in the folder's practice/ subfolder, so that a new start goes on where the last one ended.
#include <QProcess>
#include <QString>

namespace zk {

class PracticeSite {
public:
    PracticeSite() = default;
    ~PracticeSite();
    PracticeSite(const PracticeSite&) = delete;
    PracticeSite& operator=(const PracticeSite&) = delete;

    // A folder made for the practice site (System.ini [SITE] PRACTICE=1).
    static bool isPracticeFolder(const QString& dataFolder);
    // The site's program: beside Zerkon, else on the PATH. Empty when there is none.
    static QString program();

    // Starts the site for `dataFolder`; `makeFolder`: the folder has none of its files yet and
    // the site writes them. Waits at most `timeoutMs` for the site to be ready. Returns the
    // cause of a failure, empty on success.
    QString start(const QString& dataFolder, bool makeFolder, int timeoutMs = 20000);
    bool running() const { return process_.state() != QProcess::NotRunning; }
    // Ends the site and waits (bounded) for it; nothing when it is not running.
    void stop();
    // Starts the running site afresh: its items, relists and pictures gone, the sample items made
    // again; auction IDs go on from where they were. Returns the cause of a failure, empty on success.
    QString reset(int timeoutMs = 10000);

private:
    QProcess process_;
    QString dataFolder_;
};

} // namespace zk
