// A program that starts a headless office of ours, prints the office's process id and its
// profile, and waits to be killed: the office must not outlive it.
#include "platform/Signals.h"
#include "platform/calc/Office.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    zk::ignoreBrokenPipes();
    QCoreApplication app(argc, argv);
    zk::calc::Office::Options options;
    options.headless = true;
    if (argc > 1) options.profileFolder = QString::fromLocal8Bit(argv[1]);
    zk::calc::Office office(options);
    std::printf("%d\n", int(office.processId()));
    std::fflush(stdout);
    // Bounded, in case nobody kills us.
    QThread::sleep(120);
    return 0;
}
