// The workbook model over a real headless office: values, formats, colours, links, saving in
// the file's own format, the active cell, keys, and the faults of a lost office.
#include "support/CalcFixture.h"

#include "platform/calc/ExcelPalette.h"
#include "platform/calc/Faults.h"
#include "platform/calc/OfficePipe.h"
#include "platform/calc/OfficeProcess.h"
#include "platform/Desktop.h"
#include "platform/calc/CalcWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QFile>
#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <csignal>

using namespace zk;
using zk::test::Reopened;
using zk::test::SharedOffice;

namespace {

::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new SharedOffice);

class CalcWorkbook : public ::testing::Test {
protected:
    zk::test::TempFolder folder;
    std::shared_ptr<calc::Application> app = SharedOffice::app();
};

TEST_F(CalcWorkbook, ValuesRoundTripAndConvertAsVariantsDo) {
    auto book = app->workbooks()->add();
    auto sheet = book->sheets()->item(1);
    sheet->cells(1, 1)->setValue("商品名");
    sheet->cells(2, 1)->setValue("1500");
    sheet->cells(3, 1)->setValue("0.1");
    sheet->cells(4, 1)->setValue("=2*3");
    sheet->cells(5, 1)->setValue("2026/12/07");
    EXPECT_EQ(calc::cellText(sheet->cells(1, 1)->value()), "商品名");
    EXPECT_EQ(sheet->cells(2, 1)->value().typeId(), QMetaType::Double);
    EXPECT_EQ(calc::cellText(sheet->cells(2, 1)->value()), "1500");
    EXPECT_EQ(calc::cellText(sheet->cells(3, 1)->value()), "0.1");
    EXPECT_EQ(calc::cellText(sheet->cells(4, 1)->value()), "6");
    EXPECT_EQ(calc::cellText(sheet->cells(5, 1)->value()), "2026/12/07");
    EXPECT_FALSE(sheet->cells(9, 9)->value().isValid());
    EXPECT_EQ(calc::cellText(sheet->cells(9, 9)->value()), "");
    book->close();
}

TEST_F(CalcWorkbook, TextFormattedColumnKeepsLeadingZerosThroughXlsxAndXls) {
    for (const QString name : {"ids.xlsx", "ids.xls"}) {
        auto book = app->workbooks()->add();
        auto sheet = book->sheets()->item(1);
        sheet->columns(1)->setProperty("NumberFormatLocal", "@");
        sheet->cells(7, 1)->setValue("00123");
        sheet->cells(7, 2)->setValue("00123");
        EXPECT_EQ(sheet->cells(7, 1)->numberFormat(), "@");
        const QString path = folder.file(name);
        book->saveAs(path);
        book->close();
        Reopened again(path);
        EXPECT_EQ(again.text("A7"), "00123") << name.toStdString();
        EXPECT_EQ(again.text("B7"), "123") << name.toStdString();
        EXPECT_EQ(again.sheet()->cells(7, 1)->numberFormat(), "@") << name.toStdString();
    }
}

TEST_F(CalcWorkbook, RowColourUsesThePaletteAndSurvivesSaving) {
    const QString path = folder.file("colour.xlsx");
    zk::test::makeWorkbook(path, {{"B7", "item"}, {"B8", "next"}});
    {
        auto book = app->workbooks()->open(path);
        auto sheet = book->sheets()->item(1);
        sheet->rows(7)->setInteriorColorIndex(35);
        sheet->rows(8)->setInteriorColorIndex(35);
        sheet->rows(8)->setInteriorColorIndex(calc::palette::NoFill);
        EXPECT_THROW(sheet->rows(9)->setInteriorColorIndex(57), AutomationError);
        book->save();
        book->close();
    }
    Reopened again(path);
    EXPECT_EQ(again.sheet()->range("B7")->interiorColor(), 0xCCFFCC);
    EXPECT_EQ(again.sheet()->range("Z7")->interiorColorIndex(), 35);
    EXPECT_EQ(again.sheet()->range("B8")->interiorColorIndex(), calc::palette::NoFill);
    EXPECT_EQ(again.text("B7"), "item");
}

