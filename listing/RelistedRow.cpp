#include "listing/RelistedRow.h"

#include "listing/ListingRules.h"
#include "listing/Texts.h"
#include "sheet/WorkbookSession.h"
#include "workflow/ItemRow.h"

namespace zk::listing {

namespace {
constexpr auto Quiet = sheet::WorkbookSession::Failure::Quiet;
// The item rows end at this many rows with neither an ID nor a title, or at the bound.
constexpr int EmptyRowsEnd = 5;
constexpr int MaxRowsRead = 5000;

bool cellEmpty(sheet::WorkbookSession& book, int row, int column) {
    QString text;
    book.ReadCellText(row, column, text, Quiet);
    return text.trimmed().isEmpty();
}

// Whether the column holds nothing in any item row (those down to where the rows end).
bool columnFree(sheet::WorkbookSession& book, int column) {
    int empty = 0;
    for (int row = workflow::HeaderRow + 1; row < MaxRowsRead && empty < EmptyRowsEnd; ++row) {
        if (!cellEmpty(book, row, column)) return false;
        const bool item = !cellEmpty(book, row, workflow::column::AuctionId) || !cellEmpty(book, row, workflow::column::Title);
        empty = item ? 0 : empty + 1;
    }
    return true;
}

QStringList readRow(sheet::WorkbookSession& book, int row, int columns) {
    QStringList cells;
    for (int c = 1; c <= columns; ++c) {
        QString text;
        book.ReadCellText(row, c, text, Quiet);
        cells << text;
    }
    return cells;
}
} // namespace

QStringList readHeaderRow(sheet::WorkbookSession& book) {
    return readRow(book, workflow::HeaderRow, MaxHeaderColumns);
}

bool writePreviousId(sheet::WorkbookSession& book, int row, const QString& previousId) {
    const QStringList headers = readHeaderRow(book);
    int column = headedColumn(headers, texts::PreviousIdHeader);
    if (column == 0) {
        column = freeColumn(headers, readRow(book, row, MaxHeaderColumns));
        // Made once for the whole sheet: nothing of the seller's below it in any item row.
        while (!columnFree(book, column)) ++column;
        if (!book.WriteCellText(workflow::HeaderRow, column, texts::PreviousIdHeader, Quiet)) return false;
    }
    return book.WriteCellText(row, column, previousId, Quiet);
}

} // namespace zk::listing
