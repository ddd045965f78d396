// TExcel against real headless offices: its operations in their order, its guards and
// messages, and its faults (a killed office, a failing save, a closed workbook).
#include "support/CalcFixture.h"
#include "TestHost.h"

#include "platform/MessageService.h"
#include "platform/calc/CalcWindow.h"
#include "platform/calc/ExcelPalette.h"
#include "platform/calc/OfficeProcess.h"
#include "sheet/Texts.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <csignal>

using namespace zk;
using zk::sheet::TExcel;
using zk::test::Reopened;

namespace {

::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new zk::test::SharedOffice);

class ExcelWrapper : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        book = folder.file("items.xlsx");
        zk::test::makeWorkbook(book, {{"A1", "ID"}, {"B1", "商品名"}, {"B7", "ヴィンテージ時計"}, {"F1", "開始価格"}});
    }
    void TearDown() override {
        if (excel.ExcelApp) excel.ExcelApp->office().terminate();
    }
    QStringList shownTexts() const {
        QStringList texts;
        for (const QJsonObject& o : MessageService::instance().transcript()) texts << o["text"].toString();
        return texts;
    }
    void openBook() {
        ASSERT_EQ(excel.Startup(), 0);
        ASSERT_EQ(excel.OpenFile(book), 0);
        ASSERT_TRUE(excel.SetActiveSheet());
    }

    zk::test::TempFolder folder;
    QString book;
    TExcel excel;
};

TEST_F(ExcelWrapper, OpenBeforeStartupAsksToStartAndTouchesNothing) {
    EXPECT_EQ(excel.OpenFile(book), -1);
    EXPECT_EQ(excel.OpenNewBook(), -1);
    EXPECT_EQ(shownTexts(), QStringList({"表計算を起動してください", "表計算を起動してください"}));
    EXPECT_FALSE(excel.ExcelApp);
    EXPECT_FALSE(excel.Book);
    EXPECT_EQ(excel.LastError, 0u);
}

TEST_F(ExcelWrapper, ReadCellWithoutASheetIsEmptyAndReportedOnlyThroughLastError) {
    const QVariant value = excel.ReadCell(1, 1);
    EXPECT_EQ(TExcel::ToText(value), "");
    EXPECT_NE(excel.LastError, 0u);
    EXPECT_FALSE(excel.LastErrorText.isEmpty());
    EXPECT_TRUE(MessageService::instance().transcript().isEmpty());
    EXPECT_EQ(excel.WriteToCell(1, 1, "x"), -1);
    EXPECT_EQ(excel.LiveCheck(), -1);
}

TEST_F(ExcelWrapper, StartupShowsTheWindowWithTheCloseCommandRemovedAndOpenWantsAName) {
    ASSERT_EQ(excel.Startup(), 0);
    EXPECT_EQ(excel.Started, 1);
    ASSERT_TRUE(excel.ExcelWindow);
    EXPECT_TRUE(excel.ExcelWindow->isAlive());
    EXPECT_TRUE(excel.ExcelApp->visible());
    EXPECT_TRUE(excel.ExcelApp->office().closeVeto());
    EXPECT_EQ(excel.Book->typeName(), "Workbooks");
    EXPECT_EQ(excel.OpenFile(""), -1);
    EXPECT_EQ(shownTexts(), QStringList({"ファイル名を指定してください。"}));
    // No workbook is open yet: the application reference is still empty.
    EXPECT_EQ(excel.LiveCheck(), -1);
    EXPECT_EQ(excel.LastError, hresult::Fail);
}

