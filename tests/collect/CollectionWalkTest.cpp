// "商品名収集" from the main window, against the practice site with the real browser and office:
// the workbook on disk after each mode, and after the faults a run can meet.
#include "app/Mainform.h"
#include "collect/ItemCollection.h"
#include "collect/Texts.h"
#include "browser/Texts.h"
#include "platform/Clock.h"
#include "platform/chromium/ChromiumBrowser.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "sheet/Excel.h"
#include "sheet/WorkbookSession.h"
#include "support/CalcFixture.h"
#include "support/EndToEnd.h"
#include "workflow/RowCursor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>

using zk::MessageService;
using zk::test::ScopedEnv;
namespace texts = zk::collect::texts;

namespace {

::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new zk::test::SharedOffice);

// Two items a page: the current list runs over 15 pages, the others over a few.
constexpr int kPageSize = 2;
const char* kFieldsIni =
    "[SYSTEM]\r\nSECTION_NUM=1\r\nSHOUHIN_TITLE=Title\r\nSHOUHIN_SETUMEI=Description\r\nKAISI_PRICE_SEC_POS=1\r\n"
    "KAISI_PRICE_ITEM_POS=1\r\nKIBOU_PRICE_SEC_POS=1\r\nKIBOU_PRICE_ITEM_POS=2\r\nBANK_NAME_NUM=0\r\n"
    "SONOTA_KESSAI_NUM=0\r\nBANK_DEFAULT_NUM=0\r\nKESSAI_DEFAULT_NUM=0\r\n[SECTION1]\r\nNUM=2\r\nNAME1=StartPrice\r\n"
    "TYPE1=TEXT\r\nNAME2=BidOrBuyPrice\r\nTYPE2=TEXT\r\n";

// A process of ours that still runs (a zombie has ended).
bool running(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (pid <= 1 || !stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) != "Z";
}

bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms) QTest::qWait(20);
    return done();
}

struct Expected {
    QString id, title;
    qint64 price = 0;
    QString winner;
    QDateTime endedAt;
};

// Reads an .xlsx as a plain zip of XML, without the office: every sheet's cells (shared strings
// resolved) by name, and the names of the parts in the zip.
const char* kXlsxReader = R"PY(
import json, re, sys, zipfile
import xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main',
      'r': 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'}
z = zipfile.ZipFile(sys.argv[1])
strings = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
        strings.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
rels = {r.get('Id'): r.get('Target') for r in ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))}
sheets = {}
for sheet in ET.fromstring(z.read('xl/workbook.xml')).find('m:sheets', ns):
    target = rels[sheet.get('{%s}id' % ns['r'])]
    cells = {}
    for c in ET.fromstring(z.read('xl/' + target.lstrip('/').replace('xl/', ''))).iter('{%s}c' % ns['m']):
        v = c.find('m:v', ns)
        t = c.get('t', 'n')
        if t == 's': cells[c.get('r')] = ['s', strings[int(v.text)]]
        elif t == 'inlineStr': cells[c.get('r')] = ['s', ''.join(x.text or '' for x in c.iter('{%s}t' % ns['m']))]
        elif v is not None: cells[c.get('r')] = [t, v.text]
    sheets[sheet.get('name')] = cells
print(json.dumps({'sheets': sheets, 'parts': z.namelist(),
                  'charts': [z.read(n).decode() for n in z.namelist() if re.match(r'xl/charts/chart\d+\.xml$', n)]}))
)PY";

class CollectionWalkTest : public zk::test::SiteSuiteTest {
protected:
    static void SetUpTestSuite() {
        startSite({"--current", "30", "--sold", "7", "--unsold", "5", "--page-size", QString::number(kPageSize)});
    }

    CollectionWalkTest() : documents_("ZERKON_DOCUMENTS_DIR", dir_.path() + "/docs") {
        zk::Desktop::instance().setWorkArea(QRect(0, 0, 1920, 1040));
    }
    ~CollectionWalkTest() override {
        main_.reset(); // quits the browser and the office it started
        zk::Desktop::instance().setWorkArea({});
        site->control("fault", "kind=clear");
    }

    void SetUp() override {
        writeDataFolder(*site, "/tmp", kFieldsIni);
        startLoggedIn();
    }

    zk::workflow::Services& services() { return main_->services(); }

