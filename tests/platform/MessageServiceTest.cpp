// The scripted answerer that tests and the unattended demo rely on.
#include "platform/MessageService.h"

#include "tests/support/TempFolder.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using zk::Answer;
using zk::Buttons;
using zk::Icon;
using zk::MessageService;

TEST(MessageService, AnswersBoxesInOrderAndRecordsThem) {
    MessageService& m = MessageService::instance();
    m.clearTranscript();
    m.setAnswers({"# comment", "Yes", "", "no", "C:/book.xlsx", "Cancel"});
    EXPECT_EQ(m.show("続けますか", "確認", Icon::Question, Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(m.show("本当に", "確認", Icon::Question, Buttons::YesNo), Answer::No);
    EXPECT_EQ(m.openFileName("開く", "/tmp", "*.xls"), "C:/book.xlsx");
    EXPECT_FALSE(m.inputText("行", "行番号").has_value());
    // Out of answers: the safe answer, never a wait.
    EXPECT_EQ(m.show("消しますか", "確認", Icon::Question, Buttons::YesNo), Answer::No);
    EXPECT_EQ(m.show("お知らせ"), Answer::Ok);

    const auto& t = m.transcript();
    ASSERT_EQ(t.size(), 6);
    EXPECT_EQ(t[0]["caption"].toString(), "確認");
    EXPECT_EQ(t[0]["icon"].toString(), "question");
    EXPECT_EQ(t[0]["answer"].toString(), "Yes");
    EXPECT_EQ(t[4]["script"].toString(), "(default)");
    EXPECT_EQ(t[5]["caption"].toString(), "Zerkon");
}

// A run left alone keeps its notices and takes no answer for them; a question is still asked.
TEST(MessageService, NoticesGoToTheSinkWhileOneIsSetAndQuestionsAreStillAsked) {
    MessageService& m = MessageService::instance();
    m.clearTranscript();
    m.setAnswers({"Yes"});
    QStringList held;
    m.setNoticeSink(&held);
    EXPECT_EQ(m.show("送信エラーです", {}, Icon::Exclamation), Answer::Ok);
    EXPECT_EQ(m.show("記録しますか", "確認", Icon::Question, Buttons::YesNo), Answer::Yes);
    m.setNoticeSink(nullptr);
    EXPECT_EQ(held, QStringList{"送信エラーです"});
    ASSERT_EQ(m.transcript().size(), 2);
    EXPECT_TRUE(m.transcript()[0]["held"].toBool());
    EXPECT_FALSE(m.transcript()[1]["held"].toBool());
    // Without a sink the notice is a box again, answered from the script.
    m.setAnswers({"OK"});
    m.show("お知らせ");
    EXPECT_EQ(m.answersLeft(), 0);
    EXPECT_EQ(held.size(), 1);
}

TEST(MessageService, FillsAndPressesOurOwnFormsUntilTheyClose) {
    MessageService& m = MessageService::instance();
    QDialog dialog;
    dialog.setObjectName("Form");
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName("Name");
    auto* ok = new QPushButton("OK", &dialog);
    ok->setObjectName("OKBtn");
    // The form refuses an empty name with a box, then takes the next line.
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        if (edit->text().isEmpty()) m.show("名前がありません");
        else dialog.accept();
    });
    m.clearTranscript();
    m.setAnswers({"OKBtn", "OK", "Name=出品者; OKBtn"});
    EXPECT_EQ(m.exec(dialog), QDialog::Accepted);
    EXPECT_EQ(edit->text(), QString::fromUtf8("出品者"));
    EXPECT_EQ(m.transcript().size(), 3);
    EXPECT_EQ(m.answersLeft(), 0);
    EXPECT_EQ(m.exec(dialog), QDialog::Rejected);
}

TEST(MessageService, TranscriptMasksHiddenFieldsAndIsForItsOwnerOnly) {
    zk::test::TempFolder temp;
    // One written before by someone with a lax umask, one made here.
    const QString earlier = temp.write("earlier.jsonl", "");
    QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ReadOther);
    for (const QString& path : {earlier, temp.file("new.jsonl")}) {
        MessageService& m = MessageService::instance();
        m.setTranscriptFile(path);
        QDialog dialog;
        dialog.setObjectName("Account");
        auto* id = new QLineEdit(&dialog);
        id->setObjectName("ID");
        auto* password = new QLineEdit(&dialog);
        password->setObjectName("Password1");
        password->setEchoMode(QLineEdit::Password);
        auto* onEdit = new QLineEdit(&dialog);
        onEdit->setObjectName("Password2");
        onEdit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        m.clearTranscript();
        m.setAnswers({"ID=seller01; Password1=s3cret; Password2 = s3cret2; OK"});
        EXPECT_EQ(m.exec(dialog), QDialog::Accepted);
        m.setTranscriptFile({});
        // The form itself got the values.
        EXPECT_EQ(password->text(), "s3cret");
        EXPECT_EQ(onEdit->text(), " s3cret2");

        const QString line = m.transcript().at(0)["script"].toString();
        EXPECT_TRUE(line.contains("ID=seller01")) << line.toStdString();
        EXPECT_TRUE(line.contains("Password1=")) << line.toStdString();
        EXPECT_FALSE(line.contains("s3cret")) << line.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        EXPECT_TRUE(written.contains("ID=seller01"));
        EXPECT_FALSE(written.contains("s3cret"));
        EXPECT_EQ(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner)
            << path.toStdString();
    }
}
