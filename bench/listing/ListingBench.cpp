// The whole road of one listing through the main window against the practice site and a headless
// Chromium: the category press (the dialog answered), the upload press with three pictures, and
// the item set and listing presses, each step beside its floor, measured in the same run on the
// same site: the waits the steps must keep plus the page loads and the picture upload they cause,
// done directly (the category page and its confirmation, the picture page, the three pictures
// set on their inputs and sent, the way back to the entry form, the confirmation and completion
// pages), and the filling of the form that the definitions and the closing slot ask for (each
// field looked up and written, the rows added, the keys of the sales mode and the closing date).
#include "BenchDataFolder.h"
#include "app/Mainform.h"
#include "browser/Iectrl.h"
#include "category/Categoryform.h"
#include "browser/Texts.h"
#include "fields/Fields.h"
#include "fields/FormRules.h"
#include "listing/Texts.h"
#include "relist/RelistRules.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "workflow/SystemIni.h"
#include "platform/MessageService.h"
#include "platform/Signals.h"
#include "../../tests/site/SiteProcess.h"
#include "../../tests/support/PanelDriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QJsonArray>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include "workflow/Pause.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/Cp932.h"

namespace {

// The waits each step keeps, whatever the page does:
// item set and listing: 200, 300 and 200 ms around the closing date and time;
constexpr int kFixedWaitsMs = 200 + 300 + 200;
// category press: the dialog is looked at every 300 ms, the confirmation 50 ms after the page
// has loaded, the description editor's link 100 ms after it is focused;
constexpr int kCategoryWaitsMs = 300 + 50 + 100;
// upload press: per picture 100 ms after the focus, 100 after the Tab, 200 after the Space that
// opens the chooser, 200 before the name is pasted and 50 after it; 100 before the send.
constexpr int kPictures = 3;
constexpr int kUploadWaitsMs = kPictures * (100 + 100 + 200 + 200 + 50) + 100;

zk::test::SiteProcess* site = nullptr;
zk::TMain* panel = nullptr;
zk::test::PanelDriver controls() { return zk::test::PanelDriver(*panel); }
QString category;
std::vector<double> stepSeconds, floorSeconds;
std::vector<double> categorySeconds, categoryFloor, uploadSeconds, uploadFloor;
QString pictureFolder;

zk::TIECtrl& ie() { return *panel->services().browser.IE; }

int entryForm() {
    ie().SelectByTagName("form");
    const int n = ie().GetListLength();
    for (int k = 0; k < n; ++k)
        if (ie().ItemHasInput(k, "price_start") == 1) return k;
    return -1;
}

// Pictures for every iteration: the upload parks what it has sent.
void makePictures(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
        QPainter painter(&picture);
        painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(i));
        painter.end();
        picture.save(QStringLiteral("%1/p%2.jpg").arg(folder).arg(i, 3, 10, QChar('0')), "JPEG", 85);
    }
}

// The category press with the dialog answered at once: until the entry form of the category is
// shown.
std::vector<double> dialogSeconds; // of the category press: until the dialog is shown and filled

bool pressCategory() {
    const QString before = panel->services().carry.LastCategory;
    QElapsedTimer shown;
    shown.start();
    controls().click("CategoryButton");
    dialogSeconds.push_back(shown.nsecsElapsed() / 1e9);
    auto* dialog = panel->services().carry.CategoryDialog;
    if (!dialog) return false;
    int node = -1;
    for (int i = 0; i < dialog->tree().size() && node < 0; ++i)
        if (dialog->tree().node(i).text.contains(("^/" + category).toLatin1())) node = i;
    if (node < 0) return false;
    dialog->selectNode(node);
    dialog->OKClick();
    QElapsedTimer waited;
    waited.start();
    panel->services().carry.LastCategory.clear();
    while (panel->services().carry.LastCategory != category && waited.elapsed() < 60000) zk::workflow::pause(1);
    if (panel->services().carry.LastCategory.isEmpty()) panel->services().carry.LastCategory = before;
    return panel->services().carry.LastCategory == category;
}