    // One collection of a mode, the question answered Yes; the boxes it showed.
    QStringList collect(int mode) {
        control<zk::RadioGroup>("CollectionRadio")->setItemIndex(mode);
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers({"Yes"});
        panel().click("ShuppinCollection");
        QStringList shown;
        for (const auto& entry : MessageService::instance().transcript()) shown << entry["text"].toString();
        return shown;
    }

    // The list of a status as the site shows it, newest first.
    static std::vector<Expected> listed(const QString& status) {
        std::vector<Expected> items;
        const QJsonArray all = site->state().value("items").toArray();
        for (auto it = all.end(); it != all.begin();) {
            const QJsonObject item = (--it)->toObject();
            if (item["status"].toString() != status || !item["relistedAs"].toString().isEmpty()) continue;
            items.push_back({item["id"].toString(), item["title"].toString(), item["finalPrice"].toInteger(),
                             item["winner"].toString(), QDateTime::fromString(item["endedAt"].toString(), Qt::ISODate)});
        }
        return items;
    }

    QString bookPath(const QString& label) const {
        return dir_.path() + "/docs/" + zk::clock::now().date().toString("yyyyMMdd") + label + ".xlsx";
    }
    // The message of a whole run: the file named, and the offer to open it.
    QString completed(const QString& label) const { return texts::Completed + texts::SavedAs.arg(bookPath(label)); }

    // The file on disk as the independent reader sees it.
    QJsonObject readXlsx(const QString& path) {
        const QString script = dir_.file("check/xlsx.py");
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly) || file.write(kXlsxReader) < 0) ADD_FAILURE() << "no reader";
        file.close();
        QProcess python;
        python.start("python3", {script, onDisk(path)});
        if (!python.waitForFinished(30000)) {
            python.kill();
            python.waitForFinished(5000);
            ADD_FAILURE() << "reader hung";
            return {};
        }
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    // A copy of the file as it is on disk now: the program's office keeps the workbook open
    // (and locked) after a collection.
    QString onDisk(const QString& path) {
        const QString copy = dir_.file(QString("check/%1-%2").arg(++copies_).arg(QFileInfo(path).fileName()));
        if (!QFile::copy(path, copy)) ADD_FAILURE() << "no file " << path.toStdString();
        return copy;
    }

    // The rows on disk from row 4 down to the first empty one.
    QList<QStringList> rowsOnDisk(const QString& path, int columns = 7) {
        zk::test::Reopened book(onDisk(path));
        QList<QStringList> rows = book.sheet()->texts(4, 1, 4 + 200, columns);
        while (!rows.isEmpty() && rows.last().join("").isEmpty()) rows.removeLast();
        return rows;
    }

    ScopedEnv documents_;
    int copies_ = 0;
};

} // namespace

