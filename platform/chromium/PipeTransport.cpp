#include "PipeTransport.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace zk::chromium {

namespace {

constexpr int kBrowserReads = 3;
constexpr int kBrowserWrites = 4;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A write to a pipe whose reader has gone raises SIGPIPE, which would end the program unless
// something ignores it. Blocked on this thread for the one write, a signal raised by it is taken
// back; the write itself fails with EPIPE, which is how we learn that the browser is gone.
ssize_t writeWithoutSignal(int fd, const char* data, size_t size) {
    sigset_t pipeOnly, previous, pending;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE);
    ssize_t n;
    do n = ::write(fd, data, size);
    while (n < 0 && errno == EINTR);
    const int saved = errno;
    if (n < 0 && saved == EPIPE && !alreadyPending) {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = saved;
    return n;
}

} // namespace

PipeTransport::PipeTransport() {
    // Close-on-exec: no other program we start may inherit them; the child gets its copies at
    // 3 and 4 by dup2, which clears the flag on those.
    if (::pipe2(toBrowser_, O_CLOEXEC) != 0 || ::pipe2(fromBrowser_, O_CLOEXEC) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        for (int* p : {toBrowser_, fromBrowser_}) {
            closeFd(p[0]);
            closeFd(p[1]);
        }
    }
}

PipeTransport::~PipeTransport() {
    close();
    for (int* p : {toBrowser_, fromBrowser_}) {
        closeFd(p[0]);
        closeFd(p[1]);
    }
}

void PipeTransport::placeChildEnds() const {
    // Copies above 4 first: one of our ends may itself sit at 3 or 4.
    const int reads = ::fcntl(toBrowser_[0], F_DUPFD, kBrowserWrites + 1);
    const int writes = ::fcntl(fromBrowser_[1], F_DUPFD, kBrowserWrites + 1);
    if (reads < 0 || writes < 0 || ::dup2(reads, kBrowserReads) < 0 || ::dup2(writes, kBrowserWrites) < 0)
        ::_exit(127);
    ::close(reads);
    ::close(writes);
}

void PipeTransport::childStarted() {
    if (!valid()) return;
    closeFd(toBrowser_[0]);
    closeFd(fromBrowser_[1]);
    ::fcntl(toBrowser_[1], F_SETFL, ::fcntl(toBrowser_[1], F_GETFL) | O_NONBLOCK);
    ::fcntl(fromBrowser_[0], F_SETFL, ::fcntl(fromBrowser_[0], F_GETFL) | O_NONBLOCK);
    readable_ = new QSocketNotifier(fromBrowser_[0], QSocketNotifier::Read, this);
    connect(readable_, &QSocketNotifier::activated, this, &PipeTransport::readAvailable);
    writable_ = new QSocketNotifier(toBrowser_[1], QSocketNotifier::Write, this);
    writable_->setEnabled(false);
    connect(writable_, &QSocketNotifier::activated, this, &PipeTransport::writePending);
    open_ = true;
}

void PipeTransport::sendMessage(const QByteArray& json) {
    if (!open_) return;
    unsent_ += json;
    unsent_ += '\0';
    if (!writable_->isEnabled()) writePending();
}

void PipeTransport::writePending() {
    while (open_ && !unsent_.isEmpty()) {
        const ssize_t n = writeWithoutSignal(toBrowser_[1], unsent_.constData(), size_t(unsent_.size()));
        if (n > 0) {
            unsent_.remove(0, n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Full: the rest goes when the browser has read some.
            writable_->setEnabled(true);
            return;
        }
        lost(); // EPIPE: the browser has gone
        return;
    }
    if (writable_) writable_->setEnabled(false);
}

void PipeTransport::readAvailable() {
    if (!open_) return;
    bool ended = false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fromBrowser_[0], buffer, sizeof buffer);
        if (n > 0) {
            received_.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        ended = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    for (;;) {
        const qsizetype end = received_.indexOf('\0', scanned_);
        if (end < 0) {
            scanned_ = received_.size();
            break;
        }
        inbox_.push_back(received_.left(end));
        received_.remove(0, end + 1);
        scanned_ = 0;
    }
    // Handed over one at a time from the shared queue: a handler that pumps events and so
    // reads again here neither reorders the messages nor waits behind the ones queued.
    while (open_ && !inbox_.empty()) {
        const QByteArray message = std::move(inbox_.front());
        inbox_.pop_front();
        emit messageReceived(message);
    }
    if (ended) lost();
}

void PipeTransport::lost() {
    if (!open_) return;
    close();
    emit closed();
}

void PipeTransport::close() {
    if (!open_) return;
    open_ = false;
    // Possibly inside one of their own signals: they go once that has returned.
    for (QSocketNotifier* n : {readable_, writable_}) {
        n->setEnabled(false);
        n->deleteLater();
    }
    readable_ = writable_ = nullptr;
    closeFd(toBrowser_[1]);
    closeFd(fromBrowser_[0]);
    unsent_.clear();
    inbox_.clear();
}

} // namespace zk::chromium
