// The option editor's window, driven the way unattended runs drive it: answer lines that fill
// widgets by object name and press buttons.
#include "FieldsSettings.h"
#include "OptionDialog.h"
#include "SampleFields.h"
#include "support/TempFolder.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using zk::MessageService;
using zk::optpanel::FieldEntry;
using zk::optpanel::FieldsSettings;
using zk::optpanel::OptionDialog;

namespace {

class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageService::instance().setAnswers({});
        MessageService::instance().clearTranscript();
        path = folder.write("FieldsDefine.ini", zk::test::sampleFieldsBytes());
        ASSERT_TRUE(settings.load(path));
    }
    // Runs the dialog on the given answer lines; returns exec's result.
    int run(const QStringList& answers) {
        MessageService::instance().setAnswers(answers);
        OptionDialog dialog(settings);
        return MessageService::instance().exec(dialog);
    }
    FieldsSettings reloaded() const {
        FieldsSettings s;
        EXPECT_TRUE(s.load(path));
        return s;
    }
    template <class T> static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    zk::test::TempFolder folder;
    QString path;
    FieldsSettings settings;
};

} // namespace

TEST_F(OptionDialogTest, ShowsTheFileInWidgetsNamedAfterItsKeys) {
    OptionDialog dialog(settings);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("オプション設定"));
    EXPECT_EQ(child<QLineEdit>(dialog, "SHOUHIN_TITLE")->text(), "Title");
    EXPECT_EQ(child<QSpinBox>(dialog, "KIBOU_PRICE_ITEM_POS")->value(), 2);
    EXPECT_EQ(child<QLabel>(dialog, "SECTION_NUM")->text(), "2");
    auto* sections = child<QComboBox>(dialog, "SectionSelect");
    ASSERT_EQ(sections->count(), 2);
    EXPECT_EQ(sections->itemText(1), "SECTION2");
    EXPECT_EQ(child<QLineEdit>(dialog, "NAME2")->text(), "BidOrBuyPrice");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("NAME3"), nullptr);

    sections->setCurrentIndex(1);
    EXPECT_EQ(child<QLineEdit>(dialog, "NAME3")->text(), "comment");
    EXPECT_EQ(child<QComboBox>(dialog, "TYPE2")->currentIndex(), 2); // COMBO
    EXPECT_EQ(child<QLineEdit>(dialog, "VALUE3")->text(), QStringLiteral("送料込み～"));
    // The rows of the first section are gone from the names, not just hidden.
    EXPECT_EQ(dialog.findChildren<QLineEdit*>("NAME1").size(), 1);
    EXPECT_FALSE(settings.isModified());
}

TEST_F(OptionDialogTest, UnknownTypeIsShownAndKept) {
    OptionDialog dialog(settings);
    child<QComboBox>(dialog, "SectionSelect")->setCurrentIndex(1);
    auto* type = child<QComboBox>(dialog, "TYPE3");
    EXPECT_EQ(type->count(), 5);
    EXPECT_EQ(type->currentText(), QStringLiteral("text（不明な種類）"));
    EXPECT_EQ(settings.sections[1].fields[2].type, "text");
    type->setCurrentIndex(0);
    EXPECT_EQ(settings.sections[1].fields[2].type, "TEXT");
}

TEST_F(OptionDialogTest, SaveLineEditsAndWritesTheFile) {
    const int result = run({QStringLiteral("SHOUHIN_TITLE=新タイトル; SectionSelect=1; TYPE1=1; VALUE1=OFF; "
                                           "VALUE2=27; BANK_NAME_NUM=2; SaveButton")});
    EXPECT_EQ(result, QDialog::Accepted);
    const FieldsSettings s = reloaded();
    EXPECT_EQ(s.system.shouhinTitle, QStringLiteral("新タイトル"));
    EXPECT_EQ(s.system.bankNameNum, 2);
    EXPECT_EQ(s.sections[1].fields[0], (FieldEntry{"shipping", "CHECK", "OFF"}));
    EXPECT_EQ(s.sections[1].fields[1].value, "27");
    EXPECT_EQ(s.sections[0], settings.sections[0]);
}

TEST_F(OptionDialogTest, OkAlsoSavesAndCancelLeavesTheFileAlone) {
    const QByteArray before = folder.read("FieldsDefine.ini");
    EXPECT_EQ(run({"SHOUHIN_SETUMEI=Body; CancelButton"}), QDialog::Rejected);
    EXPECT_EQ(folder.read("FieldsDefine.ini"), before);
    EXPECT_EQ(run({"Cancel"}), QDialog::Rejected);
    EXPECT_EQ(folder.read("FieldsDefine.ini"), before);

    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(run({"SHOUHIN_SETUMEI=Body; OK"}), QDialog::Accepted);
    EXPECT_EQ(reloaded().system.shouhinSetumei, "Body");
}

TEST_F(OptionDialogTest, FieldsAreAddedAndRemovedWithinOneLine) {
    EXPECT_EQ(run({"AddField; NAME3=Quantity; TYPE3=0; VALUE3=1; SectionSelect=1; RemoveField1; SaveButton"}),
              QDialog::Accepted);
    const FieldsSettings s = reloaded();
    ASSERT_EQ(s.sections[0].fields.size(), 3);
    EXPECT_EQ(s.sections[0].fields[2], (FieldEntry{"Quantity", "TEXT", "1"}));
    ASSERT_EQ(s.sections[1].fields.size(), 2);
    EXPECT_EQ(s.sections[1].fields[0].name, "loc_cd");
}