TEST_F(CollectionWalkTest, EachModeLeavesOneRowPerItemInPageOrderAndASecondRunReplacesTheFile) {
    const std::vector<Expected> current = listed("selling"), sold = listed("sold"), unsold = listed("unsold");
    ASSERT_EQ(current.size(), 30u);
    // The lists' odd cases: a picture link and a redirect link beside the title link, an address
    // that ends in "/", a price cell without text.
    ASSERT_EQ(site->control("listshape", "aID=" + current[0].id.toStdString() + "&shape=picture"), 200);
    ASSERT_EQ(site->control("listshape", "aID=" + current[0].id.toStdString() + "&shape=redirect"), 200);
    ASSERT_EQ(site->control("listshape", "aID=" + current[3].id.toStdString() + "&shape=slash"), 200);
    ASSERT_EQ(site->control("listshape", "aID=" + sold[2].id.toStdString() + "&shape=noprice"), 200);
    ASSERT_EQ(site->control("listshape", "aID=" + sold[1].id.toStdString() + "&shape=picture"), 200);

    const QString question = texts::LabelCurrent + texts::CollectQuestion;
    EXPECT_EQ(collect(0), (QStringList{question, completed(texts::LabelCurrent)}));
    EXPECT_EQ(services().book.ExcelState, 1);
    // No workbook was open: the collection's is the panel's now, and the panel says so.
    EXPECT_TRUE(services().book.MadeByCollection);
    EXPECT_EQ(services().book.Row.CurrentRow, 4 + 30);
    EXPECT_TRUE(control<QPushButton>("CloseExcel")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("SelectRow")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("ShuppinCollection")->isEnabled());
    EXPECT_EQ(control<QLabel>("CollectionProgress")->text(),
              texts::ProgressDone.arg(30) + texts::OpenBook.arg(QFileInfo(bookPath(texts::LabelCurrent)).fileName()));
    const QString itemUrl = "http://" + site->info().pageHost() + "/jp/auction/";
    {
        zk::test::Reopened book(onDisk(bookPath(texts::LabelCurrent)));
        EXPECT_EQ(book.text("A1"), QString::fromUtf8("出品中商品の一覧"));
        EXPECT_EQ(book.sheet()->texts(2, 1, 3, 6),
                  (QList<QStringList>{{"", "", "", "", "", ""},
                                      {QString::fromUtf8("頁"), QString::fromUtf8("頁内"), QString::fromUtf8("商品ID"),
                                       QString::fromUtf8("タイトル"), "URL", ""}}));
        EXPECT_EQ(book.sheet()->range("E4")->hyperlinkAddress(), itemUrl + current[0].id);
        EXPECT_EQ(book.sheet()->range("E7")->hyperlinkAddress(), itemUrl + current[3].id + "/");
    }
    // The link leads to the item's page.
    zk::test::SiteClient client(site->info());
    EXPECT_EQ(client.get((itemUrl + current[1].id).toStdString()).status, 200);
    QList<QStringList> rows = rowsOnDisk(bookPath(texts::LabelCurrent));
    ASSERT_EQ(rows.size(), 30);
    for (int k = 0; k < 30; ++k) {
        const QString id = k == 3 ? QString() : current[size_t(k)].id;
        EXPECT_EQ(rows[k], (QStringList{QString::number(k / kPageSize + 1), QString::number(k % kPageSize + 1), id,
                                        current[size_t(k)].title, itemUrl + current[size_t(k)].id + (k == 3 ? "/" : ""),
                                        "", ""}))
            << "row " << k + 4 << ": " << rows[k].join(" | ").toStdString();
    }

    // Sold: the price without " 円" (a number) and the winner; the row without a price keeps its place.
    EXPECT_EQ(collect(1), (QStringList{texts::LabelSold + texts::CollectQuestion, completed(texts::LabelSold)}));
    rows = rowsOnDisk(bookPath(texts::LabelSold));
    ASSERT_EQ(rows.size(), int(sold.size()));
    for (int k = 0; k < int(sold.size()); ++k) {
        const Expected& e = sold[size_t(k)];
        const bool noPrice = k == 2;
        EXPECT_EQ(rows[k], (QStringList{QString::number(k / kPageSize + 1), QString::number(k % kPageSize + 1), e.id,
                                        e.title, itemUrl + e.id, noPrice ? "" : QString::number(e.price),
                                        noPrice ? "" : e.winner}))
            << "row " << k + 4 << ": " << rows[k].join(" | ").toStdString();
    }
    {
        zk::test::Reopened book(onDisk(bookPath(texts::LabelSold)));
        EXPECT_EQ(book.text("A1"), QString::fromUtf8("落札された商品の一覧"));
    }

    EXPECT_EQ(collect(2), (QStringList{texts::LabelUnsold + texts::CollectQuestion, completed(texts::LabelUnsold)}));
    rows = rowsOnDisk(bookPath(texts::LabelUnsold), 5);
    ASSERT_EQ(rows.size(), int(unsold.size()));
    for (int k = 0; k < int(unsold.size()); ++k) EXPECT_EQ(rows[k][2], unsold[size_t(k)].id);

    // The same day again, after one item sold: the file of the first run is replaced.
    ASSERT_EQ(site->control("close", "aID=" + current[5].id.toStdString() + "&winner=1"), 200);
    EXPECT_EQ(collect(0), (QStringList{question, completed(texts::LabelCurrent)}));
    rows = rowsOnDisk(bookPath(texts::LabelCurrent));
    ASSERT_EQ(rows.size(), 29);
    EXPECT_EQ(rows[5][2], current[6].id);
    EXPECT_EQ(rows.last()[0], "15");
    EXPECT_EQ(rows.last()[1], "1");
    EXPECT_EQ(QDir(dir_.path() + "/docs").entryList(QDir::Files).size(), 3);
}

