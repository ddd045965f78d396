// The workbook session, the column prompts and the title undo, driven like the main window
// drives them, against real headless offices; the user's answers come from the message
// service's script.
#include "support/CalcFixture.h"
#include "TestHost.h"

#include "listing/PreviousTitle.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "platform/calc/OfficeProcess.h"
#include "sheet/WorkbookSession.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QThread>
#include <csignal>

using namespace zk;
using zk::test::Reopened;
using zk::test::TestHost;

namespace {

::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new zk::test::SharedOffice);

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        host.setIniPath(folder.file("data/System.ini"));
        host.setExeFolder(QDir::currentPath());
        folder.write("data/System.ini", "[SYSTEM]\r\nHOST=example\r\n");
        books = folder.file("books");
        QDir().mkpath(books);
        first = books + "/items.xlsx";
        zk::test::makeWorkbook(first, {{"B1", "商品名"}, {"F1", "開始価格"}, {"B7", "腕時計"}, {"B8", "万年筆"}});
    }
    void answer(const QStringList& lines) { MessageService::instance().setAnswers(lines); }
    QList<QJsonObject> boxes() const { return MessageService::instance().transcript(); }
    QStringList captions() const {
        QStringList c;
        for (const QJsonObject& o : boxes()) c << o["caption"].toString();
        return c;
    }
    QString excelDir() {
        ProfileFile ini(host.iniPath);
        ini.load();
        return ini.readString("SYSTEM", "EXCEL_DIR");
    }
    // Opens `path` with the row prompt answered on D7 and the header finding the price column.
    void open(const QString& path) {
        host.userSelects = [this] { host.select("D7"); };
        answer({path, "OK"});
        session.StartExcelClick();
        ASSERT_EQ(host.ExcelState, 1);
    }

    zk::test::TempFolder folder;
    QString books, first;
    TestHost host;
    sheet::WorkbookSession& session = host.workbook;
};

TEST_F(Session, OpeningChecksTheNameChoosesRowAndPriceAndRemembersTheFolder) {
    const QString upper = books + "/BOOK.XLS";
    zk::test::makeWorkbook(upper, {{"B1", "商品名"}, {"F1", "開始価格"}, {"B7", "x"}});
    host.userSelects = [this] { host.select("D7"); };
    answer({books + "/book.xlsm", "OK", books + "/none.xlsx", "OK", upper, "OK"});
    session.StartExcelClick();

    const QList<QJsonObject> shown = boxes();
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[0]["kind"].toString(), "open-file");
    EXPECT_EQ(shown[0]["filter"].toString(), "表計算のファイル (*.xls;*.xlsx)|*.XLS;*.XLSX");
    EXPECT_EQ(shown[0]["folder"].toString(), "");
    EXPECT_EQ(shown[1]["text"].toString(), books + "/book.xlsm は、表計算の文書ではありません。");
    EXPECT_EQ(shown[1]["caption"].toString(), "エラー");
    EXPECT_EQ(shown[1]["icon"].toString(), "exclamation");
    EXPECT_EQ(shown[2]["kind"].toString(), "open-file");
    EXPECT_EQ(shown[3]["text"].toString(), books + "/none.xlsx は有りません。");
    EXPECT_EQ(shown[4]["kind"].toString(), "open-file");
    EXPECT_EQ(shown[5]["caption"].toString(), "Cellの選択");
    EXPECT_EQ(shown[5]["icon"].toString(), "information");
    // The prompt asks for a click in the office's window: it stays above it, the others do not.
    EXPECT_TRUE(shown[5]["above"].toBool());
    EXPECT_FALSE(shown[1]["above"].toBool());
    EXPECT_FALSE(zk::MessageService::instance().keptAbove());

    EXPECT_EQ(host.ExcelState, 1);
    EXPECT_EQ(host.RowChosen, 1);
    EXPECT_EQ(host.CurrentRow, 7);
    EXPECT_EQ(host.FirstRow, 7);
    EXPECT_EQ(host.NameColumn, 2);
    EXPECT_EQ(host.ResultColumn, 1);
    EXPECT_EQ(host.PriceColumn, 6) << "found by its header, without the price prompt";
    EXPECT_EQ(host.panel, QList<int>({0, 1}));
    EXPECT_EQ(host.opened, 1);
    EXPECT_EQ(host.restored, QStringList({"Excel"}));
    EXPECT_EQ(excelDir(), books + "/");
    EXPECT_EQ(QDir::currentPath(), host.exeFolder());
    EXPECT_FALSE(host.excel.ExcelApp->editDirectlyInCell());
    // The row prompt moved the panel below the screen and back.
    ASSERT_EQ(host.tops.size(), 2);
    EXPECT_EQ(host.tops.last(), 700);
}

