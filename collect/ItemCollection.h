#pragma once
// "商品名収集": walks one of the seller's item lists on the auction site page by page in the
// driven browser and writes one row per item into a new workbook, saved under a dated name in
// the documents folder.
#include "collect/CollectionRules.h"
#include "workflow/Panel.h"
#include "workflow/Shared.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

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

private:
    enum class Walk { Finished, BrowserFailed, SaveFailed };

    // The office started (or the open workbook closed) and a new workbook with its title and
    // headers saved under the dated name. False when there is none to write to.
    bool prepareWorkbook(const CollectionList& list);
    // The pages from the one already selected; what ended the walk.
    Walk walkPages(const CollectionList& list, int& browserResult);
    // The rows of one page, read from the browser before they are written.
    struct PageRows {
        int firstRow = 0;
        QList<QVariantList> cells;
        QStringList addresses;
    };
    // The item links of the selected page as rows; whether there was any.
    bool readPage(const CollectionList& list, int page, int count, const QString& marker, PageRows& rows);
    void writePage(const PageRows& rows);
    // The rows written so far to the file; false (message shown, a lost office forgotten) when
    // it failed.
    bool saveRows();
    // The browser calls whose failures end the walk, with a lost browser's error kept.
    int selectLinks();
    void showProgress(int page);

    workflow::Shared& shared_;
    workflow::Panel& panel_;
    int collected_ = 0;
    bool writeFailed_ = false;
};

} // namespace zk::collect
