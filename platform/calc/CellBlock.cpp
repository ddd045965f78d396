#include "CellBlock.h"

#include "Model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace zk::calc {

using css::table::CellRangeAddress;
using css::uno::Any;
using css::uno::Sequence;

namespace {

// The office's block answer gives a tab, a line break within a paragraph and a field (a link, a
// date field) inside a text as this one character; only the cell itself gives them as shown.
constexpr char16_t FieldMark = 0x0001;

// Whole numbers the general format shows as their plain digits; from here on in an exponent.
constexpr double PlainDigitsBelow = 1e15;

// The cells of a block, row by row, as one index each.
struct Block {
    CellRangeAddress area; // 0-based, as the office counts
    int width() const { return area.EndColumn - area.StartColumn + 1; }
    int height() const { return area.EndRow - area.StartRow + 1; }
    int size() const { return width() * height(); }

    // Sets `value` in `grid` for every cell of the block that `parts` cover.
    template <class T>
    void mark(std::vector<T>& grid, const Sequence<CellRangeAddress>& parts, T value) const {
        for (const CellRangeAddress& p : parts)
            for (sal_Int32 r = std::max(p.StartRow, area.StartRow); r <= std::min(p.EndRow, area.EndRow); ++r)
                for (sal_Int32 c = std::max(p.StartColumn, area.StartColumn); c <= std::min(p.EndColumn, area.EndColumn); ++c)
                    grid[size_t((r - area.StartRow) * width() + (c - area.StartColumn))] = value;
    }
};

// Every cell's number format, from the groups of cells the office keeps formatted alike: a few
// calls per group, however many cells share it.
std::vector<sal_Int32> formatKeys(const Reference<css::table::XCellRange>& range, const Block& block) {
    std::vector<sal_Int32> keys(size_t(block.size()), -1);
    Reference<css::container::XIndexAccess> groups =
        Reference<css::sheet::XUniqueCellFormatRangesSupplier>(range, UNO_QUERY_THROW)->getUniqueCellFormatRanges();
    const sal_Int32 count = groups->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<css::sheet::XSheetCellRanges> group(groups->getByIndex(i), UNO_QUERY_THROW);
        sal_Int32 key = 0;
        Reference<css::beans::XPropertySet>(group, UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>= key;
        block.mark(keys, group->getRangeAddresses(), key);
    }
    return keys;
}

// Which cells hold a formula: their result may show in a format the formula brings (a date, a
// truth value) while the cell's own format is the general one.
std::vector<char> formulaCells(const Reference<css::table::XCellRange>& range, const Block& block) {
    std::vector<char> formulas(size_t(block.size()), 0);
    Reference<css::sheet::XSheetCellRanges> found =
        Reference<css::sheet::XCellRangesQuery>(range, UNO_QUERY_THROW)->queryContentCells(css::sheet::CellFlags::FORMULA);
    block.mark(formulas, found->getRangeAddresses(), char(1));
    return formulas;
}

// The text the block answer gives as the cell shows it, or nothing when only the cell can say.
std::optional<QString> shownFromBlock(DocState& doc, const Any& value, sal_Int32 key, bool formula) {
    rtl::OUString text;
    if (value >>= text) {
        if (text.isEmpty()) return QString();
        if (key < 0 || text.indexOf(FieldMark) >= 0 || doc.plainFormat(key) == PlainFormat::None) return std::nullopt;
        return uno::qs(text);
    }
    double number = 0;
    // No value at all is a formula's error, shown as its code.
    if (!(value >>= number) || formula || key < 0) return std::nullopt;
    // Nought may be shown as nothing, as the document's view chooses.
    if (number == 0 || std::floor(number) != number || std::fabs(number) >= PlainDigitsBelow) return std::nullopt;
    if (doc.plainFormat(key) != PlainFormat::TextsAndWholeNumbers) return std::nullopt;
    return QString::number(qint64(number));
}

} // namespace

BlockTexts readCellBlock(RangeState& sheet, int firstRow, int firstColumn, int lastRow, int lastColumn) {
    DocState& doc = *sheet.doc;
    const Reference<css::table::XCellRange> range =
        sheet.sheet->getCellRangeByPosition(firstColumn - 1, firstRow - 1, lastColumn - 1, lastRow - 1);
    const Sequence<Sequence<Any>> data = Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->getDataArray();
    Block block;
    block.area.StartRow = firstRow - 1;
    block.area.StartColumn = firstColumn - 1;
    block.area.EndRow = lastRow - 1;
    block.area.EndColumn = lastColumn - 1;
    auto at = [&](int index) -> const Any& { return data[index / block.width()][index % block.width()]; };

    // Formats and formulas matter only to cells with something in them.
    bool content = false, numbers = false;
    for (int i = 0; i < block.size(); ++i) {
        rtl::OUString text;
        if (!(at(i) >>= text)) numbers = true;
        else if (!text.isEmpty()) content = true;
    }
    std::vector<sal_Int32> keys = content || numbers ? formatKeys(range, block) : std::vector<sal_Int32>(size_t(block.size()), 0);
    const std::vector<char> formulas = numbers ? formulaCells(range, block) : std::vector<char>(size_t(block.size()), 0);

    // Cells the block answer does not show as they are shown are asked one by one; a number
    // shown in a format of its own is asked once for every cell of that format and value.
    std::vector<QString> shown(size_t(block.size()));
    std::map<std::pair<sal_Int32, double>, int> askedNumbers;
    auto cellAt = [&](int i) { return range->getCellByPosition(i % block.width(), i / block.width()); };
    for (int i = 0; i < block.size(); ++i) {
        const bool formula = formulas[size_t(i)] != 0;
        sal_Int32& key = keys[size_t(i)];
        if (const std::optional<QString> text = shownFromBlock(doc, at(i), key, formula)) {
            shown[size_t(i)] = *text;
            continue;
        }
        // A cell no group named (none is known to be so) is asked for its format itself.
        if (key < 0) Reference<css::beans::XPropertySet>(cellAt(i), UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>= key;
        double number = 0;
        if (!formula && (at(i) >>= number)) {
            const auto [it, first] = askedNumbers.try_emplace({key, number}, i);
            if (!first) {
                shown[size_t(i)] = shown[size_t(it->second)];
                continue;
            }
        }
        shown[size_t(i)] = uno::qs(Reference<css::text::XText>(cellAt(i), UNO_QUERY_THROW)->getString());
    }

    BlockTexts texts;
    for (int r = 0; r < block.height(); ++r) {
        QStringList values, row;
        for (int c = 0; c < block.width(); ++c) {
            const int i = r * block.width() + c;
            double number = 0;
            // A text, an error and an empty cell read as they show; a number as its value.
            if (at(i) >>= number)
                values << cellText(numberValue(doc, number, keys[size_t(i)], formulas[size_t(i)] != 0,
                                               [&] { return shown[size_t(i)]; }));
            else values << shown[size_t(i)];
            row << shown[size_t(i)];
        }
        texts.values << values;
        texts.shown << row;
    }
    return texts;
}

} // namespace zk::calc
