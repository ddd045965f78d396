#pragma once
// The folders of a browser we start. They hold the seller's cookies and saved logins, so they
// are the user's own (0700), and so is everything we seed in them.
#include <QByteArray>
#include <QString>

namespace zk::chromium {

// Creates the folder with its missing parents; the folder itself ends up owner-only, also
// when it was there before. False when it cannot be made so.
bool makeOwnerOnlyFolder(const QString& path);
// Writes a whole file, owner-only, flushed and closed when this returns; false (and no partial
// file left) on failure.
bool writeOwnerOnlyFile(const QString& path, const QByteArray& bytes);

// The browser's temporary folder (its TMPDIR). The browser binds a local socket in a folder it
// makes there, and a socket path has a limit of 107 bytes, so the folder sits on a short path:
// in the user's runtime folder when that is short enough, else in /tmp. Made by mkdtemp, 0700,
// removed with this object.
class BrowserTempFolder {
public:
    // The longest folder path with which the browser's socket path still fits.
    static constexpr int MaxPathLength = 60;

    BrowserTempFolder() = default;
    ~BrowserTempFolder();
    BrowserTempFolder(const BrowserTempFolder&) = delete;
    BrowserTempFolder& operator=(const BrowserTempFolder&) = delete;

    // runtimeFolder: $XDG_RUNTIME_DIR, used only when it is the user's own and short enough.
    bool create(const QString& runtimeFolder, QString* error);
    QString path() const { return path_; }
    void remove();

private:
    QString path_;
};

} // namespace zk::chromium
