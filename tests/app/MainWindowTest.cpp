// The main window started offscreen, its boxes answered from a script.
#include "app/Mainform.h"
#include "app/PracticeSite.h"
#include "app/Minform.h"
#include "app/Regmanage.h"
#include "listing/ClosingSchedule.h"
#include "browser/Texts.h"
#include "listing/PicUploader.h"
#include "listing/Texts.h"
#include "relist/Texts.h"
#include "listing/BatchRules.h"
#include "sheet/Excel.h"
#include "sheet/Texts.h"
#include "platform/Clock.h"
#include "sheet/WorkbookSession.h"
#include "app/YahooIDDialog.h"
#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "support/CalcFixture.h"
#include "support/EndToEnd.h"
#include "ui_YahooIDDialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using zk::MessageService;
using zk::ProfileFile;

namespace {

// Workbooks are made and checked in an office of the test's own, ended at exit.
::testing::Environment* const office = ::testing::AddGlobalTestEnvironment(new zk::test::SharedOffice);


const char* kFieldsIni =
    "[SYSTEM]\r\nSECTION_NUM=1\r\nSHOUHIN_TITLE=Title\r\nSHOUHIN_SETUMEI=Description\r\nKAISI_PRICE_SEC_POS=1\r\n"
    "KAISI_PRICE_ITEM_POS=1\r\nKIBOU_PRICE_SEC_POS=1\r\nKIBOU_PRICE_ITEM_POS=2\r\nBANK_NAME_NUM=0\r\n"
    "SONOTA_KESSAI_NUM=0\r\nBANK_DEFAULT_NUM=0\r\nKESSAI_DEFAULT_NUM=0\r\n[SECTION1]\r\nNUM=2\r\nNAME1=StartPrice\r\n"
    "TYPE1=TEXT\r\nNAME2=BidOrBuyPrice\r\nTYPE2=TEXT\r\n";

class MainWindowTest : public zk::test::SiteSuiteTest {
protected:
    MainWindowTest() { zk::Desktop::instance().setWorkArea(QRect(0, 0, 1920, 1040)); }
    ~MainWindowTest() override {
        main_.reset(); // quits the browser it started
        zk::Desktop::instance().setWorkArea({});
    }

    // System.ini as the site's generator writes it, for a headless browser with its own profile.
    QString systemIni() const { return site->systemIni("/tmp", dir_.path() + "/profile"); }

    void writeSystemIni(const QString& text) { dir_.writeCp932("data/System.ini", text); }
    void writeFields() { dir_.writeCp932("data/FieldsDefine.ini", kFieldsIni); }

    // Constructs the window and runs its start-up step.
    void start(const QStringList& answers = {}) {
        MessageService::instance().setAnswers(answers);
        startWindow();
    }
    ProfileFile savedSystemIni() {
        ProfileFile file(dir_.path() + "/data/System.ini");
        file.load();
        return file;
    }
};

} // namespace