TEST_F(ExcelWrapper, CellOperationsReachTheSavedFile) {
    openBook();
    EXPECT_EQ(excel.SetColProperty(1, "NumberFormatLocal", "@"), 0);
    EXPECT_EQ(excel.SetColProperty(3, "NumberFormatLocal", "@"), 0);
    EXPECT_EQ(excel.WriteToCell(7, 1, "0012345"), 0);
    EXPECT_EQ(excel.WriteToCell(7, 3, "2026/12/07 10:15:00"), 0);
    EXPECT_EQ(excel.WriteToCell(7, 4, "1500"), 0);
    EXPECT_EQ(excel.SetCellProperty(8, 4, "NumberFormat", "@"), 0);
    EXPECT_EQ(excel.WriteToCell(8, 4, "0099"), 0);
    EXPECT_EQ(excel.WriteToHyperlinkCell(7, 5, "https://page.example/auction/x123"), 0);
    EXPECT_EQ(excel.SetBackgroundColor(7, 35), 0);
    EXPECT_EQ(excel.SetBackgroundColor(8, 56), 0);
    EXPECT_EQ(excel.SetBackgroundColor(9, 35), 0);
    EXPECT_EQ(excel.SetBackgroundColor(9, -4142), 0);
    EXPECT_EQ(excel.SetBackgroundColor(10, 57), 0);
    EXPECT_EQ(TExcel::ToText(excel.ReadCell(7, 2)), "ヴィンテージ時計");
    EXPECT_EQ(TExcel::ToText(excel.ReadCell(7, 4)), "1500");
    EXPECT_EQ(TExcel::ToText(excel.ReadCell(7, 9)), "");
    EXPECT_EQ(excel.LastError, 0u);
    EXPECT_EQ(excel.Quit(), 0);
    EXPECT_EQ(excel.Started, 0);
    EXPECT_FALSE(excel.ExcelApp || excel.Book || excel.AppRef || excel.Sheets || excel.Sheet);

    Reopened again(book);
    auto sheet = again.sheet();
    EXPECT_EQ(again.text("A7"), "0012345");
    EXPECT_EQ(again.text("C7"), "2026/12/07 10:15:00");
    EXPECT_EQ(sheet->range("D7")->value().typeId(), QMetaType::Double);
    EXPECT_EQ(again.text("D8"), "0099");
    EXPECT_EQ(sheet->range("E7")->hyperlinkAddress(), "https://page.example/auction/x123");
    EXPECT_EQ(again.text("E7"), "https://page.example/auction/x123");
    EXPECT_EQ(sheet->range("B7")->interiorColor(), 0xCCFFCC);
    EXPECT_EQ(sheet->range("A8")->interiorColor(), 0x333333);
    EXPECT_EQ(sheet->range("A9")->interiorColorIndex(), calc::palette::NoFill);
    EXPECT_EQ(sheet->range("A10")->interiorColorIndex(), calc::palette::NoFill) << "57 makes no call";
    EXPECT_EQ(sheet->range("A7")->numberFormat(), "@");
}

TEST_F(ExcelWrapper, HyperlinkColumnsPastZHaveNoAddress) {
    openBook();
    EXPECT_EQ(excel.WriteToHyperlinkCell(3, 27, "https://page.example/"), -1);
    EXPECT_NE(excel.LastError, 0u);
}

TEST_F(ExcelWrapper, BlockOfHyperlinksIsRealLinksInTheSavedFileAndLeavesItsNeighboursAlone) {
    openBook();
    // Characters that markup would take for its own reach the cell as they are, and the link as
    // a browser sends them.
    const QStringList links{"https://page.example/auction/x1?a=1&b=2", "https://page.example/商品/x2",
                            "https://page.example/auction/x3/?q=<b>&t=\"x\"'y'"};
    QStringList addresses = links;
    addresses[2] = "https://page.example/auction/x3/?q=%3Cb%3E&t=%22x%22'y'";
    EXPECT_EQ(excel.WriteToCell(6, 5, "上"), 0);
    EXPECT_EQ(excel.WriteToCell(10, 5, "下"), 0);
    EXPECT_EQ(excel.WriteRows(7, 4, {{"1,500", QVariant(), "次"}, {"2", QVariant(), "次"}, {"3", QVariant(), "次"}}), 0);
    EXPECT_EQ(excel.WriteHyperlinks(7, 5, links), 0);
    EXPECT_EQ(excel.WriteHyperlinks(11, 5, {}), 0);
    EXPECT_EQ(excel.WriteHyperlinks(1048576, 5, links), -1) << "past the last row";
    EXPECT_EQ(excel.Quit(), 0);

    Reopened again(book);
    auto sheet = again.sheet();
    for (int k = 0; k < 3; ++k) {
        const QString cell = QString("E%1").arg(7 + k);
        EXPECT_EQ(sheet->range(cell)->hyperlinkAddress().toStdString(), addresses[k].toStdString()) << cell.toStdString();
        EXPECT_EQ(again.text(cell).toStdString(), links[k].toStdString()) << cell.toStdString();
        EXPECT_EQ(again.text(QString("F%1").arg(7 + k)), "次");
    }
    EXPECT_EQ(again.text("D7"), "1,500");
    EXPECT_EQ(again.text("B7"), "ヴィンテージ時計");
    EXPECT_EQ(again.text("E6"), "上");
    EXPECT_EQ(again.text("E10"), "下");
    EXPECT_EQ(sheet->range("E6")->hyperlinkAddress(), "");
    EXPECT_EQ(sheet->range("E10")->hyperlinkAddress(), "");
}

