// The upload's half of the one-listing undo is reached through the seam's UploadUndo.
#include "listing/OneListingUndo.h"
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

TEST(OneListingUndo, TakesBackOneUploadOnlyWhenThereIsOneAndNoRowAtTheFirstRow) {
    zk::workflow::Shared shared;
    zk::test::NullPanel panel;
    shared.Row.choose(5); // at the first row: no title to take back, no workbook needed
    zk::listing::undoOneListing(shared, panel); // no uploader yet: nothing to do

    Uploads uploads;
    shared.Uploads = &uploads;
    zk::listing::undoOneListing(shared, panel);
    EXPECT_EQ(uploads.undone, 0);
    uploads.stack = 2;
    zk::listing::undoOneListing(shared, panel);
    EXPECT_EQ(uploads.undone, 1);
    EXPECT_EQ(shared.Row.CurrentRow, 5);
}