TEST_F(MainWindowTest, StartsOnTheSubPageWithTheBitmapSizeAndSavesPricesAtClose) {
    writeFields();
    writeSystemIni(systemIni() + "[FormInfo1]\r\nSTART_PRICE1=1500\r\nBUY_PRICE3=0\r\n");
    start();
    ASSERT_FALSE(main_->ended());
    EXPECT_EQ(texts(), QStringList());
    EXPECT_TRUE(main_->subPageShown());
    EXPECT_EQ(main_->width(), 930);
    EXPECT_EQ(control<QLineEdit>("StartPrice1")->text(), "1500");
    EXPECT_EQ(control<QLineEdit>("BuyPrice3")->text(), "");
    EXPECT_EQ(zk::closing::dateCount(zk::clock::now()), control<QComboBox>("ClosingDate")->count());
    // One version: the project's, on the label and after the form's caption.
    const QString version = control<QLabel>("Label8")->text();
    EXPECT_TRUE(version.startsWith("1.")) << version.toStdString();
    EXPECT_EQ(main_->windowTitle(), QString::fromUtf8("Zerkon1.0　(バージョン %1)").arg(version));
    // The form's own colour where no bitmap is drawn.
    EXPECT_EQ(main_->palette().color(QPalette::Window), QColor(255, 201, 74));
    // The browser was started and logged in on the practice site.
    EXPECT_EQ(main_->services().browser.IEConnected, 1);
    EXPECT_TRUE(main_->services().browser.IE->GetUrl().contains(site->info().auctionHostName)) << main_->services().browser.IE->GetUrl().toStdString();
    // The form's defaults, set before the items exist.
    EXPECT_EQ(control<zk::RadioGroup>("TimeSway")->itemIndex(), 0);
    EXPECT_EQ(control<zk::RadioGroup>("TempPriceSelect")->itemIndex(), 1);
    EXPECT_EQ(control<zk::RadioGroup>("SendSelect")->itemIndex(), 0);
    EXPECT_EQ(control<zk::RadioGroup>("CollectionRadio")->itemText(), QString::fromUtf8("出品中"));
    // Red pixels of the background are cut out of the window; the panels are not.
    EXPECT_FALSE(main_->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(main_->mask().contains(control("SubPanel")->geometry().center()));
    // First start: bottom-left of the work area, and the key exists.
    EXPECT_EQ(main_->pos(), QPoint(0, 1040 - main_->height()));

    control<QLineEdit>("StartPrice1")->clear();
    control<QLineEdit>("BuyPrice2")->setText("2000");
    main_->close();
    // Whoever wrote them first (0644 in a 0755 folder here): after a start and a save the
    // account and bank files are the seller's alone, and so is the folder that holds them.
    for (const auto& [name, mode] : {std::pair{"", 0700}, {"System.ini", 0600}, {"FieldsDefine.ini", 0600}})
        EXPECT_EQ(QFileInfo(dir_.path() + "/data/" + name).permissions() & 0x7077, mode == 0700 ? 0x7000 : 0x6000)
            << name;
    QDirIterator files(dir_.path() + "/data", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        EXPECT_EQ(QFileInfo(path).permissions() & 0x0077, 0) << path.toStdString() << " is open to others";
    }
    ProfileFile file = savedSystemIni();
    EXPECT_EQ(file.keyNames("FormInfo1").size(), 6);
    EXPECT_EQ(file.readString("FormInfo1", "START_PRICE1"), "0");
    EXPECT_EQ(file.readString("FormInfo1", "BUY_PRICE2"), "2000");
    zk::TRegManage reg;
    reg.TargetName = "Zerkon";
    reg.Open();
    reg.Read();
    EXPECT_EQ(reg.Width, 930);
    // The browser was running: its placement was kept too.
    reg.TargetName = "Internet Explorer";
    reg.Read();
    EXPECT_GT(reg.Width, 0);
}

TEST_F(MainWindowTest, PriceEditWithTextThatIsNoNumberReportsAtClose) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    control<QLineEdit>("StartPrice2")->setText("abc");
    main_->close();
    EXPECT_EQ(texts(), QStringList{QString::fromUtf8("システム初期化ファイルのオープンに失敗しました。")});
    EXPECT_EQ(MessageService::instance().transcript()[0]["icon"].toString(), "exclamation");
}