TEST_F(Session, CancellingTheDialogLeavesEverythingAsItWas) {
    answer({"Cancel"});
    session.StartExcelClick();
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_FALSE(host.excel.ExcelApp);
    EXPECT_EQ(host.panel, QList<int>({0, 1}));
    EXPECT_EQ(host.opened, 0);
}

TEST_F(Session, ASecondWorkbookReusesTheRunningOfficeAndSavesTheFirst) {
    open(first);
    const pid_t pid = host.excel.ExcelApp->office().processId();
    ASSERT_TRUE(session.WriteCellText(7, 1, "x100200300"));
    const QString second = books + "/more.xlsx";
    zk::test::makeWorkbook(second, {{"B1", "商品名"}, {"B7", "second"}});
    open(second);
    EXPECT_EQ(host.excel.ExcelApp->office().processId(), pid);
    EXPECT_EQ(host.excel.ExcelApp->workbooks()->count(), 1);
    QString text;
    ASSERT_TRUE(session.ReadCellText(7, 2, text));
    EXPECT_EQ(text, "second");
    Reopened again(first);
    EXPECT_EQ(again.text("A7"), "x100200300");
}

TEST_F(Session, TheSameFolderAsBeforeDoesNotRewriteTheSettings) {
    folder.write("data/System.ini", ("[SYSTEM]\r\nEXCEL_DIR=" + books + "/\r\n").toUtf8());
    const QByteArray before = folder.read("data/System.ini");
    const QDateTime modified = QFileInfo(host.iniPath).lastModified();
    open(first);
    EXPECT_EQ(folder.read("data/System.ini"), before);
    EXPECT_EQ(QFileInfo(host.iniPath).lastModified(), modified);
    EXPECT_EQ(boxes().first()["folder"].toString(), books + "/") << "the dialog starts in that folder";
}

TEST_F(Session, ReadingAnEmptyCellSucceedsWithTheEmptyText) {
    open(first);
    QString text = "stale";
    EXPECT_TRUE(session.ReadCellText(30, 30, text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(session.ReadCellText(7, 2, text));
    EXPECT_EQ(text, "腕時計");
}

TEST_F(Session, ClosingSavesQuitsAndEndsTheOffice) {
    open(first);
    ASSERT_TRUE(session.WriteCellText(8, 3, "2026/12/07 09:00:00"));
    const pid_t pid = host.excel.ExcelApp->office().processId();
    session.CloseExcelClick();
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_EQ(host.saved, QStringList({"Excel"}));
    EXPECT_FALSE(calc::processExists(pid));
    Reopened again(first);
    EXPECT_EQ(again.text("C8"), "2026/12/07 09:00:00");
    // Closing again only clears the state.
    session.CloseExcelClick();
    EXPECT_EQ(host.ExcelState, 0);
}

TEST_F(Session, ClosingWhileACellIsEditedRepairsThenSavesAndQuits) {
    open(first);
    ASSERT_TRUE(session.WriteCellText(9, 2, "edited"));
    zk::test::EditingSpreadsheet editing;
    editing.install(host.excel.ExcelApp->office(), host);
    editing.editing = true;
    MessageService::instance().clearTranscript();
    answer({"OK"});
    session.CloseExcelClick();
    EXPECT_GE(editing.rejected, 1);
    EXPECT_EQ(host.keys, QStringList({"{TAB}"}));
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0]["text"].toString(),
              "表計算から拒否されました。\n編集モードになっていると思われますので、修正します。");
    EXPECT_EQ(boxes()[0]["caption"].toString(), "編集モード修正");
    EXPECT_EQ(boxes()[0]["icon"].toString(), "exclamation");
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_GE(host.broughtToFront, 1);
    Reopened again(first);
    EXPECT_EQ(again.text("B9"), "edited");
}

