// The listing records' journal, which outlives a killed run.
#include "workflow/ListingLedger.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

using zk::workflow::ListingLedger;
using Stage = zk::workflow::ListingRecord::Stage;

TEST(ListingLedger, TheJournalKeepsTheOpenListingAndTheUnsavedRowsOwnerOnly) {
    zk::test::TempFolder dir;
    const QString path = dir.file("ListingJournal.json");
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 59));
    {
        ListingLedger ledger;
        ledger.setJournal(path);
        ledger.begin(2, "/books/a.xlsx", now).title = QString::fromUtf8("練習カメラ");
        ledger.listed("k100", "http://page.x/jp/auction/k100", "2026/12/07 12:59:00");
        auto& open = ledger.begin(3, "/books/a.xlsx", now);
        open.pictures = QStringList{"/p/c.jpg", "/p/d.jpg"};
        open.title = QString::fromUtf8("二つ目");
        ledger.advance(Stage::AgreeSent);
        EXPECT_TRUE(ledger.journalError().isEmpty());
    }
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(path) & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));

    ListingLedger again;
    again.setJournal(path);
    ASSERT_TRUE(again.load());
    ASSERT_NE(again.current(), nullptr);
    EXPECT_EQ(again.current()->row, 3);
    EXPECT_EQ(again.current()->stage, Stage::AgreeSent);
    EXPECT_EQ(again.current()->pictures, (QStringList{"/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(again.current()->startedAt, now);
    ASSERT_EQ(again.unsaved().size(), 1);
    EXPECT_EQ(again.unsaved()[0].row, 2);
    EXPECT_EQ(again.unsaved()[0].auctionId, "k100");
    EXPECT_EQ(again.knownIds(), QStringList{"k100"});

    // Saved for its workbook, the row leaves the journal; a record of another workbook stays.
    again.savedFor("/books/other.xlsx");
    EXPECT_EQ(again.unsaved().size(), 1);
    again.savedFor("/books/a.xlsx");
    EXPECT_TRUE(again.unsaved().isEmpty());
    again.drop();
    ListingLedger third;
    third.setJournal(path);
    ASSERT_TRUE(third.load());
    EXPECT_EQ(third.current(), nullptr);
    EXPECT_TRUE(third.unsaved().isEmpty());
}

TEST(ListingLedger, AJournalThatCannotBeReadOrWrittenSaysWhy) {
    zk::test::TempFolder dir;
    dir.writeCp932("ListingJournal.json", "{not json");
    ListingLedger ledger;
    ledger.setJournal(dir.file("ListingJournal.json"));
    QString error;
    EXPECT_FALSE(ledger.load(&error));
    EXPECT_FALSE(error.isEmpty());

    ListingLedger nowhere;
    // A folder that is a file: the journal cannot be made there.
    nowhere.setJournal(dir.file("ListingJournal.json") + "/ListingJournal.json");
    nowhere.begin(2, {}, QDateTime::currentDateTime());
    EXPECT_FALSE(nowhere.journalError().isEmpty());
}