TEST_F(MainWindowTest, FreshAccountAsksForItThenRunsTheOptionEditorOnce) {
    writeFields();
    QString ini = systemIni();
    ini.replace("INIT_START=1", "INIT_START=0").replace("YAHOO_ID=zerkon_seller", "YAHOO_ID=0000").replace("PASSWORD=practice", "PASSWORD=0000");
    writeSystemIni(ini);
    start({"ID=zerkon_seller; Password1=practice; OKBtn", "OK", "Password2=practice; OKBtn", "Cancel"});
    ASSERT_FALSE(main_->ended());
    const auto& t = MessageService::instance().transcript();
    ASSERT_EQ(t.size(), 4);
    EXPECT_EQ(t[0]["caption"].toString(), QString::fromUtf8("ID設定"));
    EXPECT_EQ(t[1]["text"].toString(), QString::fromUtf8("パスワードが一致しません"));
    EXPECT_EQ(t[3]["kind"].toString(), "dialog"); // the option editor, cancelled
    ProfileFile file = savedSystemIni();
    EXPECT_EQ(file.readString("SYSTEM", "INIT_START"), "1");
    EXPECT_EQ(file.readString("SYSTEM", "YAHOO_ID"), "zerkon_seller");
    EXPECT_EQ(file.readString("SYSTEM", "PASSWORD"), "practice");
    EXPECT_EQ(main_->services().settings.value("PASSWORD"), "practice");
    // The login that follows used the account just given.
    EXPECT_EQ(main_->services().browser.IEConnected, 1);
    EXPECT_EQ(QFileInfo(dir_.path() + "/data/System.ini").permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
}

TEST_F(MainWindowTest, SettingsFileFailuresEachSayWhyInOrder) {
    writeFields();
    start();
    EXPECT_EQ(texts(), QStringList{QString::fromUtf8("System.iniがありません。")});
    EXPECT_FALSE(main_->isVisible());

    MessageService::instance().clearTranscript();
    writeSystemIni("[OTHER]\r\nA=1\r\n");
    start();
    EXPECT_EQ(texts(), QStringList{QString::fromUtf8("SYSTEM.INIのSYSTEMセクションが定義されていません。\n終了します。")});
    EXPECT_EQ(MessageService::instance().transcript()[0]["caption"].toString(), QString::fromUtf8("致命的なエラー"));

    for (const char* broken : {"EXCEL_DIR=/tmp\r\n", "EXCEL_DIR=\r\n"}) {
        MessageService::instance().clearTranscript();
        QString ini = systemIni();
        ini.replace("EXCEL_DIR=/tmp\r\n", broken == QString("EXCEL_DIR=/tmp\r\n") ? "" : broken);
        writeSystemIni(ini);
        start();
        EXPECT_TRUE(main_->ended());
        EXPECT_EQ(texts(), QStringList{QString::fromUtf8("SYSTEM.INIが正しく設定されていません。")});
    }
}

TEST_F(MainWindowTest, LowerCaseKeysAreFound) {
    writeFields();
    QString ini = systemIni().replace("[SYSTEM]", "[System]");
    for (const char* key : {"LOGIN_URL", "EXCEL_DIR", "INIT_START", "SHUPPIN_URL"})
        ini.replace("\n" + QString(key) + "=", "\n" + QString(key).toLower() + "=");
    writeSystemIni(ini);
    start();
    EXPECT_FALSE(main_->ended());
    EXPECT_EQ(texts(), QStringList());
}

TEST_F(MainWindowTest, BrokenFieldDefinitionsEndTheProgram) {
    writeSystemIni(systemIni());
    start();
    EXPECT_TRUE(main_->ended());
    EXPECT_EQ(texts(), QStringList{QString::fromUtf8("FieldsDefine.iniがありません。")});
}

TEST_F(MainWindowTest, BusyAndReadyStates) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    control<QSlider>("TrackBar1")->setValue(0);
    main_->setBusy(true);
    EXPECT_FALSE(control<QPushButton>("SetShuppin")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("StopReshuppin")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("SideButton")->isEnabled());
    main_->setBusy(false);
    EXPECT_FALSE(control<QPushButton>("UploadButton")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("CloseExcel")->isEnabled());

    control<QSlider>("TrackBar1")->setValue(2);
    control<QPushButton>("CloseExcel")->setEnabled(true);
    control<QPushButton>("SelectRow")->setEnabled(true);
    main_->setBusy(true);
    EXPECT_FALSE(control<QPushButton>("CloseExcel")->isEnabled());
    main_->setBusy(false);
    EXPECT_TRUE(control<QPushButton>("UploadButton")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("CloseExcel")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("SelectRow")->isEnabled());
    // Busy is counted: a busy inside a busy (a relist inside a bulk run, a step inside a press)
    // keeps the states remembered by the outer one; the inner ready leaves the panel busy, the
    // outer one gives every remembered state back. A ready too many is harmless.
    control<QCheckBox>("SokketuCheckBox")->setEnabled(true);
    for (int depth : {2, 3}) {
        for (int i = 0; i < depth; ++i) main_->setBusy(true);
        for (int i = 1; i < depth; ++i) {
            main_->setBusy(false);
            EXPECT_FALSE(control<QPushButton>("ReShuppin")->isEnabled()) << depth;
            EXPECT_FALSE(control<QPushButton>("CloseExcel")->isEnabled()) << depth;
        }
        main_->setBusy(false);
        main_->setBusy(false);
        for (QWidget* w : {control("CloseExcel"), control("SelectRow"), control("SokketuCheckBox"), control("ReShuppin")})
            EXPECT_TRUE(w->isEnabled()) << depth << " " << w->objectName().toStdString();
    }
    main_->setBusy(true);
    EXPECT_FALSE(control<QPushButton>("CloseExcel")->isEnabled()) << "a ready too many opened no second level";
    main_->setBusy(false);
}

