// The site check against the practice site: the check itself with the browser already started
// and logged in (what a run of 連続出品 or 一括再出品 waits for before its first item), and the
// whole `zerkon --check-site` command (its own headless browser started, logged in, ended).
#include "browser/Iectrl.h"
#include "browser/SiteCheck.h"
#include "fields/Fields.h"
#include "fields/SiteCheckRun.h"
#include "platform/Clock.h"
#include "site/DataFolder.h"
#include "site/SiteServer.h"
#include "workflow/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Running {
    QTemporaryDir dir;
    std::unique_ptr<zk::site::SiteServer> server;
    QString data;
};

Running& site() {
    static Running r;
    static const bool started = [] {
        zk::clock::now();
        r.server = std::make_unique<zk::site::SiteServer>(zk::site::SiteOptions{});
        if (!r.server->start().isEmpty()) return false;
        r.server->serve();
        r.data = r.dir.path() + "/data/";
        if (!zk::site::writeDataFolder(r.server->info(), r.data).isEmpty()) return false;
        return QFile::setPermissions(r.data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }();
    if (!started) std::abort();
    return r;
}

void CheckWithBrowserStarted(benchmark::State& state) {
    Running& r = site();
    zk::workflow::Settings settings;
    settings.setDataFolder(r.data);
    settings.read();
    zk::TFieldDefs defs;
    defs.LoadFromFolder(r.data);
    zk::TIECtrl ie;
    zk::chromium::BrowserSettings browser = zk::chromium::BrowserSettings::read(settings.file(), r.data);
    browser.headless = 1;
    ie.setSettings(browser);
    if (ie.FindOrLaunch() == 0) {
        state.SkipWithError("no browser");
        return;
    }
    ie.GetDocument();
    const auto input = zk::fields::siteCheckInput(settings, defs);
    for (auto _ : state) {
        const auto report = zk::browser::SiteCheck::run(ie, settings, input);
        if (report.outcome != zk::browser::SiteCheckReport::Outcome::AllHold) {
            state.SkipWithError("the check found a problem");
            break;
        }
        state.counters["elements"] = double(report.findings.size());
    }
    ie.Quit();
}
BENCHMARK(CheckWithBrowserStarted)->Unit(benchmark::kMillisecond)->Iterations(5);

void CheckSiteCommand(benchmark::State& state) {
    Running& r = site();
    for (auto _ : state) {
        QProcess zerkon;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZERKON_DATA_DIR", r.data);
        zerkon.setProcessEnvironment(env);
        zerkon.start(QCoreApplication::applicationDirPath() + "/zerkon", {"--check-site"});
        // Bounded: a check that does not end is ended by its own pid.
        if (!zerkon.waitForFinished(60000)) {
            zerkon.kill();
            zerkon.waitForFinished(10000);
            state.SkipWithError("the check did not end within 60 s");
            break;
        }
        if (zerkon.exitCode() != 0) {
            state.SkipWithError("the check did not exit 0");
            break;
        }
    }
}
BENCHMARK(CheckSiteCommand)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
