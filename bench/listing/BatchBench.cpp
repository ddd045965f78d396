// "連続出品" of 20 rows with 2 pictures each on the practice site, through the main window with
// a headless Chromium and the office, beside its floor: the waits the steps prescribe (the
// category's Enter, each picture's chooser keys, the closing date and time) plus the page loads
// and picture uploads one listing needs, measured in the same run by driving the same pages
// directly (the pictures handed to the file inputs, no keys, no waits). It prints the run's time
// before its first row (rows read, the check, the site check), its rows beside the floor's, and
// "batch listing ratio to floor: <x>" last.
#include "BenchDataFolder.h"
#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "category/CategoryNavigation.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Signals.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "workflow/Pause.h"
#include "workflow/SystemIni.h"
#include "../../tests/site/SiteProcess.h"
#include "../../tests/support/PanelDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRows = 20;
constexpr int kPictures = 2;
// Per listing: the category's Enter and confirm (100 + 50), each picture's focus, Tab, Space,
// paste and Enter (100 + 100 + 200 + 200 + 50), the upload's send (100) and title (100), the
// closing date and time (200 + 300 + 200).
constexpr int kFixedWaitsMs = 150 + kPictures * 650 + 100 + 100 + 700;

// Hands a file to a file input of the page, as the chooser would.
bool setFile(zk::TIECtrl& ie, const QString& input, const QString& path) {
    zk::chromium::ChromiumBrowser* browser = ie.session();
    if (!browser) return false;
    const int root = browser->pageCall("DOM.getDocument").value("root").toObject().value("nodeId").toInt();
    const int node = browser->pageCall("DOM.querySelector", {{"nodeId", root}, {"selector", "input[name=" + input + "]"}})
                         .value("nodeId")
                         .toInt();
    if (node == 0) return false;
    browser->pageCall("DOM.setFileInputFiles", {{"nodeId", node}, {"files", QJsonArray{path}}});
    return true;
}

// Why a floor listing stopped: the step and what the page said.
int floorFailed(zk::TIECtrl& ie, const char* step) {
    const QJsonObject page = ie.session()->pageCall("Runtime.evaluate", {{"expression", "document.body.innerText"}});
    std::fprintf(stderr, "floor: %s at %s: %s\n", step, qPrintable(ie.GetUrl()),
                 qPrintable(page.value("result").toObject().value("value").toString().simplified()));
    return -1;
}

