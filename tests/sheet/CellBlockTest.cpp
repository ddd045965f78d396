// A block of cells read in a few calls gives every cell exactly what reading that cell alone
// gives, both as the office shows it and as its value: dates, times and numbers in their own
// formats, truth values, formula results and errors, tabs, line breaks, rich text and links
// inside a cell, in a workbook saved as .xlsx and as .xls and opened again.
#include "support/CalcFixture.h"


using namespace zk;
using zk::test::SharedOffice;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }
std::string s(const QString& text) { return text.toStdString(); }

// Texts the office's own flat format can hold and typing cannot: paragraphs inside one cell,
// portions in another font, links.
const char* const TextCells = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
  xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
  xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2"
  office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold" fo:color="#c00000"/></style:style>
 </office:automatic-styles>
 <office:body><office:spreadsheet><table:table table:name="Sheet1">
  <table:table-row><table:table-cell office:value-type="string"><text:p>上</text:p><text:p>下</text:p></table:table-cell></table:table-row>
  <table:table-row><table:table-cell office:value-type="string"><text:p>箱は<text:span text:style-name="T1">未開封</text:span>です</text:p></table:table-cell></table:table-row>
  <table:table-row><table:table-cell office:value-type="string"><text:p><text:a xlink:type="simple" xlink:href="https://page.example/item/1">詳しくはこちら</text:a></text:p></table:table-cell></table:table-row>
  <table:table-row><table:table-cell office:value-type="string"><text:p>型番 <text:a xlink:type="simple" xlink:href="https://page.example/item/2">AB-12</text:a>、<text:span text:style-name="T1">限定</text:span></text:p></table:table-cell></table:table-row>
 </table:table></office:spreadsheet></office:body>
</office:document>
)";

// Cells typed in, then given a number format (none: the one typing chose); `shown` is what the
// office shows, none where that depends on the office's language.
struct Typed {
    const char* address;
    const char* input;
    const char* format;
    const char* shown;
};
const Typed TypedCells[] = {
    {"B1", "2024-05-01", "YYYY/MM/DD", "2024/05/01"},
    {"B2", "2024-05-01", "YYYY\"年\"M\"月\"D\"日\"", "2024年5月1日"},
    {"B3", "9:05:30", "HH:MM", "09:05"},
    {"B4", "2024-05-01 13:30", "YYYY/MM/DD HH:MM", "2024/05/01 13:30"},
    {"B5", "1234567", "#,##0", "1,234,567"},
    {"B6", "1500", "[$¥-411]#,##0", "¥1,500"},
    {"B7", "0.15", "0%", "15%"},
    {"B8", "3.14159", "0.00", "3.14"},
    {"B9", "1500", "0\"円\"", "1500円"},
    {"B10", "1", "BOOLEAN", nullptr}, // .xls keeps no truth format for a number
    {"B11", "=1/0", nullptr, "#DIV/0!"},
    {"B12", "=NA()", nullptr, "#N/A"},
    {"B13", "=2>1", nullptr, nullptr},
    {"B14", "=\"箱\"&\"付き\"", nullptr, "箱付き"},
    {"B15", "=DATE(2024;5;1)", nullptr, nullptr},
    {"B16", "4901234567890", nullptr, "4901234567890"},
    {"B17", "-1500", nullptr, "-1500"},
    {"B18", "0", nullptr, "0"},
    {"B19", "1234.5", nullptr, "1234.5"},
    {"B20", "=0.1+0.2", nullptr, "0.3"},
    {"B21", "2024-05-01", "YYYY/MM/DD", "2024/05/01"}, // the same date and format again
    {"B22", "2024-05-01", "YYYY-MM-DD", "2024-05-01"},
    {"C1", "00123", "@", "00123"},
    {"C2", "山田", "@\" 様\"", "山田 様"},
    {"C3", "1500", "@", "1500"},
    {"C4", "=A6", nullptr, nullptr},
    {"C5", "=B1+1", nullptr, nullptr},
    {"C6", "=B5*2", nullptr, nullptr},
};
const struct {
    const char* address;
    const char* shown;
} FlatCells[] = {{"A1", "上\n下"}, {"A2", "箱は未開封です"}, {"A3", "詳しくはこちら"}, {"A4", "型番 AB-12、限定"}};

// Texts as a pasted text leaves them: a tab alone is kept as it is, a tab in a text of several
// lines becomes a mark of the office's own that only the cell itself gives back as a tab.
const struct {
    const char* address;
    const char* text;
} PastedCells[] = {{"A5", "電池\t交換済み"}, {"A6", "電池\t交換済み\n動作確認済み"}, {"A7", "一行目\n\n三行目"},
                   {"A8", "\t前に\tタブ\t"}};

