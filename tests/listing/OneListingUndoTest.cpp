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
    zk::workflow::Shared shared;
    zk::test::NullPanel panel;
    Uploads uploads;
    uploads.stack = 2;
    shared.Uploads = &uploads;
    shared.Row.choose(5);
    shared.Row.CurrentRow = 7;

    // No record: a completed listing, or none begun; nothing is taken back.
    EXPECT_FALSE(zk::listing::undoOneListing(shared, panel));
    for (Stage sent : {Stage::AgreeSent, Stage::Listed}) {
        shared.Ledger.begin(6, {}, QDateTime::currentDateTime());
        shared.Ledger.advance(sent);
        EXPECT_FALSE(zk::listing::undoOneListing(shared, panel));
        EXPECT_NE(shared.Ledger.current(), nullptr);
    }
    EXPECT_EQ(uploads.undone, 0);
    EXPECT_EQ(shared.Row.CurrentRow, 7);

    // Before the agree press the record goes; without a picture uploader no picture moves.
    shared.Ledger.begin(6, {}, QDateTime::currentDateTime());
    shared.Ledger.advance(Stage::ItemSet);
    EXPECT_TRUE(zk::listing::undoOneListing(shared, panel));
    EXPECT_EQ(shared.Ledger.current(), nullptr);
    EXPECT_EQ(zk::MessageService::instance().transcript().size(), 1u);
    EXPECT_EQ(uploads.undone, 0);
}
