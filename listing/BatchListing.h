#pragma once
// "連続出品": every remaining row from the row cursor on (or the next N) listed in one press,
// each through the listing road that the four presses use (category, upload, item set, listing)
// and its one record per listing. Every row is checked first and nothing is sent until the seller
// agrees to the report; then the run goes on by itself: a row the site refuses is recorded as
// failed with the site's message, the stop button ends it after the current listing, a lost
// browser or office ends it where it was (the next press goes on from there). At the end one
// summary, and one line per row appended to the dated listing log in the documents folder.
#include "listing/BatchRules.h"
#include "workflow/BrowserSession.h"
#include "workflow/ItemBook.h"
#include "workflow/ListingCarry.h"
#include "workflow/ListingLedger.h"
#include "workflow/Panel.h"
#include "workflow/Settings.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

namespace zk::listing {

class BatchListing {
public:
    BatchListing(workflow::BrowserSession& browser, workflow::ItemBook& book, workflow::ListingCarry& carry,
                 workflow::ListingLedger& ledger, workflow::Settings& settings, workflow::Panel& panel)
        : browser_(browser), book_(book), carry_(carry), ledger_(ledger), settings_(settings), panel_(panel) {}

    void RenzokuShuppinClick();

    // The header title of the column that gives a row its own category code.
    static inline const QString CategoryHeader = QStringLiteral("カテゴリ");
    // The header title of the column that names a row's own picture files.
    static inline const QString PictureHeader = QStringLiteral("画像");

private:
    // The workbook, the row and price columns, the pictures and their folder: false when the
    // press ends (said).
    bool ready();
    // The rows of the run from the cursor, and what the run will use besides them, and each
    // row's cells as read (by row); false when the workbook could not be read (said).
    bool readRun(QList<batch::RowData>& rows, batch::RunPlan& plan, QHash<int, QStringList>& checked);
    // The row's cells as the office holds them now are those the check read (`checked`).
    bool rowAsChecked(int row, const QStringList& checked);
    // category.txt's codes with their names.
    QHash<QString, QString> categories() const;
    // One row through the listing road; its outcome, and why the run must stop (empty: go on).
    batch::Outcome listRow(const batch::Verdict& verdict, const batch::RowData& row, bool workbookPrices,
                           QString& stop);
    // Appends the run's lines to the listing log; the file's path, or empty (said).
    QString writeLog(const QList<batch::Outcome>& outcomes, const QString& workbook, const QDateTime& runStart);

    workflow::BrowserSession& browser_;
    workflow::ItemBook& book_;
    workflow::ListingCarry& carry_;
    workflow::ListingLedger& ledger_;
    workflow::Settings& settings_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