constexpr int Rows = 24, Columns = 4; // past the cells: empty ones in the block too

class CellBlock : public ::testing::Test {
protected:
    zk::test::TempFolder folder;
    std::shared_ptr<calc::Application> app = SharedOffice::app();

    // The table in a workbook saved under `name`.
    QString saved(const QString& name) {
        auto book = app->workbooks()->open(folder.write("cells.fods", TextCells));
        auto sheet = book->sheets()->item(1);
        for (const auto& cell : PastedCells) {
            auto range = sheet->range(cell.address);
            sheet->setValues(range->row(), range->column(), {{u(cell.text)}});
        }
        for (const Typed& cell : TypedCells) {
            auto range = sheet->range(cell.address);
            // A text format first, so that what is typed stays text.
            const bool textFormat = cell.format && QByteArray(cell.format).startsWith("@");
            if (textFormat) range->setProperty("NumberFormat", u(cell.format));
            range->setValue(u(cell.input));
            if (cell.format && !textFormat) range->setProperty("NumberFormat", u(cell.format));
        }
        const QString path = folder.file(name);
        book->saveAs(path);
        book->close();
        return path;
    }
};

TEST_F(CellBlock, ABlockReadsEveryCellAsTheCellAloneReadsInXlsxAndXls) {
    for (const QString name : {"cells.xlsx", "cells.xls"}) {
        SCOPED_TRACE(name.toStdString());
        zk::test::Reopened book(saved(name));
        auto sheet = book.sheet();
        const calc::BlockTexts block = sheet->readBlock(1, 1, Rows, Columns);
        ASSERT_EQ(block.shown.size(), Rows);
        ASSERT_EQ(block.values.size(), Rows);
        for (int row = 1; row <= Rows; ++row) {
            ASSERT_EQ(block.shown[row - 1].size(), Columns);
            ASSERT_EQ(block.values[row - 1].size(), Columns);
            for (int column = 1; column <= Columns; ++column) {
                auto cell = sheet->cells(row, column);
                SCOPED_TRACE(cell->address().toStdString());
                EXPECT_EQ(s(block.shown[row - 1][column - 1]), s(cell->text()));
                EXPECT_EQ(s(block.values[row - 1][column - 1]), s(calc::cellText(cell->value())));
            }
        }
        EXPECT_EQ(sheet->texts(1, 1, Rows, Columns), block.values);
        // What the office shows, where that does not hang on its language.
        auto shownAt = [&](const QString& address) {
            auto cell = sheet->range(address);
            return block.shown.value(cell->row() - 1).value(cell->column() - 1);
        };
        for (const auto& cell : FlatCells) EXPECT_EQ(s(shownAt(cell.address)), cell.shown) << cell.address;
        for (const auto& cell : PastedCells) EXPECT_EQ(s(shownAt(cell.address)), cell.text) << cell.address;
        for (const Typed& cell : TypedCells)
            if (cell.shown) EXPECT_EQ(s(shownAt(cell.address)), cell.shown) << cell.address;
    }
}

// A block of one cell and a block of nothing but empty cells read as the cell alone does.
TEST_F(CellBlock, TheSmallestAndEmptyBlocksReadAsTheirCells) {
    zk::test::Reopened book(saved("edges.xlsx"));
    auto sheet = book.sheet();
    const struct {
        int firstRow, firstColumn, lastRow, lastColumn;
    } blocks[] = {{1, 1, 1, 1}, {2, 2, 2, 2}, {11, 2, 11, 2}, {30, 30, 40, 35}, {1, 1, 1, 50}};
    for (const auto& b : blocks) {
        const calc::BlockTexts block = sheet->readBlock(b.firstRow, b.firstColumn, b.lastRow, b.lastColumn);
        ASSERT_EQ(block.shown.size(), b.lastRow - b.firstRow + 1);
        for (int r = b.firstRow; r <= b.lastRow; ++r)
            for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
                auto cell = sheet->cells(r, c);
                EXPECT_EQ(s(block.shown[r - b.firstRow][c - b.firstColumn]), s(cell->text())) << cell->address().toStdString();
                EXPECT_EQ(s(block.values[r - b.firstRow][c - b.firstColumn]), s(calc::cellText(cell->value())))
                    << cell->address().toStdString();
            }
    }
}

} // namespace
