// The one-listing undo takes back only what its record says never reached the site.
#include "listing/OneListingUndo.h"
#include "platform/MessageService.h"
#include "tests/support/NullPanel.h"

#include <gtest/gtest.h>

namespace {

class Uploads : public zk::workflow::UploadUndo {
public:
    bool hasUploads() const override { return stack > 0; }
    void UndoLastUpload() override { --stack, ++undone; }
    int stack = 0;
    int undone = 0;
};

} // namespace

TEST(OneListingUndo, TakesBackOnlyAListingWhoseAgreePressWasNeverSent) {
    using Stage = zk::workflow::ListingRecord::Stage;
    zk::MessageService::instance().setAnswers({}); // the boxes are recorded, not shown
    zk::MessageService::instance().clearTranscript();
    zk::workflow::ItemBook book;
    zk::workflow::ListingCarry carry;
    zk::workflow::ListingLedger ledger;
    zk::test::NullPanel panel;
    Uploads uploads;
    uploads.stack = 2;
    carry.Uploads = &uploads;
    book.Row.choose(5);
    book.Row.CurrentRow = 7;

    // No record: a completed listing, or none begun; nothing is taken back.
    EXPECT_FALSE(zk::listing::undoOneListing(book, carry, ledger, panel));
    for (Stage sent : {Stage::AgreeSent, Stage::Listed}) {
        ledger.begin(6, {}, QDateTime::currentDateTime());
        ledger.advance(sent);
        EXPECT_FALSE(zk::listing::undoOneListing(book, carry, ledger, panel));
        EXPECT_NE(ledger.current(), nullptr);
    }
    EXPECT_EQ(uploads.undone, 0);
    EXPECT_EQ(book.Row.CurrentRow, 7);

    // Before the agree press the record goes; without a picture uploader no picture moves.
    ledger.begin(6, {}, QDateTime::currentDateTime());
    ledger.advance(Stage::ItemSet);
    EXPECT_TRUE(zk::listing::undoOneListing(book, carry, ledger, panel));
    EXPECT_EQ(ledger.current(), nullptr);
    EXPECT_EQ(zk::MessageService::instance().transcript().size(), 1u);
    EXPECT_EQ(uploads.undone, 0);
}
