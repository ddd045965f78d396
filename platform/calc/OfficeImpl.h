#pragma once
// The inside of an Office, shared by the calc layer's own files.
#include "CallWatchdog.h"
#include "Office.h"
#include "OfficeProcess.h"
#include "Uno.h"

#include <QLockFile>
#include <atomic>
#include <memory>

namespace zk::calc {

struct Office::Impl {
    Options options;
    OfficeProcess process;
    CallWatchdog watchdog;
    std::unique_ptr<QLockFile> profileLock;
    QString profile;
    QString pipe;
    Reference<css::uno::XComponentContext> remote;
    bool dead = true;
    bool pipeTaken = false; // someone else listens on the pipe: no second try
    CallGate gate;
    std::shared_ptr<std::atomic<bool>> veto = std::make_shared<std::atomic<bool>>(false);

    void chooseProfile();
    bool reclaimOrphan(const QString& folder);
    void start();
    void launch();
    void connect();
};

} // namespace zk::calc
