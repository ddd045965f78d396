// 商品名収集 over a practice site of 2,500 current and 2,500 sold items (50 a page), with the real
// headless browser and office: seconds per collection and rows per second for the current and
// the sold list, beside its floor (the same page walk and reads by the same browser session with
// no office at all), each collection also against the floor walk just before it, with the
// office's processor time; then the same page walk through Playwright on the same site.
// Usage: collect_bench [runs per list, default 3]
#include "Playwright.h"
#include "bench/ProcessTime.h"
#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "collect/CollectionRules.h"
#include "collect/ItemCollection.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Signals.h"
#include "sheet/Excel.h"
#include "workflow/Panel.h"
#include "workflow/Services.h"
#include "workflow/SystemIni.h"
#include "../../tests/site/SiteProcess.h"
#include "tests/support/NullPanel.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kItems = 2500;
constexpr int kPageSize = 50;

// The panel of an unattended run: the list to collect, and nothing shown.
class BenchPanel : public zk::test::NullPanel {
public:
    int mode = 0;
    int collectionMode() const override { return mode; }
};

// The collection's own page walk and reads with nothing written: the rows it reads.
int browserWalk(zk::TIECtrl& ie, const zk::collect::CollectionList& list, const QString& marker) {
    const auto loaded = [&] {
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            if (!ie.IsBusy() && ie.Document.get("ReadyState").toString() == QLatin1String("complete")) return true;
            QThread::msleep(5);
            QCoreApplication::processEvents();
        }
        return false;
    };
    int rows = 0;
    ie.StartNavigation(list.startAddress);
    for (int page = 1;; ++page) {
        if (!loaded() || ie.SelectByTagName("A") != 0) return -1;
        const int count = ie.GetListLength();
        int found = 0;
        for (int i = 0; i < count; ++i) {
            const QString address = ie.GetItemAttribute(i, QStringLiteral("href"));
            if (!zk::collect::isItemLink(address, marker)) continue;
            const QString title = ie.GetItemText(i);
            if (title.isEmpty()) continue;
            QVariantList cells{page, found + 1, zk::collect::auctionIdOf(address), title, QVariant()};
            if (list.mode == zk::collect::CollectionMode::Sold) {
                QString price, next;
                if (ie.GetItemCellTexts(i, price, next) >= 1) cells << zk::collect::cutYen(price);
            }
            ++found;
        }
        if (found == 0) return rows;
        rows += found;
        ie.StartNavigation(zk::collect::pageAddress(list.startAddress, page + 1));
    }
}