// Each button reaches the step it names and no other: on the site's top page with no workbook
// open, each refuses in its own words, found by its caption as the seller reads it, and leaves
// every control as it found it, the panel ready.
TEST_F(MainWindowTest, EachButtonReachesItsOwnStepAndLeavesThePanelAsItFoundIt) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    ASSERT_EQ(main_->services().browser.IEConnected, 1) << texts().join(" / ").toStdString();
    // A relist asks for the closing time before it looks at the page.
    panel().choose("ClosingDate", 2);
    panel().choose("ClosingTime", 5);
    const struct {
        const char* caption;
        QString said;
    } cases[] = {
        {"項目セット", zk::listing::texts::NotOnEntryForm},
        {"出品する", zk::browser::texts::WrongScreen},
        {"連続出品", zk::sheet::texts::StartFirst},
        {"個別再出品", zk::relist::texts::FromItemPage},
        {"一括再出品", zk::relist::texts::NotUnsoldList},
    };
    for (const auto& c : cases) {
        const zk::workflow::Panel::Snapshot before = main_->snapshot();
        MessageService::instance().clearTranscript();
        panel().click(QString::fromUtf8(c.caption));
        EXPECT_EQ(texts().join(" / ").toStdString(), c.said.toStdString()) << c.caption;
        const zk::workflow::Panel::Snapshot after = main_->snapshot();
        EXPECT_EQ(after.enabled, before.enabled) << c.caption;
        EXPECT_EQ(after.busyDepth, 0) << c.caption;
        EXPECT_FALSE(after.curtain) << c.caption;
    }
}

