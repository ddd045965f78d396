#pragma once
// The workbook object model that the spreadsheet wrapper drives, over LibreOffice Calc: the
// application with its workbooks, a workbook's sheets, a sheet's cells, rows and columns, and
// hyperlinks. Members keep the names of the automation model they stand in for; every call
// reaches the office and reports its failures as AutomationErrors.
#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>
#include <memory>

namespace zk::calc {

class Office;
struct AppState;
struct DocState;
struct RangeState;

// Any object of the model; an automation reference holds one of these.
class Object {
public:
    virtual ~Object();
    virtual QString typeName() const = 0;
};

class Range : public Object {
public:
    explicit Range(std::shared_ptr<RangeState> state);
    QString typeName() const override { return QStringLiteral("Range"); }

    int row() const;    // 1-based, of the first cell
    int column() const; // 1-based, of the first cell
    QString address() const; // "E7", "A1:B2", "3:3", "C:C"

    // The first cell's value: invalid when empty, a double for numbers (dates too), otherwise
    // the text (a formula's result).
    QVariant value() const;
    // The text the office shows in the first cell: a text as it is (tabs, line breaks and fields
    // within it too), a number, date or formula result in the cell's own number format, an error
    // as its code.
    QString text() const;
    // Stores what typing the text would store: text in a cell formatted as text, otherwise
    // numbers, dates and formulas parsed.
    void setValue(const QString& text);
    // Properties by name, without regard to case: Value, NumberFormat, NumberFormatLocal; and
    // to read, Row, Column and RowHeight.
    void setProperty(const QString& name, const QVariant& value);
    QVariant property(const QString& name) const;
    // The first row's height in points.
    double rowHeight() const;
    // The number format code of the first cell.
    QString numberFormat() const;

    // Interior.ColorIndex through the 56-colour palette; -4142 means no fill.
    void setInteriorColorIndex(int index);
    int interiorColorIndex() const;
    // Interior.Color of the first cell as 0xRRGGBB, -1 when there is no fill.
    int interiorColor() const;

    // Whether the first cell lies under a merged area without being its first cell: what is
    // written there is kept in the file but not shown.
    bool hiddenByMerge() const;

    // The address of the first hyperlink in the first cell, empty when there is none.
    QString hyperlinkAddress() const;

    // Selects the range in the workbook's window, as the user would.
    void select();

    RangeState& state() const { return *d; }

private:
    std::shared_ptr<RangeState> d;
};

class Hyperlinks : public Object {
public:
    explicit Hyperlinks(std::shared_ptr<RangeState> sheet);
    QString typeName() const override { return QStringLiteral("Hyperlinks"); }
    // A link to `address` anchored at the anchor's first cell; an empty cell shows the address.
    void add(const Range& anchor, const QString& address);

private:
    std::shared_ptr<RangeState> d;
};

// A block of cells read both ways, row by row: each cell's value as cellText gives it (what
// Range::value reads), and the text the office shows in it (what Range::text reads).
struct BlockTexts {
    QList<QStringList> values;
    QList<QStringList> shown;
};

class Worksheet : public Object {
public:
    explicit Worksheet(std::shared_ptr<RangeState> sheet);
    QString typeName() const override { return QStringLiteral("Worksheet"); }
    QString name() const;
    std::shared_ptr<Range> cells(int row, int column) const;
    std::shared_ptr<Range> rows(int row) const;
    std::shared_ptr<Range> columns(int column) const;
    std::shared_ptr<Range> range(const QString& address) const;
    std::shared_ptr<Hyperlinks> hyperlinks() const;
    // A block of cells in a few calls, whatever its size: the office is asked cell by cell only
    // for what its block answer does not show as the cell does (a text with a tab or a field in
    // it, a number in a format of its own, a formula's result).
    BlockTexts readBlock(int firstRow, int firstColumn, int lastRow, int lastColumn) const;
    // The values of a block of cells, row by row, as cellText gives them.
    QList<QStringList> texts(int firstRow, int firstColumn, int lastRow, int lastColumn) const;
    // A block of cells written in one call from firstRow/firstColumn, row by row: numbers as
    // numbers, dates and times as the workbook's day numbers, texts as texts (never parsed),
    // invalid values as empty cells. Short rows are
    // filled with empty cells. Rows keep their height unless a text has a line break (for the
    // new rows this is written for, the height fitting them would give).
    void setValues(int firstRow, int firstColumn, const QList<QVariantList>& rows);
    // A column of links from firstRow down, one cell per address, each showing its address:
    // what Hyperlinks.Add does to an empty cell, for a whole block in a few calls. Rows keep
    // their height.
    void setHyperlinks(int firstRow, int column, const QStringList& addresses);
    void activate();
    // A chart made by the office over a block of the sheet (its first row the series' names, its
    // first column the categories), placed at `area` (in 1/100 mm from the sheet's corner):
    // columns, one series a data column, the way the office draws a block by default.
    void addColumnChart(const QString& name, int firstRow, int firstColumn, int lastRow, int lastColumn,
                        const QRect& area);
    QStringList chartNames() const;

private:
    std::shared_ptr<RangeState> d;
};

class Sheets : public Object {
public:
    explicit Sheets(std::shared_ptr<DocState> doc);
    QString typeName() const override { return QStringLiteral("Sheets"); }
    int count() const;
    std::shared_ptr<Worksheet> item(int number) const; // 1-based
    // The sheet of that name, none when there is none.
    std::shared_ptr<Worksheet> item(const QString& name) const;
    // A new empty sheet of that name after the last one; a name in use is refused.
    std::shared_ptr<Worksheet> add(const QString& name);

private:
    std::shared_ptr<DocState> d;
};

class Workbook : public Object {
public:
    explicit Workbook(std::shared_ptr<DocState> doc);
    QString typeName() const override { return QStringLiteral("Workbook"); }
    QString fullName() const; // the file's path, empty for a new workbook never saved
    QString name() const;
    std::shared_ptr<Sheets> sheets() const;
    std::shared_ptr<Worksheet> activeSheet() const;
    void save();
    // Whether the file holds what the workbook holds: it has one and nothing changed since it was
    // last saved or opened.
    bool saved() const;
    // Saves under a new name, replacing a file of that name; the format follows the name's
    // extension (.xlsx added when there is none). With a password the file is encrypted.
    void saveAs(const QString& fileName, const QString& password = {});
    // Closes without saving.
    void close();
    bool closed() const;

private:
    std::shared_ptr<DocState> d;
};

class Workbooks : public Object {
public:
    explicit Workbooks(std::shared_ptr<AppState> app);
    QString typeName() const override { return QStringLiteral("Workbooks"); }
    int count() const;
    // Opens a .xls or .xlsx file (kept in its own format when saved); an open workbook of the
    // same file is returned as it is.
    std::shared_ptr<Workbook> open(const QString& fileName);
    std::shared_ptr<Workbook> add();

private:
    std::shared_ptr<AppState> d;
};

// Rows, columns and the text a cell value gives when converted as a variant would be.
QString cellText(const QVariant& value);
// "E7" from row 7, column 5; columns past Z get two or three letters.
QString cellAddress(int row, int column);

} // namespace zk::calc