TEST_F(CalcWorkbook, HyperlinkShowsItsAddressAndSurvivesSavingInBothFormats) {
    for (const QString name : {"links.xlsx", "links.xls"}) {
        const QString path = folder.file(name);
        zk::test::makeWorkbook(path, {{"E8", "見出し"}});
        {
            auto book = app->workbooks()->open(path);
            auto sheet = book->sheets()->item(1);
            sheet->hyperlinks()->add(*sheet->range("E7"), "https://page.example/item/1");
            sheet->hyperlinks()->add(*sheet->range("E8"), "https://page.example/item/2");
            book->save();
            book->close();
        }
        Reopened again(path);
        EXPECT_EQ(again.sheet()->range("E7")->hyperlinkAddress(), "https://page.example/item/1") << name.toStdString();
        EXPECT_EQ(again.text("E7"), "https://page.example/item/1");
        EXPECT_EQ(again.sheet()->range("E8")->hyperlinkAddress(), "https://page.example/item/2");
        EXPECT_EQ(again.text("E8"), "見出し");
        EXPECT_EQ(again.sheet()->range("E9")->hyperlinkAddress(), "");
    }
}

// A workbook's own null date counts: one of the 1904 date system must not read its dates four
// years early. A flat document file says which system it uses in plain XML.
TEST_F(CalcWorkbook, DatesOfA1904WorkbookReadAsWritten) {
    const QString path = folder.write("dates1904.fods", R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2"
  office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body><office:spreadsheet>
  <table:calculation-settings><table:null-date table:date-value="1904-01-01"/></table:calculation-settings>
  <table:table table:name="Sheet1"><table:table-row>
   <table:table-cell office:value-type="date" office:date-value="2026-12-07"><text:p>2026-12-07</text:p></table:table-cell>
   <table:table-cell office:value-type="time" office:time-value="PT10H30M00S"><text:p>10:30:00</text:p></table:table-cell>
   <table:table-cell office:value-type="float" office:value="10.632060185185185"><text:p>255:10:10</text:p></table:table-cell>
  </table:table-row></table:table>
 </office:spreadsheet></office:body>
</office:document>
)");
    auto book = app->workbooks()->open(path);
    auto sheet = book->sheets()->item(1);
    sheet->cells(1, 1)->setProperty("NumberFormat", "YYYY/MM/DD");
    sheet->cells(1, 2)->setProperty("NumberFormat", "HH:MM:SS");
    EXPECT_EQ(sheet->cells(1, 1)->value().toDateTime().date(), QDate(2026, 12, 7));
    EXPECT_EQ(calc::cellText(sheet->cells(1, 2)->value()), "10:30:00");
    // Whole days under a time format count from the workbook's null date too.
    sheet->cells(1, 3)->setProperty("NumberFormat", "[HH]:MM:SS");
    EXPECT_EQ(calc::cellText(sheet->cells(1, 3)->value()), "1904/01/11 15:10:10");
    book->close();
}

// A workbook that asks for a password is named as protected, not as broken or in use.
TEST_F(CalcWorkbook, APasswordProtectedWorkbookIsSaidToBeProtected) {
    // The office encrypts .xls and its own format on a save with a password (not .xlsx).
    for (const QString& name : {QStringLiteral("locked.xls"), QStringLiteral("locked.ods")}) {
        const QString path = folder.file(name);
        auto book = app->workbooks()->add();
        book->sheets()->item(1)->cells(1, 1)->setValue("秘密");
        book->saveAs(path, "secret");
        book->close();
        try {
            app->workbooks()->open(path);
            ADD_FAILURE() << "opened " << name.toStdString();
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.text(), calc::texts::Protected + path);
        }
    }
    const QString broken = folder.write("broken.xlsx", "this is no workbook");
    try {
        app->workbooks()->open(broken);
        ADD_FAILURE() << "opened a file that is no workbook";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.text(), calc::texts::CannotOpen + broken);
    }
}