TEST_F(OptionDialogTest, SectionsAreAddedAndRemoved) {
    EXPECT_EQ(run({"AddSection; AddField; NAME1=gift; TYPE1=3; VALUE1=0; SaveButton"}), QDialog::Accepted);
    FieldsSettings s = reloaded();
    ASSERT_EQ(s.sections.size(), 3);
    EXPECT_EQ(s.sections[2].fields, (QList<FieldEntry>{{"gift", "RADIO", "0"}}));

    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(run({"SectionSelect=0; RemoveSection; SaveButton"}), QDialog::Accepted);
    s = reloaded();
    ASSERT_EQ(s.sections.size(), 2);
    EXPECT_EQ(s.sections[0].fields[0].name, "shipping");
    EXPECT_EQ(s.sections[1].fields[0].name, "gift");
}

TEST_F(OptionDialogTest, RemovingEverySectionLeavesAnEmptyButWorkingEditor) {
    OptionDialog dialog(settings);
    child<QPushButton>(dialog, "RemoveSection")->click();
    child<QPushButton>(dialog, "RemoveSection")->click();
    EXPECT_TRUE(settings.sections.isEmpty());
    EXPECT_FALSE(child<QPushButton>(dialog, "RemoveSection")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "AddField")->isEnabled());
    child<QPushButton>(dialog, "AddField")->click(); // disabled: nothing happens
    EXPECT_EQ(child<QLabel>(dialog, "SECTION_NUM")->text(), "0");
    child<QPushButton>(dialog, "AddSection")->click();
    EXPECT_EQ(child<QComboBox>(dialog, "SectionSelect")->currentText(), "SECTION1");
}

TEST_F(OptionDialogTest, UnsetRequiredKeysAskBeforeSaving) {
    const QByteArray before = folder.read("FieldsDefine.ini");
    // No: the editor stays open for the next line, which cancels.
    EXPECT_EQ(run({"SHOUHIN_TITLE=; KESSAI_DEFAULT_NUM=-1; SaveButton", "No", "CancelButton"}), QDialog::Rejected);
    EXPECT_EQ(folder.read("FieldsDefine.ini"), before);
    const QList<QJsonObject>& t = MessageService::instance().transcript();
    auto question = std::find_if(t.begin(), t.end(), [](const QJsonObject& e) { return e["kind"] == "message"; });
    ASSERT_NE(question, t.end());
    EXPECT_EQ((*question)["caption"].toString(), QStringLiteral("確認"));
    EXPECT_EQ((*question)["text"].toString(),
              QStringLiteral("次の項目が未設定です。\nSHOUHIN_TITLE、KESSAI_DEFAULT_NUM\n"
                             "このまま保存すると、次に読み込むときにエラーになります。保存しますか？"));

    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(run({"SHOUHIN_TITLE=; SaveButton", "Yes"}), QDialog::Accepted);
    EXPECT_TRUE(reloaded().system.shouhinTitle.isEmpty());
}

TEST_F(OptionDialogTest, PriceStatusNamesTheFieldsThePositionsPointAt) {
    OptionDialog dialog(settings);
    auto* status = child<QLabel>(dialog, "PriceStatus");
    EXPECT_EQ(status->text(), QStringLiteral("開始価格 → SECTION1 の 1 番目（StartPrice）　　"
                                             "即決価格 → SECTION1 の 2 番目（BidOrBuyPrice）"));
    child<QSpinBox>(dialog, "KIBOU_PRICE_SEC_POS")->setValue(5);
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("即決価格 → 指定の位置にフィールドがありません")));
    child<QLineEdit>(dialog, "NAME1")->setText("Start");
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("開始価格 → SECTION1 の 1 番目（Start）")));
}

TEST_F(OptionDialogTest, AFailedSaveSaysSoAndKeepsTheEditorOpen) {
    FieldsSettings lost;
    ASSERT_TRUE(lost.load(folder.path() + "/gone/FieldsDefine.ini"));
    MessageService::instance().setAnswers({"SHOUHIN_TITLE=a; SHOUHIN_SETUMEI=b; SaveButton", "Yes", "OK", "CancelButton"});
    OptionDialog dialog(lost);
    EXPECT_EQ(MessageService::instance().exec(dialog), QDialog::Rejected);
    bool saidSo = false;
    for (const QJsonObject& e : MessageService::instance().transcript())
        if (e["kind"] == "message" && e["caption"] == QStringLiteral("エラー") &&
            e["text"].toString().startsWith(QStringLiteral("FieldsDefine.iniの保存に失敗しました。")))
            saidSo = true;
    EXPECT_TRUE(saidSo);
}

TEST_F(OptionDialogTest, EnterInAFieldSavesAndNeverPressesAnotherButton) {
    OptionDialog dialog(settings);
    dialog.show();
    auto* name = child<QLineEdit>(dialog, "NAME1");
    name->setFocus();
    name->setText("Start");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const FieldsSettings s = reloaded();
    ASSERT_EQ(s.sections.size(), 2);
    EXPECT_EQ(s.sections[0].fields.size(), 2);
    EXPECT_EQ(s.sections[0].fields[0].name, "Start");
}
