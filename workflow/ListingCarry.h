#pragma once
// What one listing leaves for the next and the objects the listing steps keep between presses:
// the next picture, the last description and category, the picture uploader and its undo, the
// category dialog and the field definitions of the listing form. The main window owns the
// objects; the types are only named here.
#include "workflow/ListingLedger.h"

#include <QString>

class TCategory;

namespace zk {
class TFieldDefs;
namespace listing {
class TPicUploader;
}
} // namespace zk

namespace zk::workflow {

struct ListingCarry {
    QString NextPicture;     // the next picture (the thumbnail)
    QString LastDescription; // description last written
    QString LastCategory;    // code of the last category opened completely
    // The seller's selling list as it was before this listing's press (a category press, or
    // a run of 連続出品): what a listing in doubt may not be taken for.
    SellingSnapshot SellingBefore;

    // None until the start-up step (field definitions) or the category load (the dialog).
    TFieldDefs* FieldDefs = nullptr;
    listing::TPicUploader* PicUploader = nullptr;
    TCategory* CategoryDialog = nullptr;
};

} // namespace zk::workflow
