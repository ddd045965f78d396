#pragma once
// One headless Chromium for a whole suite, started by the session as the program starts it,
// with its own profile folder; ended with the suite (also when a test fails).
#include "PageServer.h"
#include "support/TempFolder.h"
#include "browser/Iectrl.h"
#include "platform/chromium/BrowserSettings.h"

#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace zk::test {

// A browser leaves some files read-only in its profile; the folder must still go.
inline void makeRemovable(const QString& folder) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner | QFile::ExeOwner);
    }
}

inline chromium::BrowserSettings headlessSettings(const QString& profileFolder) {
    chromium::BrowserSettings s;
    s.headless = 1;
    s.profileFolder = profileFolder;
    return s;
}

class BrowserSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        server_ = new PageServer;
        ie_ = new TIECtrl;
        ie_->setSettings(headlessSettings(folder_->path()));
        window_ = ie_->FindOrLaunch();
    }
    static void TearDownTestSuite() {
        delete ie_; // ends the browser it started
        delete server_;
        makeRemovable(folder_->path());
        delete folder_;
        ie_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(window_, 0u) << "the browser did not start"; }

    static TempFolder* folder_;
    static PageServer* server_;
    static TIECtrl* ie_;
    static WindowHandle window_;
};

} // namespace zk::test
