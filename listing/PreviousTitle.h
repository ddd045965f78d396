#pragma once
// "タイトルを1出品分戻す": moves the workbook row pointer back by one item so that the row of
// the last upload is used again.
#include "workflow/ItemBook.h"
#include "workflow/Panel.h"

namespace zk::listing {

class PreviousTitle {
public:
    PreviousTitle(workflow::ItemBook& book, workflow::Panel& panel) : book_(book), panel_(panel) {}
    void PreviousTitleClick();

private:
    workflow::ItemBook& book_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
