// 商品名収集 over a practice site of 2,500 current and 2,500 sold items (50 a page), with the real
// headless browser and office: seconds per collection and rows per second for the current and
// the sold list, then the same page walk through Playwright on the same site.
// Usage: collect_bench [runs per list, default 2]
#include "Playwright.h"
#include "browser/Iectrl.h"
#include "browser/SiteLogin.h"
#include "collect/CollectionRules.h"
#include "collect/ItemCollection.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Signals.h"
#include "sheet/Excel.h"
#include "workflow/Panel.h"
#include "workflow/Shared.h"
#include "workflow/SystemIni.h"
#include "../../tests/site/SiteProcess.h"
#include "tests/support/NullPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
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
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 2;

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
    zk::workflow::Shared shared;
    shared.Settings.setDataFolder(folder.filePath("data") + "/");
    if (shared.Settings.read() != zk::workflow::Settings::Read::Ok) return fail("System.ini unreadable");
    zk::TIECtrl ie;
    zk::sheet::TExcel excel;
    shared.IE = &ie;
    shared.Excel = &excel;
    BenchPanel panel;
    zk::SiteLogin(shared, panel).StartIEClick();
    if (!shared.IEConnected) return fail("the browser did not start");

    struct Result {
        const char* list;
        QList<double> seconds;
        int rows = 0;
        double playwright = -1;
        int playwrightRows = 0;
    };
    Result results[] = {{"current", {}}, {"sold", {}}};
    for (int m = 0; m < 2; ++m) {
        panel.mode = m;
        for (int r = 0; r < runs; ++r) {
            zk::MessageService::instance().setAnswers({"Yes"});
            zk::MessageService::instance().clearTranscript();
            QElapsedTimer timer;
            timer.start();
            zk::collect::ItemCollection(shared, panel).ShuppinCollectionClick();
            results[m].seconds << timer.nsecsElapsed() / 1e9;
            results[m].rows = shared.Row.CurrentRow - zk::collect::ItemCollection::FirstItemRow;
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
        const QString marker = zk::collect::itemPageMarker(shared.Settings.auctionHost());
        for (int m = 0; m < 2; ++m) {
            const zk::collect::CollectionList list =
                zk::collect::collectionList(m, shared.Settings.value(zk::workflow::ini::ShuppinChuuUrl),
                                            shared.Settings.value(zk::workflow::ini::ShuppinEndUrl));
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
    std::printf("%-8s %6s %28s %12s %14s %9s\n", "list", "rows", "seconds per collection", "rows/s (best)",
                "Playwright s", "ratio");
    for (const Result& r : results) {
        QStringList each;
        double best = 1e9;
        for (double s : r.seconds) {
            each << QString::number(s, 'f', 2);
            best = qMin(best, s);
        }
        std::printf("%-8s %6d %28s %12.0f %14s %9s\n", r.list, r.rows, qPrintable(each.join(" ")), r.rows / best,
                    r.playwright < 0 ? "n/a" : qPrintable(QString::number(r.playwright, 'f', 2) + " (" +
                                                          QString::number(r.playwrightRows) + ")"),
                    r.playwright <= 0 ? "n/a" : qPrintable(QString::number(best / r.playwright, 'f', 2)));
    }
    return 0;
}
