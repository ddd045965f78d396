// The listing road's engine against steps that fail where a table says: whatever the step and
// the fault, a listing is on the site with its record closed, or its pictures are back and its
// record gone, or (pressed, answer unread) its record waits in doubt; never a press without a
// record in the journal.
#include "listing/ListingRoad.h"
#include "listing/Texts.h"
#include "platform/AutomationError.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using zk::listing::ListingInput;
using zk::listing::ListingResult;
using zk::listing::ListingRoad;
using zk::workflow::ListingRecord;
using zk::workflow::StepResult;
using Kind = StepResult::Kind;
using Stage = ListingRecord::Stage;

// Steps that do nothing on any page: each call is written down, the one named fails as told,
// and the pictures "sent" are parked until taken back.
class ScriptedSteps : public zk::listing::RoadSteps {
public:
    QString failAt;
    StepResult failure;
    bool raise = false; // the step throws a lost browser instead of returning
    std::function<void()> during; // runs inside the failing (or any named) step
    QStringList calls, parked;

    StepResult openCategory(const QString&) override { return step("category"); }
    StepResult sendPictures(const QStringList& pictures) override {
        const StepResult r = step("pictures");
        if (r.ok()) parked = pictures;
        return r;
    }
    StepResult fillRow(const ListingInput& input, QString& sent) override {
        sent = input.title;
        return step("row");
    }
    StepResult fillItems() override { return step("items"); }
    StepResult confirm() override { return step("confirm"); }
    StepResult pressAgree() override { return step("agree"); }
    StepResult readListing(QString& id, QString& link) override {
        const StepResult r = step("read");
        if (r.ok()) {
            id = "x500";
            link = "http://page.sim.test/jp/auction/x500";
        }
        return r;
    }
    QStringList saveListedRows() override { return {}; }
    QStringList takeBack(const ListingRecord& record) override {
        calls << "takeBack";
        EXPECT_EQ(record.pictures, QStringList({"p1.jpg", "p2.jpg"}));
        QStringList back = parked;
        parked.clear();
        return back;
    }
    StepResult lostOrFailed(const zk::AutomationError& e) override {
        return StepResult::browserError(e.code(), e.text(), e.isDisconnection());
    }

private:
    StepResult step(const QString& name) {
        calls << name;
        if (name != failAt) return StepResult::done();
        if (during) during();
        if (raise) throw zk::AutomationError(zk::hresult::Disconnected, "gone");
        return failure;
    }
};

ListingInput item() {
    ListingInput input;
    input.row = 4;
    input.workbook = "/books/items.xlsx";
    input.title = "時計";
    input.category = "2084005403";
    input.pictures = {"p1.jpg", "p2.jpg"};
    input.before = {{"k1", "k2"}, QDateTime(QDate(2026, 12, 8), QTime(9, 59))};
    return input;
}

QDateTime now() { return QDateTime(QDate(2026, 12, 8), QTime(10, 0)); }

} // namespace

