// The category dialog on real files in a scratch data folder, its message boxes answered by the
// message service.
#include "category/Categoryform.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "tests/category/QtPrinters.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using zk::MessageService;
using zk::test::TempFolder;

namespace {

const QString kNoCode = QStringLiteral("この項目はカテゴリ番号未設定です。");
const QString kSelectPlease = QStringLiteral("選択してください");
const QString kNotFound = QStringLiteral("このカテゴリ内に見つかりませんでした\nもう一度先頭から検索しますか？");

// Three top categories; "カメラ" appears in the first two, "^/3" only in the last.
const QString kShopTree = QStringLiteral(
    "家電\r\n"                    // 0
    "\tテレビ ^/10\r\n"           // 1
    "\tカメラ ^/11\r\n"           // 2
    "\t\tデジタルカメラ ^/12\r\n" // 3
    "本\r\n"                      // 4
    "\tカメラ雑誌 ^/20\r\n"       // 5
    "\t漫画 ^/21\r\n"             // 6
    "ゲーム\r\n"                  // 7
    "\tカメラ付きゲーム ^/30\r\n" // 8
    "\tソフト ^/31\r\n");         // 9

class CategoryDialog : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
    }

    void writeTree(const QString& text) { folder.writeCp932("category.txt", text); }
    void writeHistory(const QString& text) { folder.writeCp932("ctg_history.txt", text); }

    TCategory& open() {
        dialog = std::make_unique<TCategory>(folder.path());
        dialog->LoadTree();
        dialog->show();
        dialog->LoadHistory();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }

    template <typename T> T* child(const char* name) { return dialog->findChild<T*>(name); }
    QTreeWidget* tree() { return child<QTreeWidget>("TreeView1"); }
    QListWidget* historyBox() { return child<QListWidget>("HistoryListBox"); }
    QLineEdit* edit() { return child<QLineEdit>("Edit1"); }
    QPushButton* okButton() { return child<QPushButton>("OK"); }
    QPushButton* cancelButton() { return child<QPushButton>("Cancel"); }

    void answer(const QStringList& answers) { MessageService::instance().setAnswers(answers); }
    QStringList shown() const {
        QStringList texts;
        for (const QJsonObject& entry : MessageService::instance().transcript()) texts << entry["text"].toString();
        return texts;
    }
    QJsonObject lastBox() const { return MessageService::instance().transcript().last(); }

    void search(const QString& text) {
        edit()->setText(text);
        edit()->setFocus();
        QTest::keyClick(edit(), Qt::Key_Return);
    }
    void pressF3() { QTest::keyClick(tree(), Qt::Key_F3); }
    void doubleClickNode(int index) {
        dialog->selectNode(index);
        QTreeWidgetItem* item = dialog->nodeItem(index);
        const QPoint at = tree()->visualItemRect(item).center();
        doubleClick(tree()->viewport(), at);
    }
    // What the window system delivers for a double click: a click, then the double click.
    static void doubleClick(QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    QByteArray historyFile() const { return folder.read("ctg_history.txt"); }

    TempFolder folder;
    std::unique_ptr<TCategory> dialog;
};

TEST_F(CategoryDialog, FourLineTreeChoosingDGivesCode200AndHistoryEntry) {
    writeTree("A\r\n\tB ^/100\r\n\tC\r\n\t\tD ^/200\r\n");
    TCategory& d = open();
    EXPECT_EQ(d.windowTitle(), "カテゴリー選択");
    ASSERT_EQ(tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* a = tree()->topLevelItem(0);
    ASSERT_EQ(a->childCount(), 2);
    EXPECT_EQ(a->child(0)->text(0), "B ^/100");
    ASSERT_EQ(a->child(1)->childCount(), 1);
    EXPECT_EQ(a->child(1)->child(0)->text(0), "D ^/200");
    EXPECT_TRUE(okButton()->isEnabled());

    d.selectNode(3);
    QTest::mouseClick(okButton(), Qt::LeftButton);
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "200");
    EXPECT_EQ(historyFile(), "A>C>D ^/200\r\n");
    ASSERT_EQ(historyBox()->count(), 1);
    EXPECT_EQ(historyBox()->item(0)->text(), "A>C>D ^/200");
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, OkWithoutSelectionOrWithoutCodeSaysWhy) {
    writeTree("A\r\n\tB ^/100\r\n\tC\r\n\t\tD ^/200\r\n\tE ^/\r\n");
    TCategory& d = open();
    d.OKClick();
    d.selectNode(2);
    d.OKClick();
    // A separator with no code after it names no category either.
    d.selectNode(4);
    d.OKClick();
    EXPECT_EQ(shown(), (QStringList{kSelectPlease, kNoCode, kNoCode}));
    EXPECT_EQ(lastBox()["caption"].toString(), MessageService::applicationTitle());
    EXPECT_EQ(d.ResultState, TCategory::ResultNone);
    EXPECT_TRUE(historyFile().isEmpty());
}