TEST_F(Session, ReadsAndWritesRetryAfterTheRepair) {
    open(first);
    zk::test::EditingSpreadsheet editing;
    editing.install(host.excel.ExcelApp->office(), host);
    MessageService::instance().clearTranscript();
    editing.editing = true;
    EXPECT_TRUE(session.WriteCellText(10, 2, "after repair"));
    editing.editing = true;
    QString text;
    EXPECT_TRUE(session.ReadCellText(10, 2, text));
    EXPECT_EQ(text, "after repair");
    EXPECT_EQ(captions(), QStringList({"編集モード修正", "編集モード修正"}));
    EXPECT_EQ(host.keys.size(), 2);
}

TEST_F(Session, ACellThatStaysInEditModeEndsTheRetriesWithTheError) {
    open(first);
    zk::test::EditingSpreadsheet editing;
    editing.install(host.excel.ExcelApp->office(), host);
    host.onTab = [] {}; // the Tab does not leave this edit
    editing.editing = true;
    MessageService::instance().clearTranscript();
    EXPECT_FALSE(session.WriteCellText(10, 2, "never"));
    QString text;
    EXPECT_FALSE(session.ReadCellText(10, 2, text));
    const QStringList shown = captions();
    EXPECT_EQ(shown.count("編集モード修正"), 10);
    ASSERT_EQ(shown.size(), 12);
    EXPECT_TRUE(boxes()[5]["text"].toString().startsWith("次のエラーにより、表計算への書き込みに失敗しました。"));
    EXPECT_TRUE(boxes()[11]["text"].toString().startsWith("次のエラーにより、表計算からデータの取得に失敗しました。"));
    editing.editing = false;
}

// Where a failed cell only leaves a label empty, the access tries once and says nothing: no
// repair box and no Tab typed, whether a cell is being edited or the office has gone.
TEST_F(Session, QuietAccessTriesOnceAndSaysNothing) {
    open(first);
    host.CurrentRow = 7;
    EXPECT_EQ(session.NextTitle(), "腕時計");
    zk::test::EditingSpreadsheet editing;
    editing.install(host.excel.ExcelApp->office(), host);
    constexpr auto Quiet = sheet::WorkbookSession::Failure::Quiet;
    for (const bool lost : {false, true}) {
        SCOPED_TRACE(lost ? "the office has gone" : "a cell is being edited");
        editing.editing = !lost;
        if (lost) {
            ASSERT_TRUE(calc::signalProcess(host.excel.ExcelApp->office().processId(), SIGKILL));
        }
        MessageService::instance().clearTranscript();
        QString text = "x";
        EXPECT_FALSE(session.ReadCellText(7, 2, text, Quiet));
        EXPECT_EQ(text, "");
        EXPECT_FALSE(session.WriteCellText(7, 2, "y", Quiet));
        EXPECT_EQ(session.NextTitle(), "");
        EXPECT_TRUE(boxes().isEmpty()) << captions().join(" / ").toStdString();
        EXPECT_TRUE(host.keys.isEmpty());
    }
}

