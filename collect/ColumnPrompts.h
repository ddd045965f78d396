#pragma once
// The prompts by which the user shows, in the spreadsheet itself, the sheet and first item row
// and the start-price column of the item workbook.
#include "workflow/ItemBook.h"
#include "workflow/Panel.h"

#include <QString>

namespace zk::collect {

class ColumnPrompts : public workflow::ColumnChooser {
public:
    ColumnPrompts(workflow::ItemBook& book, workflow::Panel& panel) : book_(book), panel_(panel) {}

    // 0 when a row was chosen; -1 when cancelled or the sheet could not be read.
    int RowPrompt() override;
    // Sets PriceColumn: the "開始価格" header's column, the selected column, or 0.
    void PricePrompt() override;
    // Column 1 to 50 of the first row-1 cell whose text is exactly `text`, or 0.
    int FindHeaderColumn(const QString& text);
    // "行再選択": both prompts again with the spreadsheet over the whole work area.
    void SelectRowClick();

    // How many columns of the header row are searched.
    static constexpr int HeaderColumns = 50;

private:
    workflow::ItemBook& book_;
    workflow::Panel& panel_;
};

} // namespace zk::collect