TEST_F(CategoryDialog, BlanksAroundACodeAreNoPartOfTheAddress) {
    writeTree("A\r\n\tX ^/ 123 \t\r\n\tY ^/ \r\n");
    TCategory& d = open();
    d.selectNode(2);
    d.OKClick();
    EXPECT_EQ(shown(), QStringList{kNoCode});
    d.selectNode(1);
    d.OKClick();
    EXPECT_EQ(d.ResultCode, "123");
    // The history keeps the line's own text; its code is read the same way.
    EXPECT_EQ(historyFile(), "A>X ^/ 123 \t\r\n");
    d.ResultState = TCategory::ResultNone;
    d.LoadHistory();
    historyBox()->setCurrentRow(0);
    d.OKClick();
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "123");
}

TEST_F(CategoryDialog, SelectedHistoryEntryWinsOverDoubleClickedCodedNode) {
    writeTree(kShopTree);
    writeHistory("ゲーム>ソフト ^/31\r\n家電>カメラ>デジタルカメラ ^/12\r\n");
    TCategory& d = open();
    historyBox()->setCurrentRow(1);
    doubleClickNode(1);
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "12");
    EXPECT_EQ(zk::cp932::toUnicode(historyFile()),
              "家電>カメラ>デジタルカメラ ^/12\r\nゲーム>ソフト ^/31\r\n");
    EXPECT_EQ(historyBox()->item(0)->text(), "家電>カメラ>デジタルカメラ ^/12");
}

TEST_F(CategoryDialog, HistoryDoubleClickChoosesItsEntry) {
    writeTree(kShopTree);
    writeHistory("ゲーム>ソフト ^/31\r\n本>漫画 ^/21\r\n");
    TCategory& d = open();
    QListWidgetItem* item = historyBox()->item(1);
    doubleClick(historyBox()->viewport(), historyBox()->visualItemRect(item).center());
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "21");
    EXPECT_EQ(zk::cp932::toUnicode(historyFile()), "本>漫画 ^/21\r\nゲーム>ソフト ^/31\r\n");
}

TEST_F(CategoryDialog, HistoryEntryWithoutCodeFallsBackToTheTree) {
    writeTree(kShopTree);
    writeHistory("メモ\r\n");
    TCategory& d = open();
    historyBox()->setCurrentRow(0);
    d.OKClick();
    EXPECT_EQ(shown(), (QStringList{kNoCode, kSelectPlease}));
    EXPECT_EQ(d.ResultState, TCategory::ResultNone);

    d.selectNode(6);
    d.OKClick();
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "21");
    EXPECT_EQ(zk::cp932::toUnicode(historyFile()), "本>漫画 ^/21\r\nメモ\r\n");
}