// A cell under a merged area keeps what is written to it but does not show it.
TEST_F(CalcWorkbook, CellsHiddenUnderAMergedAreaAreKnown) {
    const QString path = folder.write("merged.fods", R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2"
  office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body><office:spreadsheet><table:table table:name="Sheet1">
  <table:table-row>
   <table:table-cell office:value-type="string" table:number-columns-spanned="3" table:number-rows-spanned="2"><text:p>見出し</text:p></table:table-cell>
   <table:covered-table-cell/><table:covered-table-cell/><table:table-cell/>
  </table:table-row>
  <table:table-row><table:covered-table-cell table:number-columns-repeated="3"/><table:table-cell/></table:table-row>
 </table:table></office:spreadsheet></office:body>
</office:document>
)");
    auto book = app->workbooks()->open(path);
    auto sheet = book->sheets()->item(1);
    const struct {
        int row, column;
        bool hidden;
    } cells[] = {{1, 1, false}, {1, 3, true}, {2, 1, true}, {2, 3, true}, {1, 4, false}, {3, 1, false}};
    for (const auto& c : cells)
        EXPECT_EQ(sheet->cells(c.row, c.column)->hiddenByMerge(), c.hidden) << c.row << "," << c.column;
    book->close();
}

// A true/false result reads as the workbook shows it, not as the number beneath it.
TEST_F(CalcWorkbook, TrueAndFalseResultsReadAsTheWordsShown) {
    auto book = app->workbooks()->add();
    auto sheet = book->sheets()->item(1);
    sheet->cells(1, 1)->setValue("1");
    sheet->cells(2, 1)->setValue("2");
    sheet->cells(1, 2)->setValue("=A1>A2");
    sheet->cells(2, 2)->setValue("=A1<A2");
    sheet->cells(3, 2)->setValue("=A2-A1");
    EXPECT_EQ(calc::cellText(sheet->cells(1, 2)->value()), "FALSE");
    EXPECT_EQ(calc::cellText(sheet->cells(2, 2)->value()), "TRUE");
    EXPECT_EQ(calc::cellText(sheet->cells(3, 2)->value()), "1") << "a number that happens to be 1 stays a number";
    book->close();
}

// Saving must keep a workbook's links to files as they were written, not rewrite them relative
// to the folder it is saved in.
TEST_F(CalcWorkbook, AbsoluteFileLinksSurviveASave) {
    const QString path = folder.file("books/links.xlsx");
    const QString target = "file:///srv/pictures/item-1.jpg";
    zk::test::makeWorkbook(path, {{"A1", "ID"}});
    {
        auto book = app->workbooks()->open(path);
        auto sheet = book->sheets()->item(1);
        sheet->hyperlinks()->add(*sheet->range("E2"), target);
        book->save();
        book->close();
    }
    // A link kept relative would now point below the new folder.
    const QString moved = folder.file("elsewhere/deeper/links.xlsx");
    ASSERT_TRUE(QFile::rename(path, moved));
    Reopened again(moved);
    EXPECT_EQ(again.sheet()->range("E2")->hyperlinkAddress(), target);
}

TEST_F(CalcWorkbook, SaveKeepsTheFilesOwnFormat) {
    const QString xls = folder.file("old.xls"), xlsx = folder.file("new.xlsx");
    zk::test::makeWorkbook(xls, {{"A1", "x"}});
    zk::test::makeWorkbook(xlsx, {{"A1", "x"}});
    for (const QString& path : {xls, xlsx}) {
        auto book = app->workbooks()->open(path);
        book->sheets()->item(1)->cells(2, 1)->setValue("saved");
        book->save();
        book->close();
        Reopened again(path);
        EXPECT_EQ(again.text("A2"), "saved");
    }
    // The old binary format starts with the compound-file signature, the new one is a zip.
    QFile a(xls), b(xlsx);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.read(4).toHex(), "d0cf11e0");
    EXPECT_EQ(b.read(2), "PK");
}

TEST_F(CalcWorkbook, SaveAsAddsTheExtensionAndReplacesAnExistingFile) {
    auto book = app->workbooks()->add();
    book->sheets()->item(1)->cells(1, 1)->setValue("first");
    book->saveAs(folder.file("dated"));
    EXPECT_TRUE(QFile::exists(folder.file("dated.xlsx")));
    EXPECT_EQ(book->fullName(), folder.file("dated.xlsx"));
    book->sheets()->item(1)->cells(1, 1)->setValue("second");
    book->saveAs(folder.file("dated.xlsx"));
    book->close();
    Reopened again(folder.file("dated.xlsx"));
    EXPECT_EQ(again.text("A1"), "second");
}

