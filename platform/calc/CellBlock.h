#pragma once
// A block of cells read as the office shows them, in a few calls whatever the block's size.
#include "Workbook.h"

namespace zk::calc {

struct RangeState;

// The block from firstRow/firstColumn to lastRow/lastColumn (1-based, inclusive) of the sheet
// `sheet` stands for, both ways (see BlockTexts).
BlockTexts readCellBlock(RangeState& sheet, int firstRow, int firstColumn, int lastRow, int lastColumn);

} // namespace zk::calc
