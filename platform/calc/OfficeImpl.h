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
    QStringList pipes; // the sockets the office has bound, removed if it leaves them behind
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
    // The office's temporary files go to a folder of its profile, not the shared one, so that
    // none outlives a killed office.
    QString tempFolder() const { return profile + QStringLiteral("/tmp"); } // only once a profile is chosen
    // After the office has ended: what it leaves behind when it is killed.
    void removeLeftovers();
    void removeTempFiles();
};

} // namespace zk::calc