TEST_F(CalcWorkbook, ActiveSheetAndActiveCellFollowTheSelection) {
    const QString path = folder.file("two.xlsx");
    zk::test::makeWorkbook(path, {{"A1", "x"}});
    auto book = app->workbooks()->open(path);
    auto sheet = book->sheets()->item(1);
    sheet->range("D7")->select();
    EXPECT_EQ(app->activeCell()->row(), 7);
    EXPECT_EQ(app->activeCell()->column(), 4);
    sheet->range("F3:G9")->select();
    EXPECT_EQ(app->activeCell()->row(), 3);
    EXPECT_EQ(app->activeCell()->column(), 6);
    EXPECT_EQ(app->activeSheet()->name(), sheet->name());
    book->close();
}

TEST_F(CalcWorkbook, TabTypedIntoTheWindowMovesTheCellCursor) {
    auto book = app->workbooks()->add();
    book->sheets()->item(1)->range("B2")->select();
    std::shared_ptr<DesktopWindow> window = app->window();
    ASSERT_TRUE(window->isAlive());
    window->bringToFront();
    for (int vk : {0x41, 0x09}) {
        window->sendKey(vk, true);
        window->sendKey(vk, false);
    }
    window->processKeys();
    EXPECT_EQ(calc::cellText(book->sheets()->item(1)->range("B2")->value()), "a");
    EXPECT_EQ(app->activeCell()->column(), 3);
    EXPECT_EQ(app->activeCell()->row(), 2);
    book->close();
}

TEST_F(CalcWorkbook, CloseVetoKeepsTheWindowOpenUntilLifted) {
    // The seller's refused close is handed to the program once, on its own thread; our own
    // closing is not.
    int refused = 0;
    calc::setCloseRefusedHandler([&refused] {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        ++refused;
    });
    auto book = app->workbooks()->add();
    app->office().setCloseVeto(true);
    EXPECT_FALSE(app->window()->close());
    EXPECT_FALSE(book->closed());
    for (int i = 0; i < 100 && refused == 0; ++i) QTest::qWait(20);
    QTest::qWait(100);
    EXPECT_EQ(refused, 1) << "the workbook and its window asking in turn are one refusal";
    book->sheets()->item(1)->cells(1, 1)->setValue("still here");
    EXPECT_EQ(calc::cellText(book->sheets()->item(1)->cells(1, 1)->value()), "still here");
    // Our own closing passes the veto.
    auto other = app->workbooks()->add();
    other->close();
    EXPECT_TRUE(other->closed());
    app->office().setCloseVeto(false);
    EXPECT_TRUE(app->window()->close());
    EXPECT_THROW(book->save(), AutomationError);
    QTest::qWait(100);
    EXPECT_EQ(refused, 1);
    calc::setCloseRefusedHandler({});
}

TEST_F(CalcWorkbook, WindowPlacementAndStateRoundTrip) {
    auto book = app->workbooks()->add();
    std::shared_ptr<calc::CalcWindow> window = app->window();
    EXPECT_TRUE(window->title().contains("Untitled") || !window->title().isEmpty());
    ASSERT_TRUE(window->setPlacement(QRect(1, 1, 800, 600)));
    QRect normal;
    ASSERT_TRUE(window->placement(normal));
    EXPECT_EQ(normal.size(), QSize(800, 600));
    EXPECT_EQ(app->windowState(), calc::windowstate::Normal);
    book->close();
    EXPECT_FALSE(window->placement(normal)) << "no workbook, no window";
}

TEST_F(CalcWorkbook, BadIndexesAndUnknownNamesFailWithTheirCodes) {
    auto book = app->workbooks()->add();
    try {
        book->sheets()->item(5);
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), calc::hresult::BadIndex);
    }
    try {
        book->sheets()->item(1)->cells(1, 1)->setProperty("NoSuchThing", "1");
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::UnknownName);
    }
    EXPECT_THROW(book->sheets()->item(1)->cells(0, 1), AutomationError);
    try {
        app->workbooks()->open(folder.file("missing.xlsx"));
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::Exception);
        EXPECT_TRUE(e.text().contains("missing.xlsx"));
    }
    book->close();
    // A closed workbook is disconnected from us; the office is not.
    try {
        book->save();
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hresult::Disconnected);
    }
    EXPECT_TRUE(app->office().connected());
}