// The faults a run meets: a list page the site fails once (loaded again) or every time, and the
// browser or the office killed before the press, on a later page or before the last save. After
// each: the program runs on, one message, the file holds exactly the pages that message names,
// and the next run works.
TEST_F(CollectionWalkTest, AFaultEndsTheRunWithOneMessageAndTheFileHoldsThePagesItNames) {
    enum Break { SiteFault, KillBrowser, KillOffice };
    enum End { Completed, FirstPageFailed, PageFailed, SaveFailed };
    struct Case {
        const char* name;
        int mode;          // 2: the without-winner list of three pages; 0: the current list of fifteen
        Break how;
        const char* fault; // the site's switch
        int atPage;        // the kill comes as this page is begun; 0: before the press
        End end;
        int failedPage;
        int savedPages;    // named by the message and held by the file
    };
    const Case cases[] = {
        {"an error page once is loaded again", 2, SiteFault, "kind=error&count=1&path=apg=2", 0, Completed, 0, 3},
        {"a dropped page once is loaded again", 2, SiteFault, "kind=drop&count=1&path=apg=2", 0, Completed, 0, 3},
        {"an error page every time", 2, SiteFault, "kind=error&count=-1&path=apg=2", 0, PageFailed, 2, 1},
        {"a dropped page every time", 2, SiteFault, "kind=drop&count=-1&path=apg=2", 0, PageFailed, 2, 1},
        {"a browser killed before the press", 2, KillBrowser, "", 0, FirstPageFailed, 1, 0},
        {"a browser killed on page 2", 2, KillBrowser, "", 2, PageFailed, 2, 1},
        {"an office killed on page 2", 2, KillOffice, "", 2, SaveFailed, 0, 0},
        {"an office killed before the last save", 2, KillOffice, "", 4, SaveFailed, 0, 0},
        {"an office killed on page 12, after the save of page 10", 0, KillOffice, "", 12, SaveFailed, 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString label = c.mode == 0 ? texts::LabelCurrent : texts::LabelUnsold;
        const std::vector<Expected> items = listed(c.mode == 0 ? "selling" : "unsold");
        if (*c.fault) {
            ASSERT_EQ(site->control("fault", c.fault), 200);
        }
        qint64 killed = 0;
        auto kill = [&] {
            killed = c.how == KillBrowser ? services().browser.IE->session()->processId()
                                          : services().book.Excel->ExcelApp->office().processId();
            ASSERT_TRUE(running(killed));
            ::kill(pid_t(killed), SIGKILL);
            // Gone before the run reads on, so that it meets a lost program, not a dying one.
            for (int i = 0; i < 1000 && running(killed); ++i) QThread::msleep(2);
        };
        // Looked at on every pass of the events, so the kill comes in the pass that shows the page.
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QString progress = control<QLabel>("CollectionProgress")->text();
            if (progress.startsWith(texts::Progress.arg(c.atPage).section(' ', 0, 1))) {
                watch.stop();
                kill();
            }
        });
        if (c.how != SiteFault) c.atPage == 0 ? kill() : watch.start();
        const QStringList shown = collect(c.mode);
        watch.stop();
        site->control("fault", "kind=clear");

        const int rows = c.end == Completed ? int(items.size()) : c.savedPages * kPageSize;
        const QString saved = c.savedPages == 0 ? texts::SavedHeadersOnly : texts::SavedPages.arg(c.savedPages).arg(rows);
        QString message = c.end == Completed         ? texts::Completed
                          : c.end == FirstPageFailed ? texts::BrowserReadFailed
                          : c.end == PageFailed      ? texts::PageFailed.arg(c.failedPage) + saved + texts::SavedIn.arg(bookPath(label))
                                                     : texts::SaveFailed.arg(bookPath(label)) + saved + texts::OfficeSaid;
        if (c.end == Completed && c.how != KillBrowser) message = completed(label);
        if (c.how == KillBrowser) message += "\n\n" + zk::browser::texts::Disconnected;
        ASSERT_EQ(shown.size(), 2) << shown.join(" / ").toStdString();
        // A failed save's message ends with the office's own error.
        if (c.end == SaveFailed) {
            EXPECT_TRUE(shown[1].startsWith(message)) << shown[1].toStdString();
        } else {
            EXPECT_EQ(shown[1], message);
        }
        const QList<QStringList> onDisk = rowsOnDisk(bookPath(label), 4);
        ASSERT_EQ(onDisk.size(), rows);
        for (int k = 0; k < rows; ++k) EXPECT_EQ(onDisk[k][3], items[size_t(k)].title) << "row " << k + 4;
        if (c.how == KillOffice) {
            EXPECT_EQ(services().book.ExcelState, 0);
            // The killed office's lock does not stay beside the workbook.
            EXPECT_FALSE(QFile::exists(dir_.path() + "/docs/.~lock." + QFileInfo(bookPath(label)).fileName() + "#"));
        }
        if (killed) {
            EXPECT_TRUE(waitUntil([&] { return !running(killed); }));
        }

        // The program runs on, a lost browser is back, and the next run collects the whole list.
        ASSERT_FALSE(main_->ended());
        EXPECT_EQ(services().browser.IEConnected, 1);
        EXPECT_TRUE(control<QPushButton>("ShuppinCollection")->isEnabled());
        EXPECT_EQ(collect(c.mode).last(), completed(label));
        EXPECT_EQ(rowsOnDisk(bookPath(label), 4).size(), int(items.size()));
    }
}

