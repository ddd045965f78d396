#pragma once
// The item workbook's fixed layout: the columns an item row is read from and written to, and the
// background colours a row takes on the listing road.
namespace zk::workflow {

// The row of the column headers; the items start below it.
constexpr int HeaderRow = 1;

namespace column {
constexpr int AuctionId = 1; // A: the auction ID the site gave the listing
constexpr int Title = 2;     // B: the item's title
constexpr int ListedAt = 3;  // C: when the agree press went out
constexpr int Link = 18;     // R: the address of the item's page
} // namespace column

// Background colours by the spreadsheet's colour index.
namespace colour {
constexpr int Listed = 35;  // the row's pictures went up: its item is on its way to the site
constexpr int None = -4142; // no background
} // namespace colour

} // namespace zk::workflow
