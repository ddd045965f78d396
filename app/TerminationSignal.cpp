#include "app/TerminationSignal.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zk {
namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: the event loop does the rest.
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void closeOnTerminationSignals(QWidget* mainWindow, std::function<bool()> pressRunning,
                               std::function<void()> requestStop) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, mainWindow);
    // Polled rather than waited on: the press runs in this same thread, pumping events.
    auto* closeWhenIdle = new QTimer(mainWindow);
    closeWhenIdle->setInterval(100);
    QObject::connect(closeWhenIdle, &QTimer::timeout, mainWindow, [=] {
        if (pressRunning && pressRunning()) return;
        closeWhenIdle->stop();
        mainWindow->close();
    });
    QObject::connect(notifier, &QSocketNotifier::activated, mainWindow, [=] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        if (requestStop) requestStop();
        if (!closeWhenIdle->isActive()) closeWhenIdle->start();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

} // namespace zk