TEST_F(Session, ALostOfficeIsReportedWithTheRestartAdvice) {
    open(first);
    ASSERT_TRUE(calc::signalProcess(host.excel.ExcelApp->office().processId(), SIGKILL));
    MessageService::instance().clearTranscript();
    QString text = "x";
    EXPECT_FALSE(session.ReadCellText(7, 2, text));
    EXPECT_EQ(text, "");
    const QString readError = host.excel.LastErrorText;
    EXPECT_FALSE(session.WriteCellText(7, 2, "y"));
    ASSERT_EQ(boxes().size(), 2);
    const QString read = boxes()[0]["text"].toString();
    EXPECT_TRUE(read.startsWith("次のエラーにより、表計算からデータの取得に失敗しました。\n\n"));
    EXPECT_TRUE(read.contains(readError));
    EXPECT_TRUE(read.endsWith("\n\nZerkonで表計算の再起動をして下さい。"
                              "１．([表計算]ボタン下の[閉じる]をクリックし、[表計算]ボタンで再度起動して下さい。"
                              "２．その場合、アップロード済みの画像を戻すために[画像を１出品分戻す]ボタンを\n"
                              "クリックしてから行って下さい。(ブラウザ上のアップロード画像はそのままです)"));
    EXPECT_EQ(boxes()[0]["caption"].toString(), "表計算のエラー");
    EXPECT_TRUE(boxes()[1]["text"].toString().startsWith("次のエラーにより、表計算への書き込みに失敗しました。\n\n"));
    // Closing fails with its own message and keeps the state; the next open starts anew.
    MessageService::instance().clearTranscript();
    session.CloseExcelClick();
    EXPECT_EQ(host.ExcelState, 1);
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0]["text"].toString().startsWith("次のエラーにより、表計算の終了に失敗しました。\n\n"));
    // The killed office left its lock beside the workbook; ours, so it does not stand in the way.
    EXPECT_TRUE(QFileInfo::exists(books + "/.~lock.items.xlsx#"));
    open(first);
    QString title;
    EXPECT_TRUE(session.ReadCellText(7, 2, title));
    EXPECT_EQ(title, "腕時計");
}

TEST_F(Session, ChoosingTheRowAgainAfterTheOfficeWasKilledSaysSoAndRemovesItsLock) {
    open(first);
    ASSERT_TRUE(calc::signalProcess(host.excel.ExcelApp->office().processId(), SIGKILL));
    for (int i = 0; i < 100 && !QFileInfo::exists(books + "/.~lock.items.xlsx#"); ++i) QThread::msleep(20);
    MessageService::instance().clearTranscript();
    host.prompts.SelectRowClick();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0]["text"].toString(), "表計算を起動してください");
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_FALSE(QFileInfo::exists(books + "/.~lock.items.xlsx#")) << "the dead office's lock stayed";
}

TEST_F(Session, AWorkbookThatCannotBeOpenedIsReportedAndTheOfficeEnded) {
    const QString broken = books + "/broken.xlsx";
    folder.write("books/broken.xlsx", "this is no workbook");
    answer({broken});
    session.StartExcelClick();
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_EQ(host.excel.Started, 0);
    EXPECT_FALSE(host.excel.ExcelApp);
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_TRUE(boxes()[1]["text"].toString().startsWith("次のエラーにより、表計算の文書を開けませんでした。\n\n"));
    EXPECT_EQ(boxes()[1]["caption"].toString(), "表計算のエラー");
    EXPECT_EQ(host.panel, QList<int>({0, 1}));
    EXPECT_EQ(host.opened, 0);
}

TEST_F(Session, TheKeySenderTypesIntoTheSpreadsheetWindow) {
    open(first);
    host.select("B12");
    ASSERT_TRUE(Desktop::instance().setForeground(host.excel.ExcelWindow.get()));
    EXPECT_EQ(KeySender().SendKeys("Abc{TAB}9{TAB}"), 0);
    QString text;
    ASSERT_TRUE(session.ReadCellText(12, 2, text));
    EXPECT_EQ(text, "Abc");
    ASSERT_TRUE(session.ReadCellText(12, 3, text));
    EXPECT_EQ(text, "9");
    EXPECT_EQ(host.excel.GetColNumber(), 4);
}

// ---- Column prompts -------------------------------------------------------------------------

TEST_F(Session, PriceHeaderPastColumnFiftyOrWithASpaceIsNotFound) {
    const QString far = books + "/far.xlsx";
    zk::test::makeWorkbook(far, {{"AY1", " 開始価格"}, {"AZ1", "開始価格"}, {"B7", "x"}});
    host.userSelects = [this] { host.select("D7"); };
    answer({far, "OK", "OK"});
    // The user picks the price cell H3 while the price prompt is shown: selected beforehand.
    host.userSelects = [this] { host.select("H3"); };
    session.StartExcelClick();
    ASSERT_EQ(boxes().size(), 3);
    EXPECT_EQ(boxes()[2]["caption"].toString(), "開始価格Cellの選択");
    EXPECT_TRUE(boxes()[2]["above"].toBool());
    EXPECT_EQ(host.PriceColumn, 8);
    EXPECT_EQ(host.CurrentRow, 3);
    EXPECT_EQ(host.prompts.FindHeaderColumn("開始価格"), 0);
    EXPECT_EQ(host.prompts.FindHeaderColumn(" 開始価格"), 0) << "column 51 is past the search";
}