// Every control of the sub page is drawn whole inside its parent, with the relist price panel
// open over its neighbour, and its texts have the room they ask for; the collection's three
// modes sit in three columns.
TEST_F(MainWindowTest, TheSubPageDrawsEveryControlWholeWithTheRelistPricePanelOpen) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    ASSERT_TRUE(main_->subPageShown());
    panel().click("RSKingakuPanelCheck");
    for (int i = 0; i < 100 && !control("RSKingakuPanelCheck")->isEnabled(); ++i) QTest::qWait(50);
    ASSERT_EQ(control<QFrame>("ReShuppinKakakuPanel")->geometry(), control<QFrame>("Panel1")->geometry());
    ASSERT_TRUE(control<QGroupBox>("RSKakakuGroup")->isVisibleTo(control("SubPanel")));
    // A practice folder's panel shows one button more, clear of its neighbours.
    zk::PracticeSite practice;
    main_->setPracticeSite(&practice);
    QWidget* reset = control("PracticeReset");
    ASSERT_TRUE(reset->isVisibleTo(control("SubPanel")));
    for (QWidget* other : reset->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != reset && other->isVisibleTo(control("SubPanel")) && !other->objectName().isEmpty())
            EXPECT_FALSE(other->geometry().intersects(reset->geometry())) << other->objectName().toStdString();

    for (QWidget* w : control("SubPanel")->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || !w->isVisibleTo(control("SubPanel")))
            continue;
        const std::string name = w->objectName().toStdString();
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name;
        // A push button's hint has a floor of the style's; its text is what must have room.
        if (auto* push = qobject_cast<QPushButton*>(w)) {
            EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(push->text()) + 8) << name;
        } else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QComboBox*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << name;
        }
    }
    const auto modes = control<zk::RadioGroup>("CollectionRadio")->findChildren<QRadioButton*>();
    ASSERT_EQ(modes.size(), 3);
    EXPECT_TRUE(modes[0]->y() == modes[2]->y() && modes[0]->x() < modes[1]->x() && modes[1]->x() < modes[2]->x());
}

// The counters of the two long runs, at their longest, each in a place of its own: the label
// holds its whole text and nothing is drawn over it. A picture of each is kept in the build folder.
TEST_F(MainWindowTest, TheRunCountersShowTheirWholeTextAboveEverythingElse) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    struct Case {
        const char* label;
        bool subPage;
        std::function<void()> show;
        QString text;
    };
    const QString relist = zk::relist::texts::Progress.arg(12).arg(999).arg(999).arg(999);
    const QString batch = zk::listing::batch::progressText(999, 999, 9 * 3600 * 1000);
    const QList<Case> cases = {
        {"RelistProgress", true, [&] { main_->setStopVisible(true); main_->showRelistProgress(relist); }, relist},
        {"RenzokuProgress", false, [&] { main_->showBatchProgress(batch); main_->setBatchStopVisible(true); }, batch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (main_->subPageShown() != c.subPage) panel().click("SideButton");
        // As a run shows it: the panel busy under it.
        main_->setBusy(true);
        c.show();
        QApplication::processEvents();
        auto* label = control<QLabel>(c.label);
        ASSERT_TRUE(label->isVisible());
        EXPECT_EQ(label->text(), c.text);
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(c.text)) << c.text.toStdString();
        EXPECT_TRUE(main_->rect().contains(QRect(label->mapTo(main_.get(), QPoint(0, 0)), label->size())));
        // Whatever is under the label's corners and middle is the label itself.
        const QRect r = label->rect().adjusted(1, 1, -1, -1);
        for (const QPoint& p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center()})
            EXPECT_EQ(main_->childAt(label->mapTo(main_.get(), p)), label) << p.x() << "," << p.y();
        main_->grab().save(qEnvironmentVariable("ZERKON_BUILD_DIR") + "/counter-" + c.label + ".png");
        main_->setStopVisible(false);
        main_->showBatchProgress({});
        main_->setBatchStopVisible(false);
        main_->setBusy(false);
    }
}