// A block write leaves rows of one-line texts at the height they have, and fits a row whose text
// has two lines to it, as typing it would.
TEST_F(ExcelWrapper, BlockWritesMakeARowTallerOnlyForATextOfTwoLines) {
    openBook();
    auto sheet = excel.ExcelApp->activeWorkbook()->sheets()->item(1);
    const auto height = [&](int row) { return sheet->range(QString("A%1").arg(row))->property("RowHeight").toDouble(); };
    const double plain = height(30);
    ASSERT_GT(plain, 0);
    EXPECT_EQ(excel.WriteRows(20, 1, {{"一行のタイトル", 1}, {"一行目\n二行目", 2}, {QVariant(), 3}}), 0);
    EXPECT_EQ(excel.WriteHyperlinks(20, 5, {"https://page.example/x1", "https://page.example/x2", "https://page.example/x3"}),
              0);
    EXPECT_DOUBLE_EQ(height(20), plain);
    EXPECT_GT(height(21), plain * 1.5);
    EXPECT_DOUBLE_EQ(height(22), plain);
    // The fitting held for the links is taken up again after them.
    EXPECT_EQ(excel.WriteRows(23, 2, {{"一行目\n二行目"}}), 0);
    EXPECT_GT(height(23), plain * 1.5);
}

TEST_F(ExcelWrapper, ActiveCellWindowStateAndTitle) {
    openBook();
    excel.ExcelApp->activeWorkbook()->sheets()->item(1)->range("D7")->select();
    EXPECT_EQ(excel.GetRowNumber(), 7);
    EXPECT_EQ(excel.GetColNumber(), 4);
    const int state = excel.GetWindowState();
    EXPECT_TRUE(state == -4143 || state == -4137 || state == -4140) << state;
    EXPECT_EQ(excel.SetWindowStateNormal(), 0);
    EXPECT_EQ(excel.GetWindowState(), -4143);
    EXPECT_EQ(excel.SetEditInCellProperty(false), 0);
    EXPECT_FALSE(excel.ExcelApp->editDirectlyInCell());
    QString title;
    EXPECT_GT(excel.GetTitlebarText(title), 0);
    EXPECT_TRUE(title.contains("items")) << title.toStdString();
    EXPECT_LE(title.size(), 63);
}

TEST_F(ExcelWrapper, QuitWhenSaveFailsKeepsTheOfficeAndEveryReference) {
    openBook();
    excel.ExcelApp->office().setCallGate([](const QString& call) {
        if (call == "Save") throw AutomationError(hresult::Exception, "保存できません");
    });
    EXPECT_EQ(excel.Quit(), -1);
    EXPECT_EQ(excel.LastError, hresult::Exception);
    EXPECT_EQ(excel.LastErrorText, "保存できません");
    EXPECT_EQ(excel.Started, 1);
    EXPECT_TRUE(excel.ExcelApp && excel.Book && excel.AppRef && excel.Sheets && excel.Sheet);
    EXPECT_TRUE(excel.ExcelApp->office().connected());
    EXPECT_TRUE(calc::processExists(excel.ExcelApp->office().processId()));
    excel.ExcelApp->office().setCallGate({});
    EXPECT_EQ(excel.Quit(), 0);
}

TEST_F(ExcelWrapper, LiveCheckAfterTheOfficeWasKilledFailsWithADisconnection) {
    openBook();
    const pid_t pid = excel.ExcelApp->office().processId();
    ASSERT_GT(pid, 1);
    ASSERT_TRUE(calc::signalProcess(pid, SIGKILL));
    EXPECT_EQ(excel.LiveCheck(), -1);
    EXPECT_TRUE(excel.LastError == hresult::Disconnected || excel.LastError == hresult::ServerUnavailable)
        << std::hex << excel.LastError;
    EXPECT_FALSE(excel.LastErrorText.isEmpty());
    EXPECT_EQ(excel.LiveCheck(), -1);
    EXPECT_TRUE(AutomationError(excel.LastError, "").isDisconnection());
}

TEST_F(ExcelWrapper, LiveCheckAgainstAHungOfficeReturnsWithinSecondsAndEndsIt) {
    openBook();
    // A short bound only now: a busy machine must not make the opening itself count as hung.
    excel.ExcelApp->office().setCallTimeout(1000);
    const pid_t pid = excel.ExcelApp->office().processId();
    ASSERT_GT(pid, 1);
    ASSERT_TRUE(calc::signalProcess(pid, SIGSTOP)); // hung, as an office that never answers
    // Stopped only once each of its threads has run again (see processStopped).
    for (int i = 0; i < 500 && !calc::processStopped(pid); ++i) QThread::msleep(10);
    ASSERT_TRUE(calc::processStopped(pid));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(excel.LiveCheck(), -1);
    EXPECT_LT(timer.elapsed(), 30000) << "the save waited on the hung office";
    EXPECT_TRUE(AutomationError(excel.LastError, "").isDisconnection()) << std::hex << excel.LastError;
    for (int i = 0; i < 100 && calc::processExists(pid); ++i) QThread::msleep(20);
    EXPECT_FALSE(calc::processExists(pid));
}

