#pragma once
// The workbook row of an item that was relisted: it takes the new auction ID like any listing,
// and keeps the ID it had under its own header, in a column made for it where none is, never
// over a cell that holds something.
#include <QString>
#include <QStringList>

namespace zk::sheet {
class WorkbookSession;
}

namespace zk::listing {

// How far right a header row is read.
constexpr int MaxHeaderColumns = 64;

// The header row's texts, MaxHeaderColumns of them.
QStringList readHeaderRow(sheet::WorkbookSession& book);
// The old ID into the row under the "旧オークションID" header, made when missing. False when
// a cell could not be written (the office says why at its next use).
bool writePreviousId(sheet::WorkbookSession& book, int row, const QString& previousId);

} // namespace zk::listing
