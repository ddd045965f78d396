#pragma once
// "商品名収集": walks one of the seller's item lists on the auction site page by page in the
// driven browser and writes one row per item into a new workbook, saved under a dated name in
// the documents folder.
#include "collect/CollectionRules.h"
#include "sheet/Excel.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <future>
#include <optional>

namespace zk::collect {

class ItemCollection {
public:
    ItemCollection(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::Settings& settings,
                   workflow::Panel& panel)
        : browser_(browser), book_(book), settings_(settings), panel_(panel) {}

    void ShuppinCollectionClick();

    static constexpr int BlockPages = 3;
    // Rows of the new workbook: the title, the headers, the first item.
    static constexpr int TitleRow = 1;
    static constexpr int HeaderRow = 3;
    static constexpr int FirstItemRow = 4;
    // A list page that fails to load or read is loaded again this often in all, the waits between
    // growing by PageRetryPauseMs, all within the time one page may take to load.
    static constexpr int PageAttempts = 3;
    static constexpr int PageRetryPauseMs = 500;
    static constexpr int PageLoadSeconds = 60;
    // How long a page may stay unfinished once the browser has stopped loading it.
    static constexpr int IdleUnfinishedMs = 2000;

private:
    // How the walk ended; the page is the one that failed.
    struct Walk {
        enum Kind { Finished, FirstPageFailed, PageFailed, SaveFailed } kind = Finished;
        int page = 0;
        int firstCount = 0; // the first page's link count when it failed
        QString cause;      // the save's error
    };

    // The office started (or the open workbook closed) and a new workbook; its formats, title and
    // headers written and saved under the dated name as the office's first work beside the walk.
    // False when there is none to write to.
    bool prepareWorkbook(const CollectionList& list, const QString& folder);
    // The seller's item workbook open before the run, to be the panel's workbook again after it.
    struct ItemBookKept {
        QString path;
        QString sheet;
        workflow::RowCursor row;
        QString lastTitle;
    };
    // The collection's workbook saved and closed, and the item workbook opened again where the
    // seller was in it; false, said, when it could not be.
    bool reopenItemBook(const ItemBookKept& kept);
    // The sold items' totals, by day and as a chart, on a sheet of their own. A failure the
    // workbook's own calls do not keep is given in `failure`.
    bool writeSummary(const CollectionList& list, QString& failure);
    // From the first page, its navigation already started when `firstStarted`.
    Walk walkPages(const CollectionList& list, bool firstStarted);
    // Loads a list page (its navigation already started when `started`) and selects its links,
    // loading it again while it fails: the count of links, 0 for a page without any, negative
    // when the browser could not be read. A lost browser is not tried again.
    int loadPage(const QString& address, bool started);
    // Whether the page has loaded before the deadline; quiet, unlike the session's own wait,
    // since a page that does not come is tried again and only the walk's end is reported.
    bool waitLoaded(const QDeadlineTimer& deadline);
    // The rows of one page, read from the browser before they are written.
    struct PageRows {
        int firstRow = 0;
        QList<QVariantList> cells;
        QStringList addresses;
        int pages = 0;
    };
    void readPage(const CollectionList& list, int page, int count, const QString& marker, PageRows& rows);
    // A page's rows go to the office while the walk loads the next pages, BlockPages pages at
    // least (a save takes what there is): the rows read while the office is still busy wait and
    // go together as the next block (one call for the cells, one for their links: each call has a
    // cost of its own beside what it writes, which the office's processor time competes with the
    // browser's for).
    void keepPage(int page, const PageRows& rows);
    void writeAside();
    // The rows not yet given to the office and then the save, beside the walk and after the block
    // the office may still be writing; false when what the office did before has failed.
    bool saveAside(int page);
    // Waits for what the office is doing; false once any of it failed, the error in the
    // workbook's LastErrorText.
    bool awaitOffice();
    static bool writeBlock(sheet::TExcel& excel, const PageRows& rows);
    // Every row read written and saved to the file; false (the error kept in `cause`, a lost
    // office forgotten) when it failed.
    bool saveRows(QString& cause, const CollectionList* summary = nullptr);
    QString officeFailure();
    // The one message that ends the run shown; on a whole run the seller may have the file shown.
    void showEnd(const Walk& walk, bool browserLost, bool itemBookBack);
    // The one message that ends the run, and what it says was saved.
    QString endMessage(const Walk& walk) const;
    QString savedText() const;
    int selectLinks();
    void showProgress(int page);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
    PageRows pending_;    // rows read and not yet given to the office
    // What the office is doing on a thread of its own (a block of rows, or the rest and a save):
    // nothing else calls into it until this is awaited.
    std::future<bool> office_;
    bool officeFailed_ = false;
    struct Saving {
        int page = 0; // where the walk was when the save began
        int rows = 0;
        int pages = 0;
    };
    std::optional<Saving> saving_; // what the file holds once the save under way is done
    std::optional<ItemBookKept> itemBook_;
    QString file_;        // the collection's workbook on disk
    CollectionMode mode_ = CollectionMode::Current;
    QList<Sale> sales_;   // the sold items read, for the summary
    int collected_ = 0;   // rows read for the workbook
    int written_ = 0;     // pages whose rows are read for the workbook
    int savedRows_ = 0;   // rows and pages in the file on disk
    int savedPages_ = 0;
};

} // namespace zk::collect
