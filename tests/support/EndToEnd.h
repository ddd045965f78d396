#pragma once
// The end-to-end fixture: the practice site with a data folder of its own, and for each test a
// data folder and registry of the test's own in which the main window starts offscreen as the
// program starts it (the real browser, headless, with its own profile).
#include "app/Mainforinst.h"
#include "browser/Iectrl.h"
#include "SiteProcess.h"
#include "support/TempFolder.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zk::test {

namespace detail {
// Made before the site process, which is told where to write its data files.
struct SiteDataFolder {
    QTemporaryDir data;
};
} // namespace detail

class PracticeSite : private detail::SiteDataFolder, public SiteProcess {
public:
    explicit PracticeSite(const QStringList& arguments = {});
    // Starts the site and waits (bounded) for its data files. Error text on failure.
    QString start();
    QString dataFile(const QString& name) const { return data.path() + "/" + name; }
    // One of its data files read as CP932.
    QString dataText(const QString& name) const;
    // Its System.ini with workbooks in `excelDir` and a headless browser with `profile`.
    QString systemIni(const QString& excelDir, const QString& profile) const;
};

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest();
    ~EndToEndTest() override;

    // data/System.ini from the site's (workbooks in `excelDir`, the browser profile in the test
    // folder) and data/FieldsDefine.ini.
    void writeDataFolder(const PracticeSite& site, const QString& excelDir, const QString& fields);
    // Constructs the window (a TMainForInst1 when none is given) and waits, bounded, for its
    // start-up step; startLoggedIn also requires the browser started and logged in.
    void startWindow(std::unique_ptr<TMainForInst1> window = {});
    void startLoggedIn(std::unique_ptr<TMainForInst1> window = {});

    Ui::TMain& ui() { return *main_->ui(); }
    TIECtrl& ie() { return *main_->shared().IE; }
    // The texts of every box shown so far.
    QStringList texts() const;

    TempFolder dir_;
    ScopedEnv data_;
    ScopedEnv registry_;
    std::unique_ptr<TMainForInst1> main_;
};

} // namespace zk::test