// One listing's page loads and uploads, driven directly; their time in seconds, or -1 (said).
double floorListing(zk::TIECtrl& ie, const QString& entryUrl, const QStringList& pictures) {
    QElapsedTimer t;
    qint64 loads = 0;
    auto timed = [&](const std::function<void()>& load) {
        t.restart();
        load();
        loads += t.nsecsElapsed();
    };
    timed([&] {
        ie.NavigateWait(entryUrl);
        ie.ClickFormItem(0, "auc_insertion_ok");
        ie.WaitComplete(10);
    });
    ie.SelectByTagName("input");
    int toPictures = -1;
    for (int i = 0; i < ie.GetListLength() && toPictures < 0; ++i)
        if (ie.GetItemAttribute(i, "value") == QString::fromUtf8("画像登録画面へ")) toPictures = i;
    if (toPictures < 0) return floorFailed(ie, "no picture page button");
    ie.NarrowToItem(toPictures);
    timed([&] {
        ie.ClickSelected();
        ie.WaitComplete(10);
    });
    for (int k = 0; k < pictures.size(); ++k)
        if (!setFile(ie, "ImageFile" + QString::number(k + 1), pictures[k])) return floorFailed(ie, "no file input");
    timed([&] {
        ie.SubmitForm(0, 0);
        ie.WaitIdle(20);
        ie.SubmitForm(1, 0);
        ie.WaitIdle(20);
    });
    int form = -1;
    ie.SelectByTagName("form");
    for (int k = 0; k < ie.GetListLength() && form < 0; ++k)
        if (ie.ItemHasInput(k, "price_start") == 1) form = k;
    if (form < 0) return floorFailed(ie, "no listing form");
    ie.SetFormValue(form, "item_title", QString::fromUtf8("下限"));
    ie.SetFormValue(form, "price_start", "1000");
    ie.CheckFormRadio(form, "salesmode", 0);
    ie.SetFormSelectedIndex(form, "ClosingDate", 2);
    // The hour list is the chosen date's once the page has rebuilt it, as a seller's choice of the
    // date does; an hour of another date's list is refused on the confirm press.
    ie.session()->pageCall("Runtime.evaluate", {{"expression", "zkFillTimes()"}});
    ie.SetFormSelectedIndex(form, "ClosingTime", 5);
    timed([&] {
        ie.SelectById("auc_submit1");
        ie.ClickSelected();
        ie.WaitComplete(10);
    });
    ie.SelectByTagName("input");
    int agree = -1;
    for (int i = ie.GetListLength() - 1; i >= 0 && agree < 0; --i)
        if (ie.GetItemAttribute(i, "value") == QString::fromUtf8("利用規約とガイドラインに同意して出品する")) agree = i;
    if (agree < 0) return floorFailed(ie, "no agree button");
    ie.NarrowToItem(agree);
    timed([&] {
        ie.ClickSelected();
        ie.WaitComplete(10);
    });
    if (!ie.GetUrl().contains("/jp/config/submit")) return floorFailed(ie, "not listed");
    return loads / 1e9;
}

// The moment (seconds into the run) each named window of ours is first shown.
class ShownAt : public QObject {
public:
    explicit ShownAt(const QElapsedTimer& run) : run_(run) {}
    QHash<QString, double> at;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() && !at.contains(object->objectName()))
            at.insert(object->objectName(), run_.nsecsElapsed() / 1e9);
        return false;
    }