// Work the floor shares with the steps because the form is to be filled so, not because of how
// the steps go about it, each part timed to be printed on its own:
// - each field the definitions fill, written once where an element of the page has its name (a
//   relist leaves the prices to the relist panel), and on a new listing the add-row buttons
//   pressed as often as the definitions ask;
// - the keys the fill sends: the sales mode's space on its focused radio button, and the closing
//   date's eight presses up and presses down on the focused date list, each after the browser's
//   window is brought to the front; the closing hour is set by its index.
std::vector<double> listingFieldSeconds, relistFieldSeconds, listingKeySeconds, relistKeySeconds;

double writeDefinedFields(int form, bool relisting) {
    const zk::TFieldDefs& defs = *panel->services().carry.FieldDefs;
    QElapsedTimer t;
    t.start();
    if (!relisting) {
        const std::pair<QString, int> rows[] = {{zk::listing::texts::AddBankElement, defs.BankNameNum - defs.BankDefaultNum},
                                                {zk::listing::texts::AddPaymentElement, defs.OtherPaymentNum - defs.PaymentDefaultNum}};
        for (const auto& [id, count] : rows)
            for (int i = 0; i < count; ++i)
                if (ie().SelectById(id) == 0 && !ie().List.isNull()) ie().ClickSelected();
    }
    for (int g = 0; g < defs.FieldCount; ++g) {
        if (zk::fields::skipsField(defs, g, relisting)) continue;
        const zk::TFieldDef& f = defs.FieldTable[size_t(g)];
        if (!ie().ExistsByName(f.Name)) continue;
        const int n = zk::fields::fieldNumber(f.Value).value_or(0);
        switch (f.Kind) {
        case zk::fkText: ie().SetFormValue(form, f.Name, f.Value); break;
        case zk::fkCheck:
            if (f.Value == "ON") ie().CheckFormItem(form, f.Name);
            else if (f.Value == "OFF") ie().UncheckFormItem(form, f.Name);
            break;
        case zk::fkCombo: ie().SetFormSelectedIndex(form, f.Name, n); break;
        case zk::fkRadio: ie().CheckFormRadio(form, f.Name, n); break;
        case zk::fkUnknown: break;
        }
    }
    return t.nsecsElapsed() / 1e9;
}

// One key pressed and released, sent raw to the page.
void pressKey(const QString& key, const QString& code, int virtualKey, const QString& text = {}) {
    QJsonObject event{{"type", text.isEmpty() ? "rawKeyDown" : "keyDown"}, {"key", key}, {"code", code},
                      {"windowsVirtualKeyCode", virtualKey}, {"nativeVirtualKeyCode", virtualKey}};
    if (!text.isEmpty()) event.insert("text", text);
    ie().session()->pageCall("Input.dispatchKeyEvent", event);
    event.insert("type", "keyUp");
    event.remove("text");
    ie().session()->pageCall("Input.dispatchKeyEvent", event);
}

// The sales mode by its key; the defined fields; the closing date by its keys (dateRow presses
// down from the top) and the hour by its index. The seconds of the keys.
double fillForm(int form, bool relisting, int dateRow, int hourRow, std::vector<double>& fieldSeconds) {
    QElapsedTimer t;
    t.start();
    ie().session()->pageCall("Page.bringToFront");
    ie().FocusFormItem(form, "salesmode_auction");
    pressKey(" ", "Space", 32, " ");
    double keys = t.nsecsElapsed() / 1e9;
    fieldSeconds.push_back(writeDefinedFields(form, relisting));
    t.restart();
    ie().session()->pageCall("Page.bringToFront");
    ie().FocusFormItem(form, "ClosingDate");
    for (int i = 0; i < 8; ++i) pressKey("ArrowUp", "ArrowUp", 38);
    for (int i = 0; i < dateRow; ++i) pressKey("ArrowDown", "ArrowDown", 40);
    keys += t.nsecsElapsed() / 1e9;
    ie().SetFormSelectedIndex(form, "ClosingTime", hourRow);
    return keys;
}