// The closing slot and the jitter chosen in one run are offered again in the next while the
// schedule still offers them; a slot it no longer offers is not, the jitter choice still is.
TEST_F(MainWindowTest, TheLastClosingChoiceIsOfferedAgainWhileTheScheduleOffersIt) {
    writeFields();
    writeSystemIni(systemIni());
    struct Case {
        const char* what;
        int dateRow;          // chosen in the first run, -1: a passed day written as kept
        int timeRow;
        bool offeredAgain;
    };
    const QList<Case> cases = {
        {"a later day", 1, 2, true},
        {"the last day's first hour", -2, 0, true},
        {"a day gone by", -1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        start();
        auto* dates = control<QComboBox>("ClosingDate");
        auto* hours = control<QComboBox>("ClosingTime");
        const int row = c.dateRow == -2 ? dates->count() - 1 : std::max(c.dateRow, 0);
        dates->setCurrentIndex(row);
        emit dates->activated(row);
        hours->setCurrentIndex(c.timeRow);
        emit hours->activated(c.timeRow);
        control<zk::RadioGroup>("TimeSway")->setItemIndex(1);
        const QVariant day = dates->currentData();
        const QVariant hour = hours->currentData();
        main_->close();
        if (c.dateRow == -1) {
            zk::Registry registry;
            registry.writeInteger("Software\\Zerkon\\ClosingChoice", "Date",
                                  zk::clock::now().date().addDays(-1).toString("yyyyMMdd").toInt());
        }
        start();
        dates = control<QComboBox>("ClosingDate");
        hours = control<QComboBox>("ClosingTime");
        EXPECT_EQ(control<zk::RadioGroup>("TimeSway")->itemIndex(), 1);
        if (c.offeredAgain) {
            EXPECT_EQ(dates->currentData(), day);
            EXPECT_EQ(hours->currentData(), hour);
            EXPECT_TRUE(main_->closingChosen());
        } else {
            EXPECT_FALSE(main_->closingChosen());
        }
        main_->close();
    }
}

TEST_F(MainWindowTest, SideSwitchAndCurtain) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    panel().click("SideButton");
    EXPECT_FALSE(main_->subPageShown());
    EXPECT_EQ(control<QPushButton>("SideButton")->text(), QString::fromUtf8("＞"));
    main_->setCurtain(true);
    EXPECT_TRUE(main_->snapshot().curtain);
    panel().click("SideButton");
    EXPECT_TRUE(main_->snapshot().curtain);
    EXPECT_TRUE(control("MainPanel")->isHidden());
    main_->setCurtain(false);
    EXPECT_FALSE(main_->snapshot().curtain);
    EXPECT_FALSE(main_->subPageShown());
    EXPECT_FALSE(control("MainPanel")->isHidden());
}

TEST_F(MainWindowTest, StoredPlacementsAreCheckedAgainstTheWorkArea) {
    writeFields();
    writeSystemIni(systemIni());
    zk::Registry registry;
    const QString key = "Software\\Zerkon\\WindowPos\\Zerkon";
    auto store = [&](int top, int left, int size = 50) {
        registry.writeInteger(key, "Top", top);
        registry.writeInteger(key, "Left", left);
        registry.writeInteger(key, "Height", size);
        registry.writeInteger(key, "Width", size);
    };
    store(-11, 5000);
    start();
    EXPECT_EQ(main_->pos(), QPoint(0, 1040 - main_->height()));
    EXPECT_EQ(main_->width(), 930); // the stored size is never applied to the panel
    main_.reset();
    store(-10, -10);
    start();
    EXPECT_EQ(main_->pos(), QPoint(-10, -10));
    main_.reset();
    store(1040, 20);
    start();
    EXPECT_EQ(main_->pos(), QPoint(20, 1040 - main_->height()));
    main_.reset();
    // A stored size of 0 applies nothing: the panel stays where it was designed to open.
    store(100, 50, 0);
    start();
    EXPECT_EQ(main_->pos(), QPoint(0, 328));
}

TEST_F(MainWindowTest, AutoFoldIntoTheMiniBarAndBack) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    zk::TMinForm1 miniBar;
    main_->setMiniBar(&miniBar);
    main_->show();
    QCursor::setPos(main_->geometry().center());
    panel().press("Image3");
    EXPECT_TRUE(control<QLabel>("Image3")->isHidden());
    QTest::qWait(500);
    EXPECT_TRUE(main_->isVisible()); // the cursor is on the bar: nothing happens
    QCursor::setPos(main_->geometry().right() + 2, main_->geometry().top());
    QTest::qWait(500);
    EXPECT_FALSE(main_->isVisible());
    EXPECT_TRUE(miniBar.isVisible());
    EXPECT_EQ(miniBar.geometry().bottom(), main_->geometry().bottom());
    miniBar.Image1MouseEnter();
    EXPECT_TRUE(main_->isVisible());
    EXPECT_FALSE(miniBar.isVisible());
    panel().press("Image4");
    QTest::qWait(500);
    EXPECT_TRUE(main_->isVisible()); // the watch is off again
}