// A list whose last page is a page of the save: the walk ends right after that save, which went
// on beside it, and the file holds every row without a save of its own at the end.
TEST_F(CollectionWalkTest, AWalkEndingOnASavePageLeavesEveryRowOnDisk) {
    std::vector<Expected> current = listed("selling");
    const size_t kept = size_t(kPageSize * zk::collect::FirstSavePages);
    for (size_t k = kept; k < current.size(); ++k) {
        ASSERT_EQ(site->control("close", "aID=" + current[k].id.toStdString() + "&winner=1"), 200);
    }
    current = listed("selling");
    ASSERT_EQ(current.size(), kept);
    EXPECT_EQ(collect(0), (QStringList{texts::LabelCurrent + texts::CollectQuestion, completed(texts::LabelCurrent)}));
    EXPECT_EQ(services().book.Row.CurrentRow, 4 + int(kept));
    const QList<QStringList> rows = rowsOnDisk(bookPath(texts::LabelCurrent), 4);
    ASSERT_EQ(rows.size(), int(kept));
    for (int k = 0; k < int(kept); ++k) EXPECT_EQ(rows[k][3], current[size_t(k)].title) << "row " << k + 4;
}

// The sold workbook read without the office: prices are numbers that sum to the site's, every
// used column has a header, the end time is a date, and the sheet 集計 holds the same totals by
// day with a column chart the office made.
TEST_F(CollectionWalkTest, TheSoldWorkbookHoldsNumbersHeadersAndASummaryWithAChart) {
    const std::vector<Expected> sold = listed("sold");
    ASSERT_EQ(collect(1).last(), completed(texts::LabelSold));
    const QJsonObject xlsx = readXlsx(bookPath(texts::LabelSold));
    const QJsonObject sheets = xlsx["sheets"].toObject();
    ASSERT_EQ(sheets.size(), 2) << QJsonDocument(sheets).toJson().left(400).toStdString();
    // The list is the first sheet, whatever the office called it.
    QJsonObject list;
    for (auto it = sheets.begin(); it != sheets.end(); ++it)
        if (it.key() != texts::SummarySheet) list = it.value().toObject();
    const QJsonObject summary = xlsx["sheets"].toObject()[texts::SummarySheet].toObject();
    ASSERT_FALSE(summary.isEmpty()) << QJsonDocument(xlsx["sheets"].toObject()).toJson().left(400).toStdString();
    const auto cell = [](const QJsonObject& sheet, const QString& at) { return sheet[at].toArray(); };

    const QStringList headers{"頁", "頁内", "商品ID", "タイトル", "URL", "価格", "落札者", "終了日時"};
    for (int c = 0; c < headers.size(); ++c)
        EXPECT_EQ(cell(list, QString(QChar('A' + c)) + "3"), (QJsonArray{"s", headers[c]})) << "column " << c + 1;
    qint64 siteTotal = 0, fileTotal = 0;
    int priced = 0;
    QMap<QDate, qint64> siteByDay;
    for (int k = 0; k < int(sold.size()); ++k) {
        const QString row = QString::number(4 + k);
        const QJsonArray price = cell(list, "F" + row), ended = cell(list, "H" + row);
        // An item the list shows without a price (an earlier test's shape) has no cells after
        // its title; it is counted, not summed.
        if (price.isEmpty()) {
            EXPECT_TRUE(ended.isEmpty());
            siteByDay[QDate()];
            continue;
        }
        ++priced;
        siteTotal += sold[size_t(k)].price;
        siteByDay[sold[size_t(k)].endedAt.date()] += sold[size_t(k)].price;
        ASSERT_EQ(price.at(0).toString(), "n") << "F" << row.toStdString();
        fileTotal += price.at(1).toString().toLongLong();
        EXPECT_EQ(price.at(1).toString().toLongLong(), sold[size_t(k)].price);
        // A day number counted from 1899-12-30, its fraction the time of day.
        ASSERT_EQ(ended.at(0).toString(), "n") << "H" << row.toStdString();
        const double serial = ended.at(1).toString().toDouble();
        EXPECT_EQ(QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addSecs(qint64(std::llround(serial * 86400))),
                  sold[size_t(k)].endedAt);
    }
    EXPECT_EQ(fileTotal, siteTotal);

    EXPECT_EQ(cell(summary, "A1"), (QJsonArray{"s", "落札された商品の集計"}));
    EXPECT_EQ(cell(summary, "A4").at(1).toString().toInt(), int(sold.size()));
    EXPECT_EQ(cell(summary, "B4").at(1).toString().toLongLong(), siteTotal);
    EXPECT_DOUBLE_EQ(cell(summary, "C4").at(1).toString().toDouble(), double(siteTotal) / double(priced));
    int row = 7;
    // The days in order, the items without an end time last.
    const QDate undated;
    const bool anyUndated = siteByDay.contains(undated);
    siteByDay.remove(undated);
    for (auto it = siteByDay.cbegin(); it != siteByDay.cend(); ++it, ++row) {
        const double serial = cell(summary, "A" + QString::number(row)).at(1).toString().toDouble();
        EXPECT_EQ(QDate(1899, 12, 30).addDays(qint64(serial)), it.key()) << "row " << row;
        EXPECT_EQ(cell(summary, "B" + QString::number(row)).at(1).toString().toLongLong(), it.value()) << "row " << row;
    }
    if (anyUndated) EXPECT_EQ(cell(summary, "A" + QString::number(row++)), (QJsonArray{"s", texts::SummaryNoDay}));
    EXPECT_TRUE(cell(summary, "A" + QString::number(row)).isEmpty());

    // A real chart part, of columns, over the day table.
    const QJsonArray charts = xlsx["charts"].toArray();
    ASSERT_EQ(charts.size(), 1) << QJsonDocument(xlsx["parts"].toArray()).toJson().toStdString();
    EXPECT_TRUE(xlsx["parts"].toArray().contains("xl/charts/chart1.xml"));
    EXPECT_TRUE(charts[0].toString().contains("<c:barDir val=\"col\"/>"));
    EXPECT_TRUE(charts[0].toString().contains(QString::fromUtf8("集計"))) << "the chart reads the summary sheet";
    // And the office reads it back as a chart.
    zk::test::Reopened again(onDisk(bookPath(texts::LabelSold)));
    EXPECT_EQ(again.sheet(2)->chartNames().size(), 1);
}