// The form's confirm press, then the agree press on the confirmation page, each page waited for.
void confirmAndAgree() {
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
}

void BM_WholeRoad(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!pressCategory()) return state.SkipWithError("no category page");
        const double category = t.nsecsElapsed() / 1e9;
        controls().find<QSlider>("TrackBar1")->setValue(kPictures);
        zk::MessageService::instance().setAnswers({pictureFolder + "/p000.jpg", "OK"});
        t.restart();
        controls().click("UploadButton");
        const double upload = t.nsecsElapsed() / 1e9;
        zk::MessageService::instance().setAnswers({});
        const int form = entryForm();
        if (form < 0) return state.SkipWithError("not back on the entry form after the upload");
        // Without a workbook row the upload writes no title or description: set outside the time,
        // as the floor does.
        ie().SetFormValue(form, "item_title", QString::fromUtf8("ベンチマーク"));
        ie().SetFormValue(form, "item_description", "bench");
        t.restart();
        controls().click("SetShuppin");
        controls().click("Exhibit");
        const double listing = t.nsecsElapsed() / 1e9;
        if (!ie().GetUrl().contains("/jp/config/submit")) return state.SkipWithError("not listed");
        categorySeconds.push_back(category);
        uploadSeconds.push_back(upload);
        stepSeconds.push_back(listing);
        state.SetIterationTime(category + upload + listing);
    }
}

// The same pages loaded and the same pictures sent directly, plus the waits the steps keep.
bool floorCategory(double& seconds) {
    QElapsedTimer t;
    t.start();
    const QString address = panel->services().settings.value(zk::workflow::ini::ShuppinUrl) + category;
    if (ie().NavigateWait(address) != 0 || ie().WaitComplete(10) != 0) return false;
    if (ie().ClickFormItem(0, zk::browser::texts::ConfirmElement) != 0 || ie().WaitComplete(10) != 0) return false;
    seconds = t.nsecsElapsed() / 1e9 + kCategoryWaitsMs / 1000.0;
    return entryForm() >= 0;
}

bool floorUpload(int first, double& seconds) {
    zk::chromium::ChromiumBrowser* browser = ie().session();
    QElapsedTimer t;
    t.start();
    if (ie().SelectByTagName("INPUT") != 0) return false;
    const int n = ie().GetListLength();
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i)
        if (ie().GetItemAttribute(i, "value") == zk::listing::texts::ToPicturePage) found = i;
    if (found < 0) return false;
    ie().NarrowToItem(found);
    if (ie().ClickSelected() < 0 || ie().WaitComplete(10) != 0) return false;
    for (int k = 1; k <= kPictures; ++k) {
        const QJsonObject input = browser->pageCall(
            "Runtime.evaluate", {{"expression", QStringLiteral("document.getElementById('ImageFile%1')").arg(k)}});
        const QString objectId = input.value("result").toObject().value("objectId").toString();
        if (objectId.isEmpty()) return false;
        const QString file = QStringLiteral("%1/p%2.jpg").arg(pictureFolder).arg(first + k - 1, 3, 10, QChar('0'));
        browser->pageCall("DOM.setFileInputFiles", {{"files", QJsonArray{file}}, {"objectId", objectId}});
    }
    if (ie().SubmitForm(0, 0) < 0 || ie().WaitComplete(60) != 0) return false;
    if (ie().SubmitForm(1, 0) < 0 || ie().WaitComplete(10) != 0) return false;
    seconds = t.nsecsElapsed() / 1e9 + kUploadWaitsMs / 1000.0;
    return entryForm() >= 0;
}

