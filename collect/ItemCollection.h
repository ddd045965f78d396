#pragma once
// "商品名収集": walks one of the seller's item lists on the auction site page by page in the
// driven browser and writes one row per item into a new workbook, saved under a dated name in
// the documents folder.
#include "collect/CollectionRules.h"
#include "sheet/Excel.h"
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <future>

namespace zk::collect {

class ItemCollection {
public:
    ItemCollection(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}

    void ShuppinCollectionClick();

    // The workbook is saved after this many pages, so that a lost office costs at most these.
    static constexpr int SaveEveryPages = 10;
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

    // The office started (or the open workbook closed) and a new workbook with its title and
    // headers saved under the dated name. False when there is none to write to.
    bool prepareWorkbook(const CollectionList& list);
    Walk walkPages(const CollectionList& list);
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
    };
    void readPage(const CollectionList& list, int page, int count, const QString& marker, PageRows& rows);
    // A page's rows go to the office while the walk loads the next pages: the rows read while
    // the office is still busy with a block wait and go together as the next block (one call
    // for the cells, one for their links: each call has a cost of its own beside what it
    // writes). Only the saves wait for the office.
    void keepPage(int page, const PageRows& rows);
    void writeAside();
    // Every row read is in the workbook (the block under way awaited, the rest written); false
    // once a write has failed, its error in the workbook's LastErrorText.
    bool writeAll();
    static bool writeBlock(sheet::TExcel& excel, const PageRows& rows);
    // The rows so far written and saved to the file; false (the error kept in `cause`, a lost
    // office forgotten) when it failed.
    bool saveRows(QString& cause);
    // The one message that ends the run, and what it says was saved.
    QString endMessage(const Walk& walk) const;
    QString savedText() const;
    int selectLinks();
    void showProgress(int page);

    workflow::Shared& shared_;
    workflow::Panel& panel_;
    PageRows pending_;    // rows read and not yet given to the office
    std::future<bool> writing_; // the block the office is taking, on a thread of its own
    bool writeFailed_ = false;
    int collected_ = 0;   // rows read for the workbook
    int written_ = 0;     // pages whose rows are read for the workbook
    int savedRows_ = 0;   // rows and pages in the file on disk
    int savedPages_ = 0;
};

} // namespace zk::collect