// A killed office turns every later call into a disconnection; once ended, nothing of it is left
// in the shared temporary folder.
TEST(CalcOffice, AKilledOfficeGivesDisconnectionCodes) {
    auto app = calc::Application::create();
    auto book = app->workbooks()->add();
    auto sheet = book->sheets()->item(1);
    const pid_t pid = app->office().processId();
    ASSERT_GT(pid, 1);
    const QStringList pipes = calc::pipesBoundBy(pid);
    EXPECT_EQ(pipes.size(), 2) << pipes.join(' ').toStdString();
    EXPECT_TRUE(pipes.contains(calc::officePipePath(app->office().pipeName())));
    const QString temp = app->office().profileFolder() + "/tmp";
    EXPECT_FALSE(QDir(temp).entryList({"lu*.tmp"}, QDir::Dirs).isEmpty()) << "the office's temporary files are not in its profile";
    ASSERT_TRUE(calc::signalProcess(pid, SIGKILL));
    try {
        sheet->cells(1, 1)->setValue("x");
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.isDisconnection()) << std::hex << e.code();
    }
    try {
        book->save();
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.isDisconnection()) << std::hex << e.code();
    }
    app->office().terminate();
    EXPECT_FALSE(calc::processExists(pid));
    for (const QString& path : pipes) EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(QDir(temp).entryList({"lu*.tmp"}, QDir::Dirs).isEmpty());
}

// The office keeps none of our handles (its output goes to a log in its profile), so an office
// that outlives us cannot hold the pipes of whoever reads our output; and a headless one ends
// when its program dies.
TEST(CalcOffice, TheOfficeHoldsNoHandleOfOursAndEndsWithAKilledProgram) {
    const auto link = [](const QString& path) { return QFile::symLinkTarget(path); };
    {
        auto app = SharedOffice::app();
        const pid_t pid = app->office().processId();
        ASSERT_GT(pid, 1);
        const QString log = app->office().profileFolder() + "/office.log";
        EXPECT_EQ(link(QString("/proc/%1/fd/1").arg(pid)), log);
        EXPECT_EQ(link(QString("/proc/%1/fd/2").arg(pid)), log);
        const QStringList ours = {link("/proc/self/fd/1"), link("/proc/self/fd/2")};
        for (const QString& fd : QDir(QString("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::System))
            EXPECT_FALSE(ours.contains(link(QString("/proc/%1/fd/%2").arg(pid).arg(fd))) &&
                         link(QString("/proc/%1/fd/%2").arg(pid).arg(fd)).startsWith("pipe:"))
                << "office fd " << fd.toStdString() << " is our own output";
        EXPECT_EQ(QFileInfo(app->office().profileFolder()).permissions() & 0x0077, 0) << "profile not owner-only";
    }

    zk::test::TempFolder folder;
    QProcess holder;
    holder.setProgram(qEnvironmentVariable("ZERKON_BUILD_DIR") + "/office_holder");
    holder.setArguments({folder.path() + "/Zerkon/office-profile"});
    holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    holder.start();
    ASSERT_TRUE(holder.waitForStarted(5000));
    ASSERT_TRUE(holder.waitForReadyRead(60000)) << "the holder did not start its office";
    const pid_t office = pid_t(holder.readLine().trimmed().toLong());
    ASSERT_GT(office, 1);
    EXPECT_TRUE(calc::processIs(office, "soffice.bin"));
    const QStringList pipes = calc::pipesBoundBy(office);
    holder.kill(); // our own child, by its pid
    holder.waitForFinished(5000);
    for (int i = 0; i < 250 && calc::processExists(office); ++i) QThread::msleep(20);
    EXPECT_FALSE(calc::processExists(office)) << "the office outlived the program that started it";
    if (calc::processIs(office, "soffice.bin")) calc::signalProcess(office, SIGKILL);
    for (int i = 0; i < 250 && !calc::processGone(office); ++i) QThread::msleep(20);
    calc::removeDeadPipes(pipes); // the killed program could not
}

// A hung office (here: stopped) is ended when a call outlives its bound; the call returns the
// disconnection instead of freezing the panel.
TEST(CalcOffice, ACallIntoAStoppedOfficeReturnsTheDisconnectionAndEndsTheOffice) {
    auto app = calc::Application::create();
    auto book = app->workbooks()->add();
    auto sheet = book->sheets()->item(1);
    // A short bound only now: a busy machine must not make the set-up count as hung.
    app->office().setCallTimeout(1500);
    const pid_t pid = app->office().processId();
    ASSERT_GT(pid, 1);
    ASSERT_TRUE(calc::signalProcess(pid, SIGSTOP));
    // Each of the office's threads stops only when it next runs: on a busy machine its bridge
    // thread could still answer the call below.
    for (int i = 0; i < 500 && !calc::processStopped(pid); ++i) QThread::msleep(10);
    ASSERT_TRUE(calc::processStopped(pid));
    try {
        sheet->cells(1, 1)->setValue("x");
        FAIL() << "a stopped office answered";
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.isDisconnection()) << std::hex << e.code();
    }
    EXPECT_FALSE(app->office().connected());
    for (int i = 0; i < 100 && calc::processExists(pid); ++i) QThread::msleep(20);
    EXPECT_FALSE(calc::processExists(pid));
    app->office().terminate();
}

TEST(CalcOffice, QuitEndsTheProcessesAndLaterCallsFail) {
    auto app = calc::Application::create();
    const pid_t pid = app->office().processId();
    ASSERT_GT(pid, 1);
    auto books = app->workbooks();
    app->quit();
    EXPECT_FALSE(calc::processExists(pid));
    try {
        books->add();
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.isDisconnection());
    }
}

TEST(CalcText, NumbersAndDatesReadAsTheirVariantText) {
    EXPECT_EQ(calc::cellText(QVariant()), "");
    EXPECT_EQ(calc::cellText(QVariant(-42.0)), "-42");
    EXPECT_EQ(calc::cellText(QVariant(0.1 + 0.2)), "0.3");
    EXPECT_EQ(calc::cellText(QVariant(1e20)), "1E+20");
    EXPECT_EQ(calc::cellText(QVariant(123456789012345.0)), "123456789012345");
    EXPECT_EQ(calc::cellText(QVariant(QDateTime(QDate(2026, 12, 7), QTime(0, 0)))), "2026/12/07");
    EXPECT_EQ(calc::cellText(QVariant(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)))), "2026/12/07 9:05:03");
    EXPECT_EQ(calc::cellText(QVariant(QDateTime(QDate(1899, 12, 30), QTime(13, 0)))), "13:00:00");
    EXPECT_EQ(calc::cellAddress(7, 5), "E7");
    EXPECT_EQ(calc::cellAddress(1, 27), "AA1");
    EXPECT_EQ(calc::cellAddress(3, 51), "AY3");
}