// With the seller's item workbook open, a collection leaves it the panel's workbook again, where
// the seller was: 連続出品 goes on in it without asking for a row in the collection's file.
TEST_F(CollectionWalkTest, TheItemWorkbookIsThePanelsAgainAfterACollection) {
    const QString book = dir_.file("books/items.xlsx");
    zk::test::makeWorkbook(book, {{"B1", "商品名"}, {"F1", "開始価格"}, {"G1", "即決価格"}, {"B2", "練習カメラ"},
                                  {"F2", "3000"}, {"G2", "5000"}});
    MessageService::instance().setAnswers({book, "OK"});
    panel().click("StartExcel");
    ASSERT_EQ(services().book.ExcelState, 1);
    services().book.Row.choose(2);
    const zk::workflow::RowCursor before = services().book.Row;

    EXPECT_EQ(collect(2).last(), completed(texts::LabelUnsold));
    EXPECT_EQ(services().book.ExcelState, 1);
    EXPECT_FALSE(services().book.MadeByCollection);
    EXPECT_EQ(QFileInfo(services().book.Excel->BookPath).canonicalFilePath(), QFileInfo(book).canonicalFilePath());
    EXPECT_EQ(services().book.Row.CurrentRow, before.CurrentRow);
    EXPECT_EQ(services().book.Row.RowChosen, 1);
    EXPECT_EQ(services().book.Row.PriceColumn, 6);
    EXPECT_EQ(control<QLabel>("CollectionProgress")->text(),
              texts::ProgressDone.arg(5) + texts::OpenBook.arg("items.xlsx"));
    QString title;
    ASSERT_TRUE(services().book.Workbook->ReadCellText(2, 2, title));
    EXPECT_EQ(title, QString::fromUtf8("練習カメラ"));
    // The collection's file is closed and whole on disk.
    EXPECT_EQ(rowsOnDisk(bookPath(texts::LabelUnsold), 4).size(), int(listed("unsold").size()));

    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({"Cancel", "Cancel", "Cancel"});
    panel().click("RenzokuShuppin");
    for (const auto& entry : MessageService::instance().transcript())
        EXPECT_NE(entry["caption"].toString(), texts::RowPromptCaption) << entry["text"].toString().toStdString();

    // Without an item workbook, the collection's own is asked about before a row prompt writes to it.
    MessageService::instance().setAnswers({});
    panel().click("CloseExcel");
    ASSERT_EQ(services().book.ExcelState, 0);
    EXPECT_EQ(collect(2).last(), completed(texts::LabelUnsold));
    ASSERT_TRUE(services().book.MadeByCollection);
    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({"No"});
    panel().click("RenzokuShuppin");
    const auto shown = MessageService::instance().transcript();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first()["text"].toString(),
              texts::CollectionBookQuestion.arg(QFileInfo(bookPath(texts::LabelUnsold)).fileName()));
    for (const auto& entry : shown) EXPECT_NE(entry["caption"].toString(), texts::RowPromptCaption);
    EXPECT_TRUE(services().book.MadeByCollection);
}

