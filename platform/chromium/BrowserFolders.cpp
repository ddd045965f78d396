#include "BrowserFolders.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk::chromium {

namespace {

constexpr const char* kTempTemplate = "/zerkon-XXXXXX";

// A folder of this user's that no one else can enter.
bool ownPrivateFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
        && (st.st_mode & 077) == 0;
}

} // namespace

bool makeOwnerOnlyFolder(const QString& path) {
    if (!QDir().mkpath(path)) return false;
    return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

bool writeOwnerOnlyFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0600) == 0; // an older file may have had a wider mode
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += n;
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(name.constData());
    return ok;
}

BrowserTempFolder::~BrowserTempFolder() { remove(); }

bool BrowserTempFolder::create(const QString& runtimeFolder, QString* error) {
    remove();
    QByteArray base = QFile::encodeName(runtimeFolder);
    while (base.size() > 1 && base.endsWith('/')) base.chop(1);
    const bool runtimeFits = base.startsWith('/') && base.size() + qsizetype(std::strlen(kTempTemplate)) <= MaxPathLength
        && ownPrivateFolder(base);
    QByteArray name = (runtimeFits ? base : QByteArray("/tmp")) + kTempTemplate;
    if (!::mkdtemp(name.data())) { // mode 0700
        if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    path_ = QFile::decodeName(name);
    return true;
}

void BrowserTempFolder::remove() {
    if (path_.isEmpty()) return;
    QDir(path_).removeRecursively();
    path_.clear();
}

} // namespace zk::chromium