TEST(CalcLocks, OnlyLocksOfOurOwnEndedOfficesAreRemoved) {
    zk::test::TempFolder folder;
    const QString book = folder.write("book.xlsx", "x");
    const QString lock = folder.path() + "/.~lock.book.xlsx#";
    // The user's own office has the file open: its lock stays.
    folder.write(".~lock.book.xlsx#", ",someone,host,07.12.2026 08:00,file:///home/someone/.config/libreoffice/4;");
    calc::Office::removeStaleLock(book);
    EXPECT_TRUE(QFile::exists(lock));
    // An office of ours on a profile that nobody runs any more: gone.
    folder.write(".~lock.book.xlsx#", (",root,vm,07.12.2026 08:00,file://" + folder.path() +
                                      "/Zerkon/office-profile-7;").toUtf8());
    calc::Office::removeStaleLock(book);
    EXPECT_FALSE(QFile::exists(lock));
    // The profile of the office that runs in this program: kept.
    auto app = SharedOffice::app();
    folder.write(".~lock.book.xlsx#", (",root,vm,07.12.2026 08:00,file://" + app->office().profileFolder() + ";").toUtf8());
    calc::Office::removeStaleLock(book);
    EXPECT_TRUE(QFile::exists(lock));
}

TEST(CalcOffice, AVisibleOfficeKeepsUnsavedWorkWhenReleasedAndSavesWhatItCan) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs a display";
    zk::test::TempFolder folder;
    calc::Office::Options visible;
    visible.headless = false;
    pid_t pid = 0;
    {
        auto app = calc::Application::create(visible);
        app->setVisible(true);
        auto book = app->workbooks()->add();
        book->saveAs(folder.file("kept.xlsx"));
        book->sheets()->item(1)->cells(1, 1)->setValue("saved on the way out");
        pid = app->office().processId();
    }
    EXPECT_FALSE(calc::processExists(pid)) << "everything was saved, so the office ended";
    Reopened again(folder.file("kept.xlsx"));
    EXPECT_EQ(again.text("A1"), "saved on the way out");
    {
        auto app = calc::Application::create(visible);
        app->setVisible(true);
        app->workbooks()->add()->sheets()->item(1)->cells(1, 1)->setValue("never saved");
        pid = app->office().processId();
    }
    EXPECT_TRUE(calc::processExists(pid)) << "a new workbook with changes stays with the user";
    const QStringList pipes = calc::pipesBoundBy(pid);
    calc::signalProcess(pid, SIGKILL); // ours: this test started it
    for (int i = 0; i < 250 && !calc::processGone(pid); ++i) QThread::msleep(20);
    calc::removeDeadPipes(pipes);
}