private:
    const QElapsedTimer& run_;
};

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    zk::bench::setBenchEnvironment(home.path());
    QApplication app(argc, argv);

    QTemporaryDir siteData;
    zk::test::SiteProcess site({"--data-folder", siteData.path()});
    const QString error = site.start();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "site: %s\n", qPrintable(error));
        return 1;
    }
    if (!zk::bench::seedDataFolder(siteData.path(), home.path())) return 1;

    // The sheet (made by the office from CSV) and the pictures: two per row, two for the floor.
    QDir().mkpath(home.path() + "/books");
    QFile csv(home.path() + "/books/items.csv");
    if (!csv.open(QIODevice::WriteOnly)) return 1;
    csv.write(QString::fromUtf8("オークションID,商品名,出品日時,説明1,説明2,開始価格,即決価格\n").toUtf8());
    for (int r = 0; r < kRows; ++r)
        csv.write(QString::fromUtf8(",ベンチマーク品 %1,,良品です,箱付き,%2,\n").arg(r + 1).arg(1000 + r).toUtf8());
    csv.close();
    QProcess::execute("/usr/lib/libreoffice/program/soffice",
                      {"--headless", "--norestore", "-env:UserInstallation=file://" + home.path() + "/convert-profile",
                       "--infilter=CSV:44,34,76,1", "--convert-to", "xlsx", "--outdir", home.path() + "/books",
                       csv.fileName()});
    const QString book = home.path() + "/books/items.xlsx";
    if (!QFile::exists(book)) {
        std::fprintf(stderr, "the sheet was not made\n");
        return 1;
    }
    QDir().mkpath(home.path() + "/pictures");
    QStringList floorPictures;
    for (int i = 0; i < kRows * kPictures + kPictures; ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 23 % 360, 120, 230));
        const QString path = home.path() + QStringLiteral("/pictures/p%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
        picture.save(i < kRows * kPictures ? path : home.path() + QStringLiteral("/floor%1.jpg").arg(i), "JPEG", 85);
        if (i >= kRows * kPictures) floorPictures << home.path() + QStringLiteral("/floor%1.jpg").arg(i);
    }

    auto main = zk::bench::startPanel();
    if (!main) return 1;
    const zk::test::PanelDriver controls(*main);
    zk::MessageService::instance().setAnswers({book, "OK"});
    controls.click("StartExcel");
    if (main->services().book.ExcelState != 1) {
        std::fprintf(stderr, "the workbook did not open\n");
        return 1;
    }
    main->services().book.Row.choose(2);
    QFile categoryFile(siteData.path() + "/category.txt");
    categoryFile.open(QIODevice::ReadOnly);
    const QString category =
        QRegularExpression("\\^/(\\d+)").match(QString::fromLatin1(categoryFile.readAll())).captured(1);
    zk::category::CategoryNavigation navigation(main->services().browser, main->services().carry, main->services().settings, *main);
    main->guardPress([&] { navigation.GotoGategory(category); });
    controls.choose("ClosingDate", 2);
    controls.choose("ClosingTime", 5);
    controls.find<zk::RadioGroup>("TimeSway")->setItemIndex(1);
    controls.find<QSlider>("TrackBar1")->setValue(kPictures);

    zk::MessageService::instance().clearTranscript();
    zk::MessageService::instance().setAnswers({home.path() + "/pictures/p001.jpg", "ContinueButton"});
    QElapsedTimer run;
    // When the check's report and the summary show: the run's time before its first row and after
    // its last.
    ShownAt shown(run);
    app.installEventFilter(&shown);
    run.start();
    main->findChild<QPushButton*>("RenzokuShuppin")->click();
    const double batchSeconds = run.nsecsElapsed() / 1e9;
    app.removeEventFilter(&shown);
    int listed = 0;
    for (const auto& v : site.state()["items"].toArray()) listed += v.toObject()["seeded"].toBool() ? 0 : 1;

    const QString entryUrl = main->services().settings.value(zk::workflow::ini::ShuppinUrl) + category;
    double floorSeconds = 0;
    int floorRows = 0;
    for (int r = 0; r < kRows; ++r) {
        const double s = floorListing(*main->services().browser.IE, entryUrl, floorPictures);
        if (s < 0) break;
        floorSeconds += s + kFixedWaitsMs / 1000.0;
        ++floorRows;
    }
    if (listed != kRows || floorRows != kRows) {
        std::fprintf(stderr, "listed %d of %d rows, floor %d rows; boxes:\n", listed, kRows, floorRows);
        for (const auto& e : zk::MessageService::instance().transcript())
            std::fprintf(stderr, "  %s\n", qPrintable(e["text"].toString()));
        return 1;
    }
    const double batchPerMinute = kRows / (batchSeconds / 60);
    const double floorPerMinute = kRows / (floorSeconds / 60);
    std::printf("連続出品 %d rows x %d pictures: %.1f s, %.2f items per minute\n", kRows, kPictures, batchSeconds,
                batchPerMinute);
    std::printf("floor (fixed waits %d ms per row + page loads and uploads measured): %.1f s, %.2f items per minute\n",
                kFixedWaitsMs, floorSeconds, floorPerMinute);
    const double before = shown.at.value("PreflightReport", 0), after = batchSeconds - shown.at.value("BatchSummary", batchSeconds);
    const double rowsSeconds = batchSeconds - before - after;
    std::printf("before the first row (rows read, every row checked, the site check): %.2f s\n", before);
    std::printf("the rows: %.2f s, %.2f s per row beside the floor's %.2f s\n", rowsSeconds, rowsSeconds / kRows,
                floorSeconds / kRows);
    std::printf("after the last row (the log written): %.2f s\n", after);
    std::printf("batch listing ratio to floor: %.2f\n", batchSeconds / floorSeconds);
    main.reset();
    return 0;
}