TEST_F(MainWindowTest, WorkbookOpensFromThePanelAndIsSavedWhenThePanelCloses) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    const QString book = dir_.file("books/items.xlsx");
    zk::test::makeWorkbook(book, {{"B1", "商品名"}, {"F1", "開始価格"}, {"B2", "カメラ"}});
    MessageService::instance().clearTranscript();
    MessageService::instance().setAnswers({book, "OK"}); // the file dialog, then the row prompt
    panel().click("StartExcel");
    ASSERT_EQ(main_->services().book.ExcelState, 1) << texts().join(" / ").toStdString();
    EXPECT_TRUE(control<QPushButton>("CloseExcel")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("SelectRow")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("PreviousTitle")->isHidden());
    EXPECT_EQ(main_->services().book.Row.PriceColumn, 6); // found by its header
    ASSERT_TRUE(main_->services().book.Workbook->WriteCellText(2, 1, "x123456"));
    QString title;
    ASSERT_TRUE(main_->services().book.Workbook->ReadCellText(2, 2, title));
    EXPECT_EQ(title, QString::fromUtf8("カメラ"));
    // Busy and ready keep the workbook's buttons as they were.
    main_->setBusy(true);
    main_->setBusy(false);
    EXPECT_TRUE(control<QPushButton>("CloseExcel")->isEnabled());

    main_->close();
    EXPECT_EQ(main_->services().book.ExcelState, 0);
    zk::test::Reopened again(book);
    EXPECT_EQ(again.text("A2"), "x123456");
    // The folder is remembered for the next open.
    EXPECT_TRUE(savedSystemIni().readString("SYSTEM", "EXCEL_DIR").contains("books"));
}

// A second workbook of the same start asks for its picture folder through the picture dialog, the
// used folder offered; the same workbook opened again asks nothing.
TEST_F(MainWindowTest, ASecondWorkbookAsksForItsPictureFolder) {
    writeFields();
    writeSystemIni(systemIni());
    start();
    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + QByteArray(100, 'x');
    for (const char* name : {"used/a.jpg", "fresh/b.jpg"}) {
        QDir().mkpath(QFileInfo(dir_.file(name)).absolutePath());
        QFile f(dir_.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(jpeg);
    }
    const QString first = dir_.file("books/one.xlsx"), second = dir_.file("books/two.xlsx");
    for (const QString& book : {first, second}) zk::test::makeWorkbook(book, {{"B1", "商品名"}, {"B2", "カメラ"}});
    auto pictureDialogs = [] {
        QStringList captions;
        for (const auto& e : MessageService::instance().transcript())
            if (e["kind"].toString() == "open-file" && e["filter"].toString() != zk::sheet::texts::FileFilter)
                captions << e["caption"].toString();
        return captions;
    };
    // The file dialog, the row prompt and the price prompt (no price column: cancelled).
    MessageService::instance().setAnswers({first, "OK", "Cancel"});
    panel().click("StartExcel");
    ASSERT_EQ(main_->services().book.ExcelState, 1) << texts().join(" / ").toStdString();
    // The first workbook's folder, as its upload chose it.
    const QString used = dir_.path() + "/used";
    zk::listing::TPicUploader& up = *main_->services().carry.PicUploader;
    up.Folder = used + "/";
    QString next;
    ASSERT_EQ(up.ScanFolder(next), 0);

    const struct {
        const char* name;
        QString book;
        QStringList answers;
        QStringList asked;
        QString folder;
    } opens[] = {
        {"the same workbook again", first, {first, "OK", "Cancel"}, {}, used},
        {"another workbook", second, {second, "OK", "Cancel", dir_.file("fresh/b.jpg")},
         {zk::listing::texts::WorkbookPictureCaption.arg(QDir::toNativeSeparators(used))}, dir_.path() + "/fresh"},
    };
    for (const auto& o : opens) {
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers(o.answers);
        panel().click("StartExcel");
        ASSERT_EQ(main_->services().book.Excel->BookPath, o.book) << o.name << texts().join(" / ").toStdString();
        EXPECT_EQ(pictureDialogs(), o.asked) << o.name;
        EXPECT_EQ(main_->services().carry.PicUploader->Folder, o.folder) << o.name;
    }
}

TEST(AccountDialog, OpensCentredOnTheScreenNotOnThePanelAtItsFoot) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget panel(nullptr, Qt::FramelessWindowHint);
    panel.setGeometry(screen.left(), screen.bottom() - 134, 930, 135);
    panel.show();
    QString id = "seller", password = "secret";
    zk::TYahooIDDialog1 dialog(&panel, id, password);
    dialog.show();
    // Within the window frame's margins of the screen's centre.
    EXPECT_LE((dialog.geometry().center() - screen.center()).manhattanLength(), 10);
}