TEST_F(ExcelWrapper, TwoLiveChecksSaveTwice) {
    openBook();
    int saves = 0;
    excel.ExcelApp->office().setCallGate([&](const QString& call) { saves += call == "Save"; });
    EXPECT_EQ(excel.WriteToCell(2, 2, "first"), 0);
    EXPECT_EQ(excel.LiveCheck(), 0);
    EXPECT_EQ(excel.WriteToCell(3, 2, "second"), 0);
    EXPECT_EQ(excel.LiveCheck(), 0);
    EXPECT_EQ(saves, 2);
    EXPECT_FALSE(excel.ExcelApp->displayAlerts());
    excel.ExcelApp->office().terminate(); // no further save
    Reopened again(book);
    EXPECT_EQ(again.text("B2"), "first");
    EXPECT_EQ(again.text("B3"), "second");
}

// A workbook is written again only when it changed: a check or a close of a workbook just saved
// or opened leaves the file alone, one after a write saves it.
TEST_F(ExcelWrapper, LiveCheckAndCloseBookSaveOnlyAChangedWorkbook) {
    struct Case {
        const char* name;
        bool write;  // a cell written before the call
        bool saveFirst;
        bool close;  // CloseBook, otherwise LiveCheck
        int saves;
    };
    const Case cases[] = {
        {"a check of a workbook just opened", false, false, false, 0},
        {"a check after a write", true, false, false, 1},
        {"a check after a write and a save", true, true, false, 0},
        {"a close of a workbook just opened", false, false, true, 0},
        {"a close after a write", true, false, true, 1},
        {"a close after a write and a save", true, true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zk::test::makeWorkbook(book, {{"A1", "ID"}});
        openBook();
        if (c.write) {
            EXPECT_EQ(excel.WriteToCell(5, 2, c.name), 0);
        }
        if (c.saveFirst) {
            EXPECT_EQ(excel.Save(), 0);
        }
        int saves = 0;
        excel.ExcelApp->office().setCallGate([&](const QString& call) { saves += call == "Save"; });
        EXPECT_EQ(c.close ? excel.CloseBook() : excel.LiveCheck(), 0);
        EXPECT_EQ(saves, c.saves);
        excel.ExcelApp->office().setCallGate({});
        if (c.close) {
            EXPECT_TRUE(excel.ExcelApp->office().connected());
        } else {
            EXPECT_EQ(excel.CloseBook(), 0);
        }
        Reopened again(book);
        EXPECT_EQ(again.text("B5"), c.write ? QString(c.name) : QString());
    }
}

TEST_F(ExcelWrapper, CloseBookSavesClosesAndKeepsTheApplication) {
    openBook();
    EXPECT_EQ(excel.WriteToCell(4, 2, "closed"), 0);
    EXPECT_EQ(excel.CloseBook(), 0);
    EXPECT_TRUE(excel.ExcelApp->office().connected());
    EXPECT_EQ(excel.LiveCheck(), -1) << "the references still name the closed workbook";
    EXPECT_EQ(excel.LastError, hresult::Disconnected);
    Reopened again(book);
    EXPECT_EQ(again.text("B4"), "closed");
}

TEST_F(ExcelWrapper, NewBookSheetNumberAndSaveAsWithoutExtension) {
    ASSERT_EQ(excel.Startup(), 0);
    ASSERT_EQ(excel.OpenNewBook(), 0);
    excel.SetSheetNo(1);
    EXPECT_THROW(excel.SetSheetNo(9), AutomationError);
    EXPECT_FALSE(excel.Sheet);
    excel.SetSheetNo(1);
    EXPECT_EQ(excel.WriteToCell(1, 1, "1"), 0);
    EXPECT_EQ(excel.WriteToHyperlinkCell(1, 5, "https://page.example/1"), 0);
    EXPECT_EQ(excel.SaveAs(folder.file("2026-12-07 出品中")), 0);
    EXPECT_EQ(excel.Quit(), 0);
    ASSERT_TRUE(QFileInfo::exists(folder.file("2026-12-07 出品中.xlsx")));
    Reopened again(folder.file("2026-12-07 出品中.xlsx"));
    EXPECT_EQ(again.text("A1"), "1");
    EXPECT_EQ(again.sheet()->range("E1")->hyperlinkAddress(), "https://page.example/1");
}

TEST_F(ExcelWrapper, OpenNewSheetsKeepsTheCollectionAsBook) {
    ASSERT_EQ(excel.Startup(), 0);
    ASSERT_EQ(excel.OpenNewSheets(), 0);
    EXPECT_EQ(excel.Book->typeName(), "Workbooks");
    ASSERT_TRUE(excel.Sheets);
    EXPECT_EQ(excel.Sheets->count(), 1);
}

} // namespace
