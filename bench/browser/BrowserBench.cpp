// Page operations of the browser session against a real headless Chromium: a bare round trip
// to the page (the floor of every operation) and the same field write sent raw (the floor of
// SetFormValue), the title, GetFormValue, SetFormValue, and a form
// of 30 fields; then the same operations through Playwright (playwright-core, driving the same
// Chromium program) on the same page, side by side.
#include "PageServer.h"
#include "bench/MedianReporter.h"
#include "Playwright.h"
#include "browser/Iectrl.h"
#include "platform/chromium/BrowserSettings.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/chromium/PageObject.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kBatches = 9;
constexpr int kCalls = 20;

QByteArray formPage() {
    QByteArray html = "<html><head><title>ベンチマーク</title></head><body><form>";
    for (int k = 1; k <= 30; ++k) html += "<p>項目" + QByteArray::number(k) + " <input name=\"f" + QByteArray::number(k) + "\"></p>";
    html += "</form></body></html>";
    return html;
}

using zk::bench::MedianReporter;

void configure(benchmark::internal::Benchmark* b) {
    b->Repetitions(kBatches)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond)->MinTime(0.2);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The batches of all operations in a random order: run one after another, the first ones
    // meet a page still settling after its load, and the floor (run first) read high.
    std::vector<char*> args(argv, argv + argc);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleaved);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());

    QTemporaryDir folder(QDir::tempPath() + "/zerkon-bench-XXXXXX");
    zk::test::PageServer server;
    server.setPage("/form", formPage());
    const QString url = server.url("/form");

    std::map<std::string, double> ours;
    {
        zk::TIECtrl ie;
        zk::chromium::BrowserSettings settings;
        settings.headless = 1;
        settings.profileFolder = folder.filePath("zerkon");
        ie.setSettings(settings);
        if (!ie.FindOrLaunch() || ie.GetDocument() != 0 || ie.NavigateWait(url) != 0) {
            std::fprintf(stderr, "the browser did not start\n");
            return 1;
        }
        // The floor: one round trip to the page that does nothing.
        configure(benchmark::RegisterBenchmark("RoundTrip", [&](benchmark::State& s) {
            for (auto _ : s) benchmark::DoNotOptimize(ie.session()->pageCall("Runtime.evaluate", {{"expression", "1"}}));
        }));
        configure(benchmark::RegisterBenchmark("GetTitle", [&](benchmark::State& s) {
            for (auto _ : s) benchmark::DoNotOptimize(ie.GetTitle());
        }));
        configure(benchmark::RegisterBenchmark("GetFormValue", [&](benchmark::State& s) {
            for (auto _ : s) benchmark::DoNotOptimize(ie.GetFormValue(0, "f1"));
        }));
        configure(benchmark::RegisterBenchmark("SetFormValue", [&](benchmark::State& s) {
            int i = 0;
            for (auto _ : s) ie.SetFormValue(0, "f1", QString("値%1").arg(i++));
        }));
        // The honest floor of a write: the same value set on the same field by one bare round
        // trip, so that the page's own work on a changed value is in it too.
        configure(benchmark::RegisterBenchmark("RawWrite", [&](benchmark::State& s) {
            int i = 0;
            for (auto _ : s) {
                const QString value = QString::fromUtf8(QJsonDocument(QJsonArray{QString("値%1").arg(i++)})
                                                            .toJson(QJsonDocument::Compact));
                benchmark::DoNotOptimize(ie.session()->pageCall(
                    "Runtime.evaluate",
                    {{"expression", "document.forms[0].elements.namedItem('f1').value = " + value.mid(1, value.size() - 2)}}));
            }
        }));
        // Where a raw write's cost beyond the round trip goes: the same write of a value the field
        // already holds, and of a changing value to a field that is on no page.
        configure(benchmark::RegisterBenchmark("RawWriteUnchanged", [&](benchmark::State& s) {
            for (auto _ : s)
                benchmark::DoNotOptimize(ie.session()->pageCall(
                    "Runtime.evaluate", {{"expression", "document.forms[0].elements.namedItem('f2').value = 'x'"}}));
        }));
        configure(benchmark::RegisterBenchmark("RawWriteOffPage", [&](benchmark::State& s) {
            int i = 0;
            for (auto _ : s)
                benchmark::DoNotOptimize(ie.session()->pageCall(
                    "Runtime.evaluate",
                    {{"expression", QString("(globalThis.__off = globalThis.__off || document.createElement('input'))"
                                            ".value = 'v%1'").arg(i++)}}));
        }));
        configure(benchmark::RegisterBenchmark("Fill30Fields", [&](benchmark::State& s) {
            int i = 0;
            for (auto _ : s) {
                for (int k = 1; k <= 30; ++k) ie.SetFormValue(0, QString("f%1").arg(k), QString("値%1").arg(i));
                ++i;
            }
        }));
        MedianReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        ours = reporter.medians;
        ie.Quit();
    }

    // Playwright on the same page.
    std::map<std::string, double> theirs;
    const QString modules = zk::bench::playwrightModules(QCoreApplication::applicationDirPath() + "/bench-node");
    const QString script = QString(ZERKON_BENCH_SOURCE_DIR) + "/playwright-bench.js";
    if (!modules.isEmpty()) {
        const QJsonObject r = QJsonDocument::fromJson(
            zk::bench::runNode(modules, script, {url, QString::number(kBatches), QString::number(kCalls)}, folder.path())
                .trimmed()).object();
        theirs["GetTitle"] = r.value("title").toDouble(-1);
        theirs["GetFormValue"] = r.value("getValue").toDouble(-1);
        theirs["SetFormValue"] = r.value("setValue").toDouble(-1);
        theirs["Fill30Fields"] = r.value("fill30").toDouble(-1);
    }

    std::printf("\nMedian time per operation (microseconds), same page, same Chromium program\n");
    std::printf("%-16s %12s %12s %14s\n", "operation", "Zerkon", "Playwright", "x round trip");
    const double floor = ours.count("RoundTrip") ? ours["RoundTrip"] : -1;
    for (const char* op : {"RoundTrip", "RawWrite", "GetTitle", "GetFormValue", "SetFormValue", "Fill30Fields"}) {
        const double a = ours.count(op) ? ours[op] : -1;
        const double b = theirs.count(op) ? theirs[op] : -1;
        std::printf("%-16s %12.1f %12s %14.2f\n", op, a, b < 0 ? "n/a" : QByteArray::number(b, 'f', 1).constData(),
                    floor > 0 ? a / floor : -1);
    }
    // The floor of every page operation is the bare round trip measured in the same run.
    for (const char* op : {"GetTitle", "GetFormValue", "SetFormValue"})
        if (ours.count(op) && floor > 0) std::printf("%s ratio to floor: %.2f\n", op, ours[op] / floor);
    // A write's own floor: the same write sent raw.
    if (ours.count("SetFormValue") && ours.count("RawWrite") && ours["RawWrite"] > 0)
        std::printf("SetFormValue over raw write ratio to floor: %.2f\n", ours["SetFormValue"] / ours["RawWrite"]);
    if (ours.count("RawWriteUnchanged") && ours.count("RawWriteOffPage") && floor > 0)
        std::printf("a raw write of the value the field holds %.1f us (%.2f), of a changing value to a field on no page "
                    "%.1f us (%.2f): the rest of a write is the page's own work on its changed field\n",
                    ours["RawWriteUnchanged"], ours["RawWriteUnchanged"] / floor, ours["RawWriteOffPage"],
                    ours["RawWriteOffPage"] / floor);
    benchmark::Shutdown();
    return 0;
}