TEST(AccountDialog, StartsEmptyWhenEitherValueIsUnsetAndChecksInOrder) {
    QString id = "seller", password = "0000";
    zk::TYahooIDDialog1 dialog(nullptr, id, password);
    EXPECT_EQ(dialog.ui()->ID->text(), "");
    EXPECT_EQ(dialog.ui()->Password1->text(), "");
    MessageService::instance().setAnswers({"OK", "OK", "OK"});
    MessageService::instance().clearTranscript();
    dialog.OKBtnClick();
    dialog.ui()->ID->setText(" me ");
    dialog.OKBtnClick();
    dialog.ui()->Password1->setText("x");
    dialog.OKBtnClick();
    QStringList shown;
    for (const auto& e : MessageService::instance().transcript()) shown << e["text"].toString();
    EXPECT_EQ(shown, (QStringList{QString::fromUtf8("YahooIDが入力されていません"),
                                  QString::fromUtf8("パスワードが入力されていません"),
                                  QString::fromUtf8("パスワードが一致しません")}));
    dialog.ui()->Password2->setText("x");
    dialog.OKBtnClick();
    EXPECT_EQ(id, " me ");
    EXPECT_EQ(password, "x");
}

// System.ini is CP932: an account that would be stored as another one ("?" for "♥", "～" for the
// wave dash) is refused in the dialog, the ID's characters named, the password's not shown.
TEST(AccountDialog, RefusesAnAccountSystemIniWouldNotGiveBackAsTyped) {
    const struct {
        const char *id, *password, *said;
    } cases[] = {
        {"seller♥", "x", "YahooIDに System.ini（CP932）に書けない文字があります：♥"},
        {"seller", "pass〜word", "パスワードに System.ini（CP932）に書けない文字があります"},
    };
    for (const auto& c : cases) {
        QString id = "seller", password = "secret";
        zk::TYahooIDDialog1 dialog(nullptr, id, password);
        dialog.ui()->ID->setText(QString::fromUtf8(c.id));
        dialog.ui()->Password1->setText(QString::fromUtf8(c.password));
        dialog.ui()->Password2->setText(QString::fromUtf8(c.password));
        MessageService::instance().setAnswers({"OK"});
        MessageService::instance().clearTranscript();
        dialog.OKBtnClick();
        ASSERT_EQ(MessageService::instance().transcript().size(), 1) << c.id;
        EXPECT_EQ(MessageService::instance().transcript()[0]["text"].toString(), QString::fromUtf8(c.said));
        EXPECT_EQ(id, "seller");
        EXPECT_EQ(password, "secret");
    }
}