TEST_F(CategoryDialog, TwentySixthChoiceDropsOldestAndRepeatMovesUp) {
    writeTree(kShopTree);
    QString lines;
    for (int i = 1; i <= 25; ++i) lines += QString("古い>分類%1 ^/%2\r\n").arg(i).arg(500 + i);
    writeHistory(lines);
    TCategory& d = open();
    ASSERT_EQ(historyBox()->count(), 25);

    d.selectNode(9);
    d.OKClick();
    QStringList saved = zk::cp932::toUnicode(historyFile()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(saved.size(), 25);
    EXPECT_EQ(saved.first(), "ゲーム>ソフト ^/31");
    EXPECT_EQ(saved.last(), "古い>分類24 ^/524");

    d.ResultState = TCategory::ResultNone;
    d.LoadHistory();
    d.selectNode(2);
    d.OKClick();
    d.ResultState = TCategory::ResultNone;
    d.LoadHistory();
    d.selectNode(9);
    d.OKClick();
    saved = zk::cp932::toUnicode(historyFile()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(saved.size(), 25);
    EXPECT_EQ(saved[0], "ゲーム>ソフト ^/31");
    EXPECT_EQ(saved[1], "家電>カメラ ^/11");
    EXPECT_EQ(saved.last(), "古い>分類23 ^/523");
}

TEST_F(CategoryDialog, ChoosingFromALongHistoryKeepsEveryLineOfTheFile) {
    writeTree(kShopTree);
    QString lines;
    for (int i = 1; i <= 29; ++i) lines += QString("古い>分類%1 ^/%2\r\n").arg(i).arg(500 + i);
    writeHistory("\r\n" + lines);
    TCategory& d = open();
    ASSERT_EQ(historyBox()->count(), 30);
    EXPECT_EQ(historyBox()->item(0)->text(), "");

    historyBox()->setCurrentRow(29);
    d.OKClick();
    EXPECT_EQ(d.ResultCode, "529");
    EXPECT_EQ(zk::cp932::toUnicode(historyFile()), "古い>分類29 ^/529\r\n\r\n" + lines.left(lines.lastIndexOf("古い")));
}

TEST_F(CategoryDialog, CodedParentDoesNotLendItsCodeThroughTheHistory) {
    writeTree("車 ^/26318\r\n\tパーツ ^/2084\r\n");
    TCategory& d = open();
    d.selectNode(1);
    d.OKClick();
    EXPECT_EQ(d.ResultCode, "2084");
    EXPECT_EQ(zk::cp932::toUnicode(historyFile()), "車 ^/26318>パーツ ^/2084\r\n");

    d.ResultState = TCategory::ResultNone;
    d.LoadHistory();
    historyBox()->setCurrentRow(0);
    d.OKClick();
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "2084");
}

TEST_F(CategoryDialog, SearchContinuesWithF3AndWrapsOnYes) {
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(1);
    search("カメラ");
    EXPECT_EQ(d.selectedNode(), 2);
    EXPECT_TRUE(tree()->hasFocus());
    pressF3();
    EXPECT_EQ(d.selectedNode(), 3);
    EXPECT_TRUE(shown().isEmpty());

    // The next "カメラ" is in the next top category: not found, search again from the top.
    answer({"Yes"});
    pressF3();
    EXPECT_EQ(shown(), QStringList{kNotFound});
    EXPECT_EQ(lastBox()["caption"].toString(), "確認");
    EXPECT_EQ(lastBox()["icon"].toString(), "information");
    EXPECT_EQ(lastBox()["buttons"].toArray(), (QJsonArray{"Yes", "No"}));
    EXPECT_EQ(d.selectedNode(), 2);
    EXPECT_TRUE(d.searchActive());
    // Enter did not reach the OK button.
    EXPECT_EQ(d.ResultState, TCategory::ResultNone);
}

TEST_F(CategoryDialog, F3AfterNoDoesNothing) {
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(0);
    search("デジタル");
    ASSERT_EQ(d.selectedNode(), 3);
    answer({"No"});
    pressF3();
    EXPECT_EQ(shown().size(), 1);
    EXPECT_FALSE(d.searchActive());
    EXPECT_EQ(d.selectedNode(), 3);

    pressF3();
    EXPECT_EQ(shown().size(), 1);
    EXPECT_EQ(d.selectedNode(), 3);
}

TEST_F(CategoryDialog, SearchInLastTopCategoryRunsToTheEndOfTheFile) {
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(7);
    search("^/3");
    EXPECT_EQ(d.selectedNode(), 8);
    pressF3();
    EXPECT_EQ(d.selectedNode(), 9);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, SearchNeverSelectsTheNextTopCategorysLine) {
    // "本" is the next top category's own line; a search for it from the first one must stop
    // before it.
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(3);
    answer({"No"});
    search("本");
    EXPECT_EQ(shown(), QStringList{kNotFound});
    EXPECT_EQ(d.selectedNode(), 0);
}

TEST_F(CategoryDialog, TextOnlyInAnotherTopCategoryAsksAgainAndFindsNothingAgain) {
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(6);
    answer({"Yes", "No"});
    search("テレビ");
    EXPECT_EQ(shown(), (QStringList{kNotFound, kNotFound}));
    EXPECT_EQ(d.selectedNode(), 4);
    EXPECT_FALSE(d.searchActive());
    pressF3();
    EXPECT_EQ(shown().size(), 2);
}

TEST_F(CategoryDialog, F3ContinuesAfterTheLastHitEvenWhenTheSelectionMoved) {
    writeTree(kShopTree);
    TCategory& d = open();
    d.selectNode(0);
    search("カメラ");
    ASSERT_EQ(d.selectedNode(), 2);
    d.selectNode(0);
    pressF3();
    EXPECT_EQ(d.selectedNode(), 3);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, SearchForBytesStraddlingACharacterFindsOnlyTheRealText) {
    // "アイ" holds the bytes of "Aイ" from its second byte on.
    writeTree("top\r\n\tアイ ^/1\r\n\tAイ ^/2\r\n");
    TCategory& d = open();
    d.selectNode(0);
    search("Aイ");
    EXPECT_EQ(d.selectedNode(), 2);
    answer({"No"});
    search("A");
    EXPECT_EQ(d.selectedNode(), 2);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, SearchNeedsASelectedNodeAndAReadableFile) {
    writeTree(kShopTree);
    TCategory& d = open();
    search("カメラ");
    ASSERT_EQ(shown(), QStringList{"検索カテゴリを選択して下さい"});
    EXPECT_EQ(lastBox()["caption"].toString(), "情報");
    EXPECT_EQ(lastBox()["icon"].toString(), "information");

    // An empty search text starts nothing.
    d.selectNode(1);
    search("");
    EXPECT_EQ(shown().size(), 1);

    QFile::remove(folder.file("category.txt"));
    search("カメラ");
    EXPECT_EQ(shown().last(), "検索に失敗しました");
    EXPECT_EQ(lastBox()["caption"].toString(), "情報");
    EXPECT_EQ(lastBox()["icon"].toString(), "exclamation");
    // The tree stays as it was loaded.
    EXPECT_EQ(d.tree().size(), 10);
}

TEST_F(CategoryDialog, LinkNodesJumpToTheirTarget) {
    writeTree("家電\r\n\tテレビ ^/10\r\n\tオーディオ\r\n\tグループ\r\n\t\tX ^/1\r\n音響 ^/50\r\n\t行き先なし\r\n");
    folder.write("CategoryLink.ini", "[LINK]\r\n2=5\r\n6=999\r\n3=1\r\n");
    TCategory& d = open();
    doubleClickNode(2);
    EXPECT_EQ(d.selectedNode(), 5);
    // A link naming no node does nothing.
    doubleClickNode(6);
    EXPECT_EQ(d.selectedNode(), 6);
    // A node with children only opens or closes.
    d.selectNode(3);
    d.TreeView1DblClick();
    EXPECT_EQ(d.selectedNode(), 3);
    EXPECT_EQ(d.ResultState, TCategory::ResultNone);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, ButtonsFollowWhatCouldBeLoaded) {
    dialog = std::make_unique<TCategory>(folder.path());
    EXPECT_FALSE(okButton()->isEnabled());
    EXPECT_FALSE(cancelButton()->isEnabled());
    EXPECT_TRUE(child<QWidget>("TreeLoadingPanel")->isHidden());
    EXPECT_TRUE(child<QWidget>("HistoryLoadingPanel")->isHidden());

    // Nothing at all: Cancel only, and no message.
    dialog->LoadTree();
    dialog->LoadHistory();
    EXPECT_FALSE(okButton()->isEnabled());
    EXPECT_TRUE(cancelButton()->isEnabled());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(child<QWidget>("TreeLoadingPanel")->isHidden());
    EXPECT_TRUE(child<QWidget>("HistoryLoadingPanel")->isHidden());
}

TEST_F(CategoryDialog, LoadingPanelsShowOnlyWhileLoading) {
    writeTree(kShopTree);
    writeHistory("本>漫画 ^/21\r\n");
    dialog = std::make_unique<TCategory>(folder.path());
    QWidget* treePanel = child<QWidget>("TreeLoadingPanel");
    QWidget* historyPanel = child<QWidget>("HistoryLoadingPanel");
    // Events handled while loading see the panel up; it reads "読み込み中です。".
    bool treePanelUp = false, historyPanelUp = false;
    QTimer::singleShot(0, [&] { treePanelUp = !treePanel->isHidden() && historyPanel->isHidden(); });
    dialog->LoadTree();
    QTimer::singleShot(0, [&] { historyPanelUp = !historyPanel->isHidden() && treePanel->isHidden(); });
    dialog->LoadHistory();
    EXPECT_TRUE(treePanelUp);
    EXPECT_TRUE(historyPanelUp);
    EXPECT_TRUE(treePanel->isHidden());
    EXPECT_TRUE(historyPanel->isHidden());
    EXPECT_EQ(child<QLabel>("TreeLoadingPanel")->text(), "読み込み中です。");
}

TEST_F(CategoryDialog, LevelJumpKeepsNodesBeforeAndLeavesOkToTheHistory) {
    writeTree("A\r\n\tB ^/1\r\n\t\t\tC ^/2\r\nD ^/3\r\n");
    dialog = std::make_unique<TCategory>(folder.path());
    dialog->LoadTree();
    EXPECT_EQ(dialog->tree().size(), 2);
    ASSERT_EQ(tree()->topLevelItemCount(), 1);
    EXPECT_EQ(tree()->topLevelItem(0)->childCount(), 1);
    EXPECT_FALSE(okButton()->isEnabled());
    EXPECT_TRUE(cancelButton()->isEnabled());

    writeHistory("A>B ^/1\r\n");
    dialog->LoadHistory();
    EXPECT_TRUE(okButton()->isEnabled());
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(CategoryDialog, UnreadableHistoryEnablesCancelOnlyAndClearsTheList) {
    writeHistory("A>B ^/1\r\n");
    TCategory& d = open();
    EXPECT_EQ(historyBox()->count(), 1);
    EXPECT_TRUE(okButton()->isEnabled());

    dialog = std::make_unique<TCategory>(folder.path());
    QFile::remove(folder.file("ctg_history.txt"));
    QDir().mkpath(folder.file("ctg_history.txt"));
    dialog->LoadHistory();
    EXPECT_FALSE(okButton()->isEnabled());
    EXPECT_TRUE(cancelButton()->isEnabled());
    EXPECT_EQ(historyBox()->count(), 0);
    (void)d;
}

TEST_F(CategoryDialog, HistoryIsReadAgainOnEveryShowingAndSelectionCleared) {
    writeTree(kShopTree);
    writeHistory("本>漫画 ^/21\r\n");
    TCategory& d = open();
    historyBox()->setCurrentRow(0);
    writeHistory("\r\nゲーム>ソフト ^/31\r\n\r\n本>漫画 ^/21\r\n");
    d.LoadHistory();
    // Blank lines are rows too: the file is shown as it is.
    ASSERT_EQ(historyBox()->count(), 4);
    EXPECT_EQ(historyBox()->item(1)->text(), "ゲーム>ソフト ^/31");
    EXPECT_TRUE(historyBox()->selectedItems().isEmpty());

    // A history file that has gone takes its entries with it.
    QFile::remove(folder.file("ctg_history.txt"));
    d.LoadHistory();
    EXPECT_EQ(historyBox()->count(), 0);
}

TEST_F(CategoryDialog, CancelEscapeAndCloseAllCancelAndTheDialogLivesOn) {
    writeTree(kShopTree);
    TCategory& d = open();
    QTest::mouseClick(cancelButton(), Qt::LeftButton);
    EXPECT_EQ(d.ResultState, TCategory::ResultCancelled);
    // The main window hides it and takes the result.
    d.hide();
    d.ResultState = TCategory::ResultNone;

    d.show();
    d.LoadHistory();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.ResultState, TCategory::ResultCancelled);
    d.ResultState = TCategory::ResultNone;

    d.close();
    EXPECT_EQ(d.ResultState, TCategory::ResultCancelled);
    EXPECT_FALSE(d.isVisible());

    d.ResultState = TCategory::ResultNone;
    d.show();
    d.LoadHistory();
    EXPECT_EQ(d.tree().size(), 10);
    d.selectNode(9);
    d.OKClick();
    EXPECT_EQ(d.ResultCode, "31");
}

TEST_F(CategoryDialog, HistoryThatCannotBeWrittenIsReportedAndTheChoiceStands) {
    writeTree(kShopTree);
    QDir().mkpath(folder.file("ctg_history.txt"));
    TCategory& d = open();
    d.selectNode(9);
    d.OKClick();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown().first().startsWith("履歴ファイルに書き込めませんでした。\n"));
    EXPECT_TRUE(shown().first().endsWith("ctg_history.txt"));
    EXPECT_EQ(lastBox()["caption"].toString(), "エラー");
    EXPECT_EQ(d.ResultState, TCategory::ResultChosen);
    EXPECT_EQ(d.ResultCode, "31");
}

TEST_F(CategoryDialog, BadBytesAndOverlongLinesDoNotShiftTheNodes) {
    const QByteArray odd("\t\x81\x20\xA0odd ^/77\r\n", 14);
    folder.write("category.txt",
                 "top\r\n\t" + QByteArray(400, 'x') + "\r\n" + odd + "\tafter ^/88  \r\n");
    TCategory& d = open();
    ASSERT_EQ(d.tree().size(), 4);
    // The tab and 253 of the x's make the 254 bytes a line may keep.
    EXPECT_EQ(d.nodeItem(1)->text(0).size(), 253);
    d.selectNode(2);
    d.OKClick();
    EXPECT_EQ(d.ResultCode, "77");
    EXPECT_EQ(historyFile(), QByteArray("top>\x81\x20\xA0odd ^/77\r\n", 17));

    d.ResultState = TCategory::ResultNone;
    d.selectNode(0);
    search("after");
    EXPECT_EQ(d.selectedNode(), 3);
    d.OKClick();
    // Blanks after the code are no part of it.
    EXPECT_EQ(d.ResultCode, "88");
}

} // namespace
