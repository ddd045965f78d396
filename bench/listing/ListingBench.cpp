// The item set and the listing presses through the main window against the practice site and a
// headless Chromium, beside their floor: the fixed waits the steps must keep (200, 300 and
// 200 ms around the closing date and time) plus the two page loads they cause (entry form to
// confirmation page, confirmation page to completion page), measured in the same run on the
// same site by pressing the two buttons directly on a form filled beforehand.
#include "app/Mainforinst.h"
#include "browser/Iectrl.h"
#include "platform/MessageService.h"
#include "platform/Signals.h"
#include "../../tests/site/SiteProcess.h"
#include "ui_Mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include "workflow/Pause.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/Cp932.h"

namespace {

constexpr int kFixedWaitsMs = 200 + 300 + 200;

zk::test::SiteProcess* site = nullptr;
zk::TMainForInst1* panel = nullptr;
QString category;
std::vector<double> stepSeconds, floorSeconds;

QString readCp932(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? zk::cp932::toUnicode(file.readAll()) : QString();
}

zk::TIECtrl& ie() { return *panel->shared().IE; }

int entryForm() {
    ie().SelectByTagName("form");
    const int n = ie().GetListLength();
    for (int k = 0; k < n; ++k)
        if (ie().ItemHasInput(k, "price_start") == 1) return k;
    return -1;
}

// A fresh entry form of the category with what the upload writes.
bool openEntryForm() {
    panel->GotoGategory(category);
    const int form = entryForm();
    if (form < 0) return false;
    ie().SetFormValue(form, "item_title", QString::fromUtf8("ベンチマーク"));
    ie().SetFormValue(form, "item_description", "bench");
    return true;
}

void BM_ItemSetAndListing(benchmark::State& state) {
    for (auto _ : state) {
        if (!openEntryForm()) {
            state.SkipWithError("no entry form");
            return;
        }
        QElapsedTimer t;
        t.start();
        panel->ui()->SetShuppin->click();
        panel->ui()->Exhibit->click();
        const double s = t.nsecsElapsed() / 1e9;
        if (!ie().GetUrl().contains("/jp/config/submit")) {
            state.SkipWithError("not listed");
            return;
        }
        stepSeconds.push_back(s);
        state.SetIterationTime(s);
    }
}

void BM_Floor(benchmark::State& state) {
    for (auto _ : state) {
        if (!openEntryForm()) {
            state.SkipWithError("no entry form");
            return;
        }
        // Filled without keys or waits: the first offered date and hour, a start price.
        const int form = entryForm();
        ie().SetFormValue(form, "price_start", "1000");
        ie().CheckFormRadio(form, "salesmode", 0);
        ie().SetFormSelectedIndex(form, "ClosingDate", 2);
        ie().SetFormSelectedIndex(form, "ClosingTime", 5);
        QElapsedTimer t;
        t.start();
        ie().SelectById("auc_submit1");
        ie().ClickSelected();
        ie().WaitComplete(10);
        ie().SelectByTagName("input");
        const int n = ie().GetListLength();
        for (int i = n - 1; i >= 0; --i) {
            if (ie().GetItemAttribute(i, "value") != QString::fromUtf8("利用規約とガイドラインに同意して出品する")) continue;
            ie().NarrowToItem(i);
            ie().ClickSelected();
            break;
        }
        ie().WaitComplete(10);
        const double s = t.nsecsElapsed() / 1e9 + kFixedWaitsMs / 1000.0;
        if (!ie().GetUrl().contains("/jp/config/submit")) {
            state.SkipWithError("not listed");
            return;
        }
        floorSeconds.push_back(s);
        state.SetIterationTime(s);
    }
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    zk::ignoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("ZERKON_DATA_DIR", (home.path() + "/data").toLocal8Bit());
    qputenv("ZERKON_REGISTRY_FILE", (home.path() + "/registry.ini").toLocal8Bit());
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    QTemporaryDir siteData;
    zk::test::SiteProcess siteProcess({"--data-folder", siteData.path()});
    const QString error = siteProcess.start();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "site: %s\n", qPrintable(error));
        return 1;
    }
    site = &siteProcess;
    for (int i = 0; i < 100 && !QFile::exists(siteData.path() + "/FieldsDefine.ini"); ++i) zk::workflow::pause(50);
    QDir().mkpath(home.path() + "/data");
    QString ini = readCp932(siteData.path() + "/System.ini");
    ini.replace(QRegularExpression("EXCEL_DIR=[^\r\n]*"), "EXCEL_DIR=" + home.path());
    ini += "\r\n[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + home.path() + "/profile\r\n";
    for (const auto& [name, text] : {std::pair{QString("System.ini"), ini},
                                     std::pair{QString("FieldsDefine.ini"), readCp932(siteData.path() + "/FieldsDefine.ini")}}) {
        QFile out(home.path() + "/data/" + name);
        if (!out.open(QIODevice::WriteOnly)) return 1;
        out.write(zk::cp932::fromUnicode(text));
    }
    QFile::copy(siteData.path() + "/category.txt", home.path() + "/data/category.txt");

    zk::MessageService::instance().setAnswers({});
    auto main = std::make_unique<zk::TMainForInst1>();
    panel = main.get();
    QElapsedTimer waited;
    waited.start();
    while (!main->startupRan() && !main->ended() && waited.elapsed() < 60000) zk::workflow::pause(20);
    if (main->ended() || main->shared().IEConnected != 1) {
        std::fprintf(stderr, "the panel did not start\n");
        return 1;
    }
    // The first coded category of the site's list; a middle date and hour, no jitter.
    QFile categoryFile(siteData.path() + "/category.txt");
    categoryFile.open(QIODevice::ReadOnly);
    const QByteArray categories = categoryFile.readAll();
    const QRegularExpression coded("\\^/(\\d+)");
    category = coded.match(QString::fromLatin1(categories)).captured(1);
    main->ui()->ClosingDate->setCurrentIndex(2);
    main->closingTime().ClosingDateChange();
    main->ui()->ClosingTime->setCurrentIndex(5);
    main->closingTime().ClosingTimeChange();
    main->ui()->TimeSway->setItemIndex(1);

    benchmark::RegisterBenchmark("ItemSetAndListing", BM_ItemSetAndListing)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Floor", BM_Floor)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();

    const double steps = median(stepSeconds), floor = median(floorSeconds);
    std::printf("item set + listing: %.0f ms (median of %zu)\nfloor (fixed waits %d ms + two page loads): %.0f ms (median of %zu)\nratio: %.2f\n",
                steps * 1000, stepSeconds.size(), kFixedWaitsMs, floor * 1000, floorSeconds.size(),
                floor > 0 ? steps / floor : 0.0);
    if (!zk::MessageService::instance().transcript().isEmpty())
        std::printf("messages shown: %lld\n", qlonglong(zk::MessageService::instance().transcript().size()));
    main.reset();
    return 0;
}