TEST_F(Session, CancelInThePricePromptMeansNoWorkbookPrices) {
    const QString plain = books + "/plain.xlsx";
    zk::test::makeWorkbook(plain, {{"B1", "商品名"}, {"B7", "x"}});
    host.userSelects = [this] { host.select("D7"); };
    answer({plain, "OK", "Cancel"});
    session.StartExcelClick();
    EXPECT_EQ(host.PriceColumn, 0);
    EXPECT_EQ(host.RowChosen, 1);
}

TEST_F(Session, RowPromptFormatsColumnsAAndCAsTextAndCancelKeepsTheFields) {
    open(first);
    session.WriteCellText(12, 1, "000777");
    session.WriteCellText(12, 3, "2026/12/07 09:00:00");
    QString text;
    session.ReadCellText(12, 1, text);
    EXPECT_EQ(text, "000777");
    host.CurrentRow = 9;
    host.LastTitle = "kept";
    answer({"Cancel"});
    host.userSelects = [this] { host.select("B20"); };
    EXPECT_EQ(host.RowPrompt(), -1);
    EXPECT_EQ(host.CurrentRow, 9);
    EXPECT_EQ(host.LastTitle, "kept");
    EXPECT_EQ(host.mainTop, 700);
    // "行再選択" chooses again and resets the title memory.
    answer({"OK"});
    host.prompts.SelectRowClick();
    EXPECT_EQ(host.CurrentRow, 20);
    EXPECT_EQ(host.FirstRow, 20);
    EXPECT_EQ(host.LastTitle, "");
    EXPECT_EQ(host.PriceColumn, 6);
    EXPECT_EQ(host.restored.last(), "Excel");
}

TEST_F(Session, RowPromptWithoutAReadableSheetSaysSo) {
    open(first);
    host.excel.AppRef.reset();
    host.CurrentRow = 9;
    host.userSelects = {};
    MessageService::instance().clearTranscript();
    answer({"OK", "OK"});
    EXPECT_EQ(host.RowPrompt(), -1);
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_EQ(boxes()[1]["text"].toString(), "表計算のシートが取得できませんでした");
    EXPECT_EQ(host.CurrentRow, 9);
    EXPECT_EQ(host.mainTop, 700);
}

// ---- Title undo -----------------------------------------------------------------------------

TEST_F(Session, PreviousTitleAtTheFirstRowKeepsTheRowButClearsItsColourAndShowsItsTitle) {
    open(first);
    host.excel.SetBackgroundColor(7, 35);
    host.excel.SetBackgroundColor(8, 35);
    host.CurrentRow = 8;
    listing::PreviousTitle undo(host.services.book, host);
    MessageService::instance().clearTranscript();
    undo.PreviousTitleClick();
    EXPECT_EQ(host.CurrentRow, 7);
    EXPECT_EQ(host.nextTitle, "腕時計");
    EXPECT_TRUE(boxes().isEmpty());
    undo.PreviousTitleClick();
    EXPECT_EQ(host.CurrentRow, 7);
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0]["text"].toString(), "これ以上戻せません");
    EXPECT_EQ(host.nextTitle, "腕時計");
    session.CloseExcelClick();
    Reopened again(first);
    EXPECT_EQ(again.sheet()->range("B7")->interiorColorIndex(), -4142);
    EXPECT_EQ(again.sheet()->range("B8")->interiorColor(), 0xCCFFCC);
}

TEST_F(Session, PreviousTitleAfterTheOfficeWentAwayForgetsTheWorkbook) {
    open(first);
    ASSERT_TRUE(calc::signalProcess(host.excel.ExcelApp->office().processId(), SIGKILL));
    host.CurrentRow = 8;
    listing::PreviousTitle(host.services.book, host).PreviousTitleClick();
    EXPECT_EQ(host.previousVisible, 0);
    EXPECT_EQ(host.ExcelState, 0);
    EXPECT_EQ(host.CurrentRow, 8);
}

} // namespace
