// What the seller is told of a journal that was found and not read: the file, why, and the name
// it now has.
#include "listing/JournalNotice.h"
#include "listing/Texts.h"
#include "support/TempFolder.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using zk::workflow::ListingLedger;

TEST(JournalNotice, NamesTheFileTheReasonAndWhereItWasPut) {
    namespace texts = zk::listing::texts;
    struct Case {
        const char* what;
        std::function<void(const QString& journal, const zk::test::TempFolder& dir)> make;
        QString reason;
    };
    const QList<Case> cases = {
        {"a link", [](const QString& j, const zk::test::TempFolder& dir) { QFile::link(dir.write("t.json", "{}"), j); },
         texts::JournalIsLink},
        {"too large",
         [](const QString& j, const zk::test::TempFolder&) {
             QFile f(j);
             f.open(QIODevice::WriteOnly);
             f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
             f.resize(2 * ListingLedger::MaxJournalBytes);
         },
         texts::JournalTooLarge.arg(2 * ListingLedger::MaxJournalBytes).arg(ListingLedger::MaxJournalBytes)},
        {"not JSON",
         [](const QString& j, const zk::test::TempFolder&) {
             QFile f(j);
             f.open(QIODevice::WriteOnly);
             f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
             f.write("{not");
         },
         texts::JournalUnparsable.section(QString::fromUtf8("（"), 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zk::test::TempFolder dir;
        const QString journal = dir.file(ListingLedger::JournalFileName);
        c.make(journal, dir);
        ListingLedger ledger;
        ledger.setJournal(journal);
        ASSERT_FALSE(ledger.load());
        const QString notice = zk::listing::journalFaultNotice(ledger.loadFault());
        EXPECT_TRUE(notice.contains(journal + "\n")) << notice.toStdString();
        EXPECT_TRUE(notice.contains(c.reason)) << notice.toStdString();
        ASSERT_FALSE(ledger.loadFault().setAsideAs.isEmpty());
        EXPECT_TRUE(notice.endsWith(ledger.loadFault().setAsideAs)) << notice.toStdString();
    }
    EXPECT_TRUE(zk::listing::journalFaultNotice({}).isEmpty());
}