int fail(const char* what) {
    std::fprintf(stderr, "collect_bench: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    zk::ignoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZERKON_OFFICE_HEADLESS", "1");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 3;

    QTemporaryDir folder(QDir::tempPath() + "/zerkon-collect-bench-XXXXXX");
    qputenv("ZERKON_DOCUMENTS_DIR", folder.filePath("docs").toLocal8Bit());
    zk::test::SiteProcess site({"--data-folder", folder.filePath("data"), "--current", QString::number(kItems), "--sold",
                                QString::number(kItems), "--unsold", "0", "--page-size", QString::number(kPageSize)});
    if (!site.start().isEmpty()) return fail("the practice site did not start");
    for (int i = 0; i < 200 && !QFile::exists(folder.filePath("data/System.ini")); ++i) QThread::msleep(25);

    // The site's System.ini, with a headless browser of our own profile.
    {
        QFile file(folder.filePath("data/System.ini"));
        if (!file.open(QIODevice::ReadWrite)) return fail("no System.ini");
        QString text = zk::cp932::toUnicode(file.readAll());
        text.replace(QRegularExpression("EXCEL_DIR=[^\r\n]*"), "EXCEL_DIR=" + folder.path());
        text += "\r\n[BROWSER]\r\nHEADLESS=1\r\nPROFILE=" + folder.filePath("profile") + "\r\n";
        file.resize(0);
        file.write(zk::cp932::fromUnicode(text));
    }

    zk::MessageService::instance().setAnswers({});
    zk::workflow::Services services;
    services.settings.setDataFolder(folder.filePath("data") + "/");
    if (services.settings.read() != zk::workflow::Settings::Read::Ok) return fail("System.ini unreadable");
    zk::TIECtrl ie;
    zk::sheet::TExcel excel;
    services.browser.IE = &ie;
    services.book.Excel = &excel;
    BenchPanel panel;
    zk::SiteLogin(services.browser, services.settings, panel).StartIEClick();
    if (!services.browser.IEConnected) return fail("the browser did not start");

    struct Result {
        const char* list = "";
        QList<double> seconds;
        int rows = 0;
        QList<double> floor; // the browser walk alone
        QList<double> officeCpu; // seconds of the office's processor time in each collection
        int floorRows = 0;
        double playwright = -1;
        int playwrightRows = 0;
    };
    Result results[2];
    results[0].list = "current";
    results[1].list = "sold";
    const QString marker = zk::collect::itemPageMarker(services.settings.auctionHost());
    for (int m = 0; m < 2; ++m) {
        panel.mode = m;
        const zk::collect::CollectionList list =
            zk::collect::collectionList(m, services.settings.value(zk::workflow::ini::ShuppinChuuUrl),
                                        services.settings.value(zk::workflow::ini::ShuppinEndUrl));
        for (int r = 0; r < runs; ++r) {
            // The floor and the collection alternate, so that both see the same load.
            QElapsedTimer walk;
            walk.start();
            results[m].floorRows = browserWalk(ie, list, marker);
            results[m].floor << walk.nsecsElapsed() / 1e9;

            zk::MessageService::instance().setAnswers({"Yes"});
            zk::MessageService::instance().clearTranscript();
            // The office of the first collection starts within it: its start counts.
            const auto officePid = [&] {
                return excel.ExcelApp ? pid_t(excel.ExcelApp->office().processId()) : pid_t(0);
            };
            const double cpuBefore = zk::bench::processCpuMs(officePid());
            QElapsedTimer timer;
            timer.start();
            zk::collect::ItemCollection(services.browser, services.book, services.settings, panel)
                .ShuppinCollectionClick();
            results[m].seconds << timer.nsecsElapsed() / 1e9;
            results[m].officeCpu << (zk::bench::processCpuMs(officePid()) - cpuBefore) / 1000.0;
            results[m].rows = services.book.Row.CurrentRow - zk::collect::ItemCollection::FirstItemRow;
            const auto& shown = zk::MessageService::instance().transcript();
            if (shown.isEmpty() || shown.last()["text"].toString() != QString::fromUtf8("収集が完了しました。"))
                std::fprintf(stderr, "collect_bench: the %s collection did not complete\n", results[m].list);
        }
    }
    excel.CloseBook();
    excel.Quit();
    ie.Quit();

    // The same walk through Playwright.
    const QString modules = zk::bench::playwrightModules(QCoreApplication::applicationDirPath() + "/bench-node");
    if (!modules.isEmpty()) {
        for (int m = 0; m < 2; ++m) {
            const zk::collect::CollectionList list =
                zk::collect::collectionList(m, services.settings.value(zk::workflow::ini::ShuppinChuuUrl),
                                            services.settings.value(zk::workflow::ini::ShuppinEndUrl));
            std::string handoff;
            const int status = site.control("session", "", &handoff);
            if (status != 200) std::fprintf(stderr, "collect_bench: no session for Playwright (%d)\n", status);
            const QJsonObject r = QJsonDocument::fromJson(
                zk::bench::runNode(modules, QString(ZERKON_BENCH_SOURCE_DIR) + "/playwright-walk.js",
                                   {QString::fromStdString(handoff).trimmed(), list.startAddress, marker,
                                    m == 1 ? "1" : "0", site.info().hostResolverRules()},
                                   folder.path())
                    .trimmed()).object();
            results[m].playwright = r.value("seconds").toDouble(-1);
            results[m].playwrightRows = r.value("rows").toInt();
        }
    }

    std::printf("\n商品名収集, %d items a list, %d a page (headless Chromium and office)\n", kItems, kPageSize);
    std::printf("%-8s %6s %22s %22s %8s %16s %9s\n", "list", "rows", "seconds per collection", "floor (no office) s",
                "ratio", "Playwright s", "ratio");
    const auto best = [](const QList<double>& seconds) {
        double b = 1e9;
        for (double s : seconds) b = qMin(b, s);
        return b;
    };
    const auto each = [](const QList<double>& seconds) {
        QStringList texts;
        for (double s : seconds) texts << QString::number(s, 'f', 2);
        return texts.join(" ");
    };
    // Each collection against the floor walk just before it, which met the same load: the median
    // of these is the figure that holds on a busy machine, where the best of each may come from
    // runs far apart.
    const auto pairRatios = [](const Result& r) {
        QList<double> ratios;
        for (int k = 0; k < r.seconds.size() && k < r.floor.size(); ++k) ratios << r.seconds[k] / r.floor[k];
        std::sort(ratios.begin(), ratios.end());
        return ratios;
    };
    const auto median = [](const QList<double>& sorted) {
        const qsizetype n = sorted.size();
        return n == 0 ? -1.0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    };
    for (const Result& r : results) {
        if (r.floorRows != r.rows) std::fprintf(stderr, "collect_bench: the floor read %d rows\n", r.floorRows);
        std::printf("%-8s %6d %22s %22s %8.2f %16s %9s\n", r.list, r.rows, qPrintable(each(r.seconds)),
                    qPrintable(each(r.floor)), best(r.seconds) / best(r.floor),
                    r.playwright < 0 ? "n/a" : qPrintable(QString::number(r.playwright, 'f', 2) + " (" +
                                                          QString::number(r.playwrightRows) + ")"),
                    r.playwright <= 0 ? "n/a" : qPrintable(QString::number(best(r.seconds) / r.playwright, 'f', 2)));
    }
    std::printf("(best of each; the floor is the same page walk and reads by the same browser session, nothing "
                "written)\n");
    for (const Result& r : results) {
        QStringList ratios;
        for (double x : pairRatios(r)) ratios << QString::number(x, 'f', 2);
        std::printf("%-8s each run against the floor just before it: %s (median %.2f); the office's processor "
                    "time per collection: %s s\n",
                    r.list, qPrintable(ratios.join(" ")), median(pairRatios(r)), qPrintable(each(r.officeCpu)));
    }
    for (const Result& r : results)
        std::printf("%s collection ratio to floor: %.2f\n", r.list, median(pairRatios(r)));
    return 0;
}