TEST(CalcOffice, AHeadlessOfficeLeftByAKilledProgramIsEndedWhenItsProfileIsTakenAgain) {
    zk::test::TempFolder folder;
    const QString profile = folder.path() + "/Zerkon/office-profile";
    calc::Office::Options options;
    options.profileFolder = profile;
    // A profile made by an office of ours before: a first start on a new profile would end itself
    // and come back under another pid, which this test could not name.
    { calc::Office earlier(options); }
    // The office a killed program left behind: started here, so this test may end it.
    QProcess launcher;
    // Its temporary files where an office of ours keeps them.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", profile + "/tmp");
    launcher.setProcessEnvironment(env);
    // A pipe of this run's own: an office another run left cannot stand in for it.
    const QString pipeName = QStringLiteral("zk-orphan-test-%1").arg(QCoreApplication::applicationPid());
    launcher.start("/usr/lib/libreoffice/program/soffice",
                   {"--headless", "--invisible", "--norestore", "--nodefault",
                    "-env:UserInstallation=file://" + profile, "--accept=pipe,name=" + pipeName + ";urp;"});
    ASSERT_TRUE(launcher.waitForStarted());
    pid_t orphan = 0;
    // Whatever the launcher still runs is ours: none may outlive the test, however it ends.
    struct EndOurs {
        QProcess& launcher;
        pid_t& orphan;
        ~EndOurs() {
            for (pid_t left : calc::childProcesses(pid_t(launcher.processId()), "soffice.bin"))
                calc::signalProcess(left, SIGKILL);
            launcher.waitForFinished(5000);
            if (orphan > 1 && calc::processIs(orphan, "soffice.bin")) calc::signalProcess(orphan, SIGKILL);
        }
    } endOurs{launcher, orphan};
    for (int i = 0; i < 250 && !orphan; ++i) {
        QThread::msleep(20);
        const QList<pid_t> children = calc::childProcesses(pid_t(launcher.processId()), "soffice.bin");
        if (!children.isEmpty()) orphan = children.first();
    }
    ASSERT_GT(orphan, 1);
    folder.write("Zerkon/office-profile/office.pid", QByteArray::number(orphan));
    // Its pipe bound, so that what becomes of it shows below.
    const QString orphanPipe = calc::officePipePath(pipeName);
    for (int i = 0; i < 500 && calc::pipeOwner(orphanPipe, orphan, nullptr) != calc::PipeOwner::Office; ++i)
        QThread::msleep(20);
    ASSERT_EQ(calc::pipeOwner(orphanPipe, orphan, nullptr), calc::PipeOwner::Office);
    {
        calc::Office office(options);
        EXPECT_FALSE(calc::processExists(orphan));
        EXPECT_FALSE(QFileInfo::exists(orphanPipe)) << "the ended orphan's pipe was left behind";
        EXPECT_EQ(office.profileFolder(), profile);
        EXPECT_TRUE(office.connected());
    }
}

TEST(CalcOffice, SignalsAreNeverSentToPidsOfOneOrLess) {
    EXPECT_FALSE(calc::signalProcess(0, 0));
    EXPECT_FALSE(calc::signalProcess(1, 0));
    EXPECT_FALSE(calc::signalProcess(-1, 0));
    EXPECT_TRUE(calc::childProcesses(1, "soffice.bin").isEmpty());
}

} // namespace
