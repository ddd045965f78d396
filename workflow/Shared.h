#pragma once
// The objects and the state that every workflow shares, for the whole run. The main window owns
// the objects and points this at them; a workflow step takes a Shared and a Panel and nothing
// else. The types are only named here, so that this layer needs neither widgets nor the
// browser or the spreadsheet to build.
#include "workflow/ListingLedger.h"
#include "workflow/RowCursor.h"
#include "workflow/Settings.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class TCategory;

namespace zk {
class TIECtrl;
class KeySender;
class TFieldDefs;
// A top-level window of the driven browser; 0 is none.
using WindowHandle = quintptr;
namespace sheet {
class TExcel;
class WorkbookSession;
} // namespace sheet
namespace listing {
class TPicUploader;
}
} // namespace zk

namespace zk::workflow {

// The prompts by which the user shows the first item row and the start-price column in the
// spreadsheet, run by the workbook session after opening a workbook.
class ColumnChooser {
public:
    virtual ~ColumnChooser() = default;
    // 0 when a row was chosen; -1 when cancelled or the sheet could not be read.
    virtual int RowPrompt() = 0;
    virtual void PricePrompt() = 0;
};

// The picture half of the one-listing undo: the upload keeps a stack of what it moved and
// coloured, and takes the last upload back.
class UploadUndo {
public:
    virtual ~UploadUndo() = default;
    virtual bool hasUploads() const = 0;
    virtual void UndoLastUpload() = 0;
};

struct Shared {
    // System.ini and the data folder, read once; the program folder (the current directory).
    workflow::Settings Settings;
    QString ExeFolder;

    // The browser session: a browser is attached (1) and its top-level window.
    TIECtrl* IE = nullptr;
    int IEConnected = 0;
    WindowHandle IEWindow = 0;

    // The workbook session: the wrapper, 0 no workbook driven or 1 started with a workbook open,
    // the guarded cell access, the column prompts; the row cursor and the title last read.
    sheet::TExcel* Excel = nullptr;
    int ExcelState = 0;
    sheet::WorkbookSession* Workbook = nullptr;
    ColumnChooser* Columns = nullptr;
    RowCursor Row;
    QString LastTitle;

    // The field definitions of the listing form, and the one KeySender.
    TFieldDefs* FieldDefs = nullptr;
    KeySender* Keys = nullptr;

    // The picture uploader; its undo is the pictures' half of undoing one listing.
    listing::TPicUploader* PicUploader = nullptr;

    // What the listing and relist steps leave for each other.
    QString NextPicture;     // the next picture (the thumbnail)
    QString LastDescription; // description last written
    QString LastCategory;    // code of the last category opened completely
    int RelistedCount = 0;   // items relisted in the running bulk relist
    QStringList RelistedIDs; // their auction IDs, at most 3000

    // One record per listing, from the upload to the auction ID on disk.
    ListingLedger Ledger;

    // The listing steps: the picture uploader's undo (none until an uploader is there) and the
    // category dialog, kept between uses.
    UploadUndo* Uploads = nullptr;
    TCategory* CategoryDialog = nullptr;
};

} // namespace zk::workflow
