#pragma once
// Where the workflows are in the item workbook: the row of the next item and the columns of the
// workbook's layout. A plain value; the workbook session and the column prompts set it, the
// workflows read and advance it.
#include "workflow/ItemRow.h"

namespace zk::workflow {

struct RowCursor {
    int CurrentRow = 0;   // row of the next item
    int FirstRow = 0;     // first item row chosen by the user
    int RowChosen = 0;    // 1 once the row prompt chose a row
    int NameColumn = column::Title;
    int PriceColumn = -1; // -1 not asked yet, 0 none, n start price in n and buy-now price in n + 1
    int ResultColumn = column::AuctionId;

    // A workbook was chosen to be opened: its row and prices are still to be shown.
    void forgetChoice() {
        RowChosen = 0;
        PriceColumn = -1;
    }
    // The user showed the first item row: items start there, in the fixed columns.
    void choose(int row) {
        CurrentRow = FirstRow = row;
        NameColumn = column::Title;
        ResultColumn = column::AuctionId;
        RowChosen = 1;
    }
    // One item back; never above the first item row. False when it was there already.
    bool stepBack() {
        if (CurrentRow - 1 < FirstRow) {
            CurrentRow = FirstRow;
            return false;
        }
        --CurrentRow;
        return true;
    }
    bool hasPriceColumns() const { return PriceColumn >= 1; }
    int BuyPriceColumn() const { return PriceColumn + 1; }
};

} // namespace zk::workflow