TEST(ListingRoadEngine, EveryFaultEndsListedTakenBackOrInDoubtNeverHalfWay) {
    enum class End { Listed, TakenBack, InDoubt, NothingBegun };
    const struct {
        const char* step;
        StepResult failure;
        bool raise;
        End end;
        Kind kind;
    } cases[] = {
        {"", {}, false, End::Listed, Kind::Done},
        {"category", StepResult::failed("ページなし"), false, End::NothingBegun, Kind::Failed},
        {"category", {}, true, End::NothingBegun, Kind::BrowserLost},
        {"pictures", StepResult::failed("送信エラーです"), false, End::TakenBack, Kind::Failed},
        {"pictures", {}, true, End::TakenBack, Kind::BrowserLost},
        {"row", StepResult::officeLost({}), false, End::TakenBack, Kind::OfficeLost},
        {"row", StepResult::failed("商品名のセットに失敗しました。"), false, End::TakenBack, Kind::Failed},
        {"items", StepResult::refused("終了日／終了時刻をセットしてください"), false, End::TakenBack, Kind::Refused},
        {"items", {}, true, End::TakenBack, Kind::BrowserLost},
        {"confirm", StepResult::siteRefused("ただいまサーバーが混み合っています。"), false, End::TakenBack, Kind::SiteRefused},
        {"agree", StepResult::failed("画面が違います"), false, End::TakenBack, Kind::Failed},
        {"agree", StepResult::browserLost(zk::hresult::Disconnected, {}), false, End::TakenBack, Kind::BrowserLost},
        // Lost during the press itself: it may have gone out.
        {"agree", {}, true, End::InDoubt, Kind::BrowserLost},
        // Pressed: the site refused in its own words, so nothing was made.
        {"read", StepResult::siteRefused("ただいまサーバーが混み合っています。"), false, End::TakenBack, Kind::SiteRefused},
        // Pressed, no answer read: only the site can settle it.
        {"read", StepResult::failed("完了ページではありません"), false, End::InDoubt, Kind::InDoubt},
        {"read", {}, true, End::InDoubt, Kind::BrowserLost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step) + (c.raise ? " raised" : " returned"));
        zk::test::TempFolder dir;
        zk::workflow::ListingLedger ledger;
        ledger.setJournal(dir.file("ListingJournal.json"));
        ScriptedSteps steps;
        steps.failAt = c.step;
        steps.failure = c.failure;
        steps.raise = c.raise;
        const ListingResult result = ListingRoad(ledger, steps, now).run(item());

        EXPECT_EQ(result.end.kind, c.kind);
        EXPECT_EQ(result.listed(), c.end == End::Listed);
        EXPECT_EQ(result.takenBack, c.end == End::TakenBack);
        EXPECT_EQ(steps.calls.contains("pictures"), c.end != End::NothingBegun);
        // A record on disk only while the site may hold the item.
        zk::workflow::ListingLedger reread;
        reread.setJournal(ledger.journalPath());
        ASSERT_TRUE(reread.load());
        if (c.end == End::InDoubt) {
            ASSERT_NE(reread.current(), nullptr);
            EXPECT_TRUE(reread.current()->inDoubt());
            EXPECT_EQ(reread.current()->agreeSentAt, now());
            EXPECT_EQ(reread.current()->pictures, item().pictures); // parked, with the record
            // What the site is asked by: the list before the press, and the row's own title.
            EXPECT_EQ(reread.current()->before.ids, item().before.ids);
            EXPECT_EQ(reread.current()->before.at, item().before.at);
            EXPECT_EQ(reread.current()->rowTitle, item().title);
        } else {
            EXPECT_EQ(reread.current(), nullptr);
        }
        if (c.end == End::TakenBack) {
            EXPECT_TRUE(steps.parked.isEmpty());
            EXPECT_EQ(result.row, 4);
        }
        if (c.end == End::Listed) {
            EXPECT_EQ(result.auctionId, "x500");
            ASSERT_EQ(reread.unsaved().size(), 1);
            EXPECT_EQ(reread.unsaved()[0].row, 4);
        }
    }
}

// No record, no listing: a journal that cannot be written stops the road before any picture
// moves, or (going bad on the way) before the agree press, and names the file.
TEST(ListingRoadEngine, AJournalThatCannotBeWrittenStopsTheRoadBeforeAnythingIsSent) {
    for (const char* breaksDuring : {"", "items"}) {
        SCOPED_TRACE(breaksDuring);
        zk::test::TempFolder dir;
        const QString folder = dir.file("data");
        QDir().mkpath(folder);
        const QString journal = folder + "/ListingJournal.json";
        // A file where the folder was: nothing can be written beneath it, even by root.
        auto breakJournal = [&] {
            QDir(folder).removeRecursively();
            QFile blocker(folder);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        };
        if (QString(breaksDuring).isEmpty()) breakJournal();
        zk::workflow::ListingLedger ledger;
        ledger.setJournal(journal);
        ScriptedSteps steps;
        steps.failAt = "never";
        if (!QString(breaksDuring).isEmpty()) {
            steps.failAt = breaksDuring;
            steps.failure = StepResult::done();
            steps.during = breakJournal;
        }
        const ListingResult result = ListingRoad(ledger, steps, now).run(item());
        EXPECT_EQ(result.end.kind, Kind::Refused);
        EXPECT_TRUE(result.end.reason.startsWith(zk::listing::texts::JournalBlocksListing.left(8)));
        EXPECT_TRUE(result.end.reason.contains(journal));
        EXPECT_FALSE(steps.calls.contains("agree"));
        EXPECT_EQ(steps.calls.contains("pictures"), !QString(breaksDuring).isEmpty());
        EXPECT_TRUE(steps.parked.isEmpty());
        EXPECT_EQ(ledger.current(), nullptr);
    }
}

// A listing in doubt is settled by the site alone, and "not there" counts only after the bound.
TEST(ListingRoadEngine, ADoubtIsSettledByTheSiteAndAbsenceOnlyAfterTheBound) {
    using zk::workflow::Doubt;
    const QDateTime sent = now();
    const struct {
        bool found;
        QDateTime sentAt;
        int secondsLater;
        Doubt verdict;
    } cases[] = {
        {true, sent, 1, Doubt::Listed},
        {true, sent, 1000, Doubt::Listed},
        {false, sent, 5, Doubt::StillInDoubt},   // one or two looks prove nothing
        {false, sent, 179, Doubt::StillInDoubt},
        {false, sent, 180, Doubt::Absent},
        {false, QDateTime(), 100000, Doubt::StillInDoubt}, // no time of the press: the caller starts the count
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::workflow::settleDoubt(c.found, c.sentAt, sent.addSecs(c.secondsLater), 180), c.verdict)
            << c.found << " " << c.secondsLater;
}
