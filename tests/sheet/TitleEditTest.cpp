// The title dialog: the byte test that opens it, what it shows, and its two buttons.
#include "listing/Titleedit.h"
#include "platform/MessageService.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace zk;
using zk::listing::TTitleEdit1;

namespace {

const QString ThirtyWide = QString(30, QChar(u'時'));
// Titles longer than the edit's 60 characters: one byte each, and mixed widths.
const QString SixtyOneNarrow = QString(61, QChar(u'ｱ'));
const QString ThirtyWideThirtyFiveNarrow = ThirtyWide + QString(35, QChar(u'ｶ'));

class TitleEdit : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
    }
};

TEST_F(TitleEdit, SixtyOneBytesAreTooLongSixtyAreNot) {
    EXPECT_TRUE(TTitleEdit1::TooLong(ThirtyWide + "A"));
    EXPECT_FALSE(TTitleEdit1::TooLong(ThirtyWide));
    EXPECT_FALSE(TTitleEdit1::TooLong(QString(60, 'a')));
    EXPECT_TRUE(TTitleEdit1::TooLong(QString(61, 'a')));
    // As sent: the spaces around the title do not go, so they do not count.
    EXPECT_FALSE(TTitleEdit1::TooLong(" " + QString(60, 'a') + " "));
    // Half-width katakana take one byte each.
    EXPECT_FALSE(TTitleEdit1::TooLong(QString(60, QChar(u'ｱ'))));
    // Counted as the check of a whole sheet counts: a wave dash is CP932's two bytes, and a
    // character CP932 has not is shown full width by the site, two bytes too.
    EXPECT_FALSE(TTitleEdit1::TooLong(QString(30, QChar(0x301C))));
    EXPECT_TRUE(TTitleEdit1::TooLong(QString(29, QChar(0x3042)) + QString::fromUtf8("☃☃")));
}

TEST_F(TitleEdit, ConfirmingUnchangedKeepsTheLongTitle) {
    const QString title = ThirtyWide + "A";
    MessageService::instance().setAnswers({"Button1"});
    EXPECT_EQ(TTitleEdit1::EditTitle(title), title);
    ASSERT_EQ(MessageService::instance().transcript().size(), 1);
    EXPECT_EQ(MessageService::instance().transcript()[0]["caption"].toString(), "商品タイトル編集");
}

TEST_F(TitleEdit, ConfirmingAnEditTakesItAndCancellingKeepsTheOriginal) {
    MessageService::instance().setAnswers({"LabeledEdit1=短いタイトル; Button1"});
    EXPECT_EQ(TTitleEdit1::EditTitle(ThirtyWide + "A"), "短いタイトル");
    MessageService::instance().setAnswers({"LabeledEdit1=短いタイトル; Button2"});
    EXPECT_EQ(TTitleEdit1::EditTitle(ThirtyWide + "B"), ThirtyWide + "B");
    MessageService::instance().setAnswers({"Cancel"});
    EXPECT_EQ(TTitleEdit1::EditTitle(ThirtyWide + "C"), ThirtyWide + "C");
}

TEST_F(TitleEdit, MoreCharactersThanAllowedKeepTheDialogOpen) {
    TTitleEdit1 dialog;
    dialog.Title = "0123456789";
    dialog.MaxChars = 10;
    MessageService::instance().setAnswers({"LabeledEdit1=01234567890; Button1", "LabeledEdit1=𠮷𠮷𠮷; Button1"});
    EXPECT_EQ(dialog.ShowModal(), TTitleEdit1::Confirmed);
    // Two script lines were needed: the first press was ignored. Characters count, not UTF-16 units.
    EXPECT_EQ(MessageService::instance().transcript().size(), 2);
    EXPECT_EQ(dialog.Title, "𠮷𠮷𠮷");
}

TEST_F(TitleEdit, TheFormShowsTheTitleTheRulerAndItsTexts) {
    TTitleEdit1 dialog;
    dialog.Title = "腕時計";
    dialog.MaxChars = 60;
    dialog.show();
    EXPECT_EQ(dialog.edit()->text(), "腕時計");
    EXPECT_EQ(dialog.edit()->maxLength(), 60);
    EXPECT_EQ(dialog.edit()->geometry(), QRect(38, 52, 579, 26));
    EXPECT_EQ(dialog.size(), QSize(637, 238));
    EXPECT_EQ(dialog.windowTitle(), "商品タイトル編集");
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (const char* t : {"商品タイトルが３０文字を超えています。", "修正タイトル", "10文字", "20文字", "30文字",
                          "この線を越えてはダメだよ～", "キャンセルすると、タイトルはそのままブラウザに挿入されます。"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    auto* confirm = dialog.findChild<QPushButton*>("Button1");
    ASSERT_TRUE(confirm);
    EXPECT_EQ(confirm->text(), "修正完了(&K)");
    EXPECT_TRUE(confirm->isDefault());
    EXPECT_EQ(dialog.findChild<QPushButton*>("Button2")->text(), "キャンセル(&C)");
    EXPECT_EQ(dialog.findChild<QWidget*>("LimitLine")->x(), 519);
}

TEST_F(TitleEdit, TitlesOverSixtyCharactersShowWholeAndCannotBeConfirmedUntilShortened) {
    for (const QString& title : {SixtyOneNarrow, ThirtyWideThirtyFiveNarrow}) {
        ASSERT_TRUE(TTitleEdit1::TooLong(title));
        TTitleEdit1 dialog;
        dialog.Title = title;
        dialog.MaxChars = TTitleEdit1::MaxTitleBytes;
        dialog.show();
        EXPECT_EQ(dialog.edit()->text(), title);

        // Pressed as shown: nothing happens; cancelled: the title stays as it was.
        MessageService::instance().clearTranscript();
        MessageService::instance().setAnswers({"Button1", "Button2"});
        EXPECT_EQ(TTitleEdit1::EditTitle(title), title);
        EXPECT_EQ(MessageService::instance().transcript().size(), 2);

        // Cut to 60 characters by the user, it is taken.
        MessageService::instance().setAnswers({"Button1", "LabeledEdit1=" + title.left(60) + "; Button1"});
        EXPECT_EQ(TTitleEdit1::EditTitle(title), title.left(60));
    }
}

TEST_F(TitleEdit, NothingCanBeTypedWhileTheTextIsLongerThanTheEditTakes) {
    TTitleEdit1 dialog;
    dialog.Title = ThirtyWideThirtyFiveNarrow;
    dialog.MaxChars = TTitleEdit1::MaxTitleBytes;
    dialog.show();
    QLineEdit* edit = dialog.edit();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->text(), ThirtyWideThirtyFiveNarrow.left(64));
    for (int i = 0; i < 4; ++i) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->text(), ThirtyWideThirtyFiveNarrow.left(60));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "xy");
    EXPECT_EQ(edit->text(), ThirtyWideThirtyFiveNarrow.left(59) + "x");
}

} // namespace