int floorPictures = 0; // the floor sends pictures of the folder the road does not reach

void BM_WholeRoadFloor(benchmark::State& state) {
    for (auto _ : state) {
        double category = 0, upload = 0;
        if (!floorCategory(category)) return state.SkipWithError("no category page");
        if (!floorUpload(500 + floorPictures, upload)) return state.SkipWithError("pictures not sent");
        floorPictures += kPictures;
        // The title and description outside the time, as on the road.
        int form = entryForm();
        ie().SetFormValue(form, "item_title", QString::fromUtf8("ベンチマーク"));
        ie().SetFormValue(form, "item_description", "bench");
        // The item set has to find the form and write the price, the sales mode and the closing
        // slot as well: in the time.
        QElapsedTimer t;
        t.start();
        form = entryForm();
        listingKeySeconds.push_back(fillForm(form, false, 2, 5, listingFieldSeconds));
        ie().SetFormValue(form, "price_start", "1000");
        confirmAndAgree();
        const double listing = t.nsecsElapsed() / 1e9 + kFixedWaitsMs / 1000.0;
        if (!ie().GetUrl().contains("/jp/config/submit")) return state.SkipWithError("not listed");
        categoryFloor.push_back(category);
        uploadFloor.push_back(upload);
        floorSeconds.push_back(listing);
        state.SetIterationTime(category + upload + listing);
    }
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The bulk relist: the waits each item keeps (100 ms after its page, 20 before its links are
// counted, 50 before the relist form's confirmation, and the item set's 200, 300 and 200).
constexpr int kRelistItems = 50;
// Road and floor take turns here too: the bulk relist goes in runs, each but the last stopped with
// "停止(&T)" once it has relisted its share, and a few items are relisted directly before each.
constexpr int kRelistRuns = 5, kDirectPerTurn = 2;
constexpr int kRelistWaitsMs = 100 + 20 + 50 + kFixedWaitsMs;

// One unsold item relisted directly: its page, its relist form (confirmed where the site asks),
// the form filled as the item set fills it, sent and agreed to; the seconds spent, or a negative
// number when it did not end on the completion page.
double relistDirectly(const QString& itemPage) {
    QElapsedTimer t;
    t.start();
    if (ie().NavigateWait(itemPage) != 0) return -1;
    const zk::relist::RelistTarget target =
        zk::relist::relistTarget(ie().GetUrl(), panel->services().settings.auctionHost());
    if (ie().NavigateWait(target.address) != 0 || ie().WaitComplete(10) != 0) return -1;
    if (ie().ExistsByName(zk::browser::texts::ConfirmElement) &&
        (ie().ClickFormItem(0, zk::browser::texts::ConfirmElement) != 0 || ie().WaitComplete(10) != 0))
        return -1;
    // Finding the form and writing it are the relist's work too: in the time.
    const int form = entryForm();
    if (form < 0) {
        std::fprintf(stderr, "listing_bench: no relist form at %s\n", qPrintable(ie().GetUrl()));
        return -1;
    }
    relistKeySeconds.push_back(fillForm(form, true, 2, 5, relistFieldSeconds));
    confirmAndAgree();
    const double seconds = t.nsecsElapsed() / 1e9;
    if (!ie().GetUrl().contains("/jp/config/submit")) {
        std::fprintf(stderr, "listing_bench: the direct relist ended on %s\n", qPrintable(ie().GetUrl()));
        return -1;
    }
    return seconds;
}

// The item pages of the unsold list shown now.
QStringList unsoldItemPages() {
    QStringList pages;
    if (ie().SelectByTagName("A") != 0) return pages;
    const int n = ie().GetListLength();
    for (int i = 0; i < n; ++i) {
        const QString href = ie().GetItemAttribute(i, "href");
        if (zk::relist::isItemPageLink(href, panel->services().settings.auctionHost()) && !pages.contains(href))
            pages << href;
    }
    return pages;
}

// The numbers of the relist's progress line: passes, tried, relisted, skipped.
QList<int> progressNumbers(const QString& line) {
    QList<int> numbers;
    for (const QRegularExpressionMatch& m : QRegularExpression("\\d+").globalMatch(line)) numbers << m.captured().toInt();
    while (numbers.size() < 4) numbers << 0;
    return numbers;
}

// The bulk relist beside its floor: their ratio, 0 when it could not be measured.
double measureBulkRelist() {
    const QString list = panel->services().settings.value(zk::workflow::ini::ShuppinEndUrl) + "0";
    auto* progress = panel->findChild<QLabel*>("RelistProgress");
    auto* stop = panel->findChild<QPushButton*>("StopReshuppin");
    if (!progress || !stop) return 0;
    std::vector<double> listLoads, items;
    double bulk = 0;
    int relisted = 0, passes = 0;
    for (int run = 0; run < kRelistRuns; ++run) {
        // The floor's turn, on items beyond the bulk runs' fifty: a list page load and a relist
        // done directly.
        for (int k = 0; k < kDirectPerTurn; ++k) {
            QElapsedTimer t;
            t.start();
            if (ie().NavigateWait(list) != 0) return 0;
            listLoads.push_back(t.nsecsElapsed() / 1e9);
            const QStringList pages = unsoldItemPages();
            const double s = pages.isEmpty() ? -1 : relistDirectly(pages.last());
            if (s < 0) {
                std::fprintf(stderr, "listing_bench: a direct relist did not complete\n");
                return 0;
            }
            items.push_back(s + kRelistWaitsMs / 1000.0);
        }
        zk::MessageService::instance().setAnswers({});
        controls().click("GoReShuppin");
        zk::MessageService::instance().setAnswers({"Yes", "OK"});
        // The stop is pressed as the seller would, while the run shows its progress.
        QTimer watch;
        const int share = kRelistItems / kRelistRuns;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (stop->isVisible() && progressNumbers(progress->text())[2] >= share) stop->click();
        });
        if (run + 1 < kRelistRuns) watch.start(10);
        QElapsedTimer t;
        t.start();
        controls().click("ReShuppinAll");
        bulk += t.nsecsElapsed() / 1e9;
        watch.stop();
        const QList<int> numbers = progressNumbers(progress->text());
        passes += numbers[0];
        relisted += numbers[2];
        std::printf("%sbulk relist run %d: %s\n", run ? "" : "\n", run + 1, qPrintable(progress->text().simplified()));
    }
    // Each pass reads the list it starts from; each run ends on the list again.
    const double floor = median(items) * relisted + median(listLoads) * (passes + kRelistRuns);
    std::printf("bulk relist of %d items in %d runs: %.1f s, %.0f ms an item; floor %.1f s (%.0f ms an item relisted "
                "directly with its %d ms of waits, %zu items, %.0f ms a list page, %d passes)\n",
                relisted, kRelistRuns, bulk, relisted ? bulk * 1000 / relisted : 0.0, floor, median(items) * 1000,
                kRelistWaitsMs, items.size(), median(listLoads) * 1000, passes);
    return floor > 0 ? bulk / floor : 0.0;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    zk::bench::setBenchEnvironment(home.path());
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    QTemporaryDir siteData;
    // Unsold items for the bulk relist: fifty for its runs over three list pages, more for its floor.
    zk::test::SiteProcess siteProcess(
        {"--data-folder", siteData.path(), "--unsold", QString::number(kRelistItems + kRelistRuns * kDirectPerTurn)});
    const QString error = siteProcess.start();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "site: %s\n", qPrintable(error));
        return 1;
    }
    site = &siteProcess;
    if (!zk::bench::seedDataFolder(siteData.path(), home.path())) return 1;

    auto main = zk::bench::startPanel();
    if (!main) return 1;
    panel = main.get();
    // The first coded category of the site's list; a middle date and hour, no jitter.
    QFile categoryFile(siteData.path() + "/category.txt");
    categoryFile.open(QIODevice::ReadOnly);
    const QByteArray categories = categoryFile.readAll();
    const QRegularExpression coded("\\^/(\\d+)");
    category = coded.match(QString::fromLatin1(categories)).captured(1);
    controls().choose("ClosingDate", 2);
    controls().choose("ClosingTime", 5);
    controls().find<zk::RadioGroup>("TimeSway")->setItemIndex(1);

    // The road's own pictures first in the folder; the floor's after them.
    pictureFolder = home.path() + "/pictures";
    makePictures(pictureFolder, 1000);
    // Road and floor take turns, so that both see the same load on the machine.
    for (int round = 0; round < 4; ++round) {
        benchmark::RegisterBenchmark("WholeRoad", BM_WholeRoad)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("WholeRoadFloor", BM_WholeRoadFloor)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
    }
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();

    struct Step {
        const char* name;
        const std::vector<double>& road;
        const std::vector<double>& floor;
    };
    std::vector<double> roadAll, floorAll;
    for (size_t i = 0; i < stepSeconds.size() && i < categorySeconds.size(); ++i)
        roadAll.push_back(categorySeconds[i] + uploadSeconds[i] + stepSeconds[i]);
    for (size_t i = 0; i < floorSeconds.size() && i < categoryFloor.size(); ++i)
        floorAll.push_back(categoryFloor[i] + uploadFloor[i] + floorSeconds[i]);
    const Step steps[] = {{"category press", categorySeconds, categoryFloor},
                          {"upload press (3 pictures)", uploadSeconds, uploadFloor},
                          {"item set + listing", stepSeconds, floorSeconds},
                          {"listing road", roadAll, floorAll}};
    std::printf("\n%-28s %10s %10s %7s   (medians; floor = the waits kept + the page loads and uploads done directly)\n",
                "step", "ms", "floor ms", "ratio");
    for (const Step& step : steps) {
        const double a = median(step.road), b = median(step.floor);
        std::printf("%-28s %10.0f %10.0f %7.2f   (%zu and %zu runs)\n", step.name, a * 1000, b * 1000, b > 0 ? a / b : 0.0,
                    step.road.size(), step.floor.size());
    }
    const double relistRatio = measureBulkRelist();
    std::printf("of the category press, the dialog shown and filled: %.0f ms\n", median(dialogSeconds) * 1000);
    std::printf("of the item set's floor, the fields the definitions fill written and their rows added directly: %.0f ms; "
                "the keys of the sales mode and the closing date sent directly: %.0f ms\n",
                median(listingFieldSeconds) * 1000, median(listingKeySeconds) * 1000);
    std::printf("of the floor of one relisted item, the fields the definitions fill written directly: %.0f ms; "
                "the keys sent directly: %.0f ms\n",
                median(relistFieldSeconds) * 1000, median(relistKeySeconds) * 1000);
    // Each text once, with the times it was shown (each relist run asks and ends with a message).
    QStringList shownTexts;
    for (const QJsonObject& shown : zk::MessageService::instance().transcript())
        if (!shown.value("text").toString().isEmpty()) shownTexts << shown.value("text").toString().simplified();
    QStringList printed;
    for (const QString& text : shownTexts) {
        if (printed.contains(text)) continue;
        printed << text;
        std::printf("message shown %lldx: %s\n", static_cast<long long>(shownTexts.count(text)), qPrintable(text));
    }
    for (const Step& step : steps) {
        const double a = median(step.road), b = median(step.floor);
        std::printf("%s ratio to floor: %.2f\n", step.name, b > 0 ? a / b : 0.0);
    }
    std::printf("bulk relist ratio to floor: %.2f\n", relistRatio);
    main.reset();
    return 0;
}
