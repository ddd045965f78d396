#pragma once
// The end-to-end fixture: the practice site with a data folder of its own, and for each test a
// data folder and registry of the test's own in which the main window starts offscreen as the
// program starts it (the real browser, headless, with its own profile).
#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "SiteProcess.h"
#include "support/PanelDriver.h"
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
    // Constructs the window (a TMain when none is given) and waits, bounded, for its
    // start-up step; startLoggedIn also requires the browser started and logged in.
    void startWindow(std::unique_ptr<TMain> window = {});
    void startLoggedIn(std::unique_ptr<TMain> window = {});

    // The window's controls, found and worked as a user does.
    PanelDriver panel() const { return PanelDriver(*main_); }
    template <class T = QWidget>
    T* control(const QString& name) const {
        return panel().find<T>(name);
    }
    TIECtrl& ie() { return *main_->services().browser.IE; }
    // The texts of every box shown so far.
    QStringList texts() const;

    TempFolder dir_;
    ScopedEnv data_;
    ScopedEnv registry_;
    std::unique_ptr<TMain> main_;
};

// An end-to-end suite whose tests share one practice site, started once for the suite (a start
// costs seconds); a suite that wants other site arguments calls startSite from its own
// SetUpTestSuite.
class SiteSuiteTest : public EndToEndTest {
protected:
    static void SetUpTestSuite() { startSite(); }
    static void TearDownTestSuite();
    static void startSite(const QStringList& arguments = {});
    static inline PracticeSite* site = nullptr;
};

} // namespace zk::test
