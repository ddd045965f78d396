#include "listing/RelistedRow.h"

#include "listing/ListingRules.h"
#include "listing/Texts.h"
#include "sheet/WorkbookSession.h"
#include "workflow/ItemRow.h"

namespace zk::listing {

namespace {
constexpr auto Quiet = sheet::WorkbookSession::Failure::Quiet;

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
        if (!book.WriteCellText(workflow::HeaderRow, column, texts::PreviousIdHeader, Quiet)) return false;
    }
    return book.WriteCellText(row, column, previousId, Quiet);
}

} // namespace zk::listing