// A documents folder that is named but unusable is said with its path, and nothing is written
// anywhere else; a save the office refuses is said in our words with the path first.
TEST_F(CollectionWalkTest, AnUnusableDocumentsFolderOrAFailedSaveIsNamed) {
    const QString home = dir_.path() + "/home";
    QDir().mkpath(home);
    dir_.write("file", "x");
    const QString immutableDocs = dir_.path() + "/immutable";
    QDir().mkpath(immutableDocs);
    struct Mutable {
        QString path;
        ~Mutable() { QProcess::execute("chattr", {"-i", path}); }
    } undo{immutableDocs};
    ASSERT_EQ(QProcess::execute("chattr", {"+i", immutableDocs}), 0);
    const struct {
        const char* name;
        QString folder;
    } cases[] = {
        {"an immutable folder", immutableDocs},
        {"a folder that cannot be made", dir_.path() + "/file/docs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv documents("ZERKON_DOCUMENTS_DIR", c.folder);
        ScopedEnv homeFolder("HOME", home);
        const QStringList shown = collect(0);
        ASSERT_EQ(shown.size(), 2);
        EXPECT_EQ(shown[1], texts::FolderUnusable.arg(c.folder));
        EXPECT_TRUE(QDir(home).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(services().book.ExcelState, 0) << "no office started for nothing";
    }
    QProcess::execute("chattr", {"-i", immutableDocs});
    EXPECT_TRUE(QDir(immutableDocs).entryList(QDir::Files).isEmpty());

    // A folder in the file's place: the office cannot save there.
    QDir().mkpath(bookPath(texts::LabelUnsold));
    const QStringList shown = collect(2);
    ASSERT_EQ(shown.size(), 2);
    const QString ours = texts::SaveFailed.arg(bookPath(texts::LabelUnsold)) + texts::SavedHeadersOnly + texts::OfficeSaid;
    EXPECT_TRUE(shown[1].startsWith(ours)) << shown[1].toStdString();
    EXPECT_GT(shown[1].size(), ours.size()) << "the office's own text follows";
    QDir(bookPath(texts::LabelUnsold)).removeRecursively();
    EXPECT_EQ(collect(2).last(), completed(texts::LabelUnsold));
}
