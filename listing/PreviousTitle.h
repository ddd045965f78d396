#pragma once
// "タイトルを1出品分戻す": moves the workbook row pointer back by one item so that the row of
// the last upload is used again.
#include "sheet/WorkbookHost.h"

namespace zk::listing {

class PreviousTitle {
public:
    explicit PreviousTitle(sheet::WorkbookHost& host) : host_(host) {}
    void PreviousTitleClick();

private:
    sheet::WorkbookHost& host_;
};

} // namespace zk::listing
