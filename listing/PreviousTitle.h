#pragma once
// "タイトルを1出品分戻す": moves the workbook row pointer back by one item so that the row of
// the last upload is used again.
#include "workflow/Panel.h"
#include "workflow/Shared.h"

namespace zk::listing {

class PreviousTitle {
public:
    PreviousTitle(workflow::Shared& shared, workflow::Panel& panel) : shared_(shared), panel_(panel) {}
    void PreviousTitleClick();

private:
    workflow::Shared& shared_;
    workflow::Panel& panel_;
};

} // namespace zk::listing
