#include "Workbook.h"

#include "CellBlock.h"
#include "ExcelPalette.h"
#include "Faults.h"
#include "Model.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <optional>

namespace zk::calc {

using css::uno::Any;
using css::uno::Sequence;

namespace {

// Calc's last column; rows and columns beyond the sheet are refused like bad indexes.
constexpr int LastColumn = 1024;
constexpr int LastRow = 1048576;

void checkCell(int row, int column) {
    if (row < 1 || row > LastRow || column < 1 || column > LastColumn)
        throw AutomationError(hresult::BadIndex, texts::BadIndex);
}

QString columnLetters(int column) {
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26) letters.prepend(QChar('A' + (c - 1) % 26));
    return letters;
}

bool sameName(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// Serial day numbers count from the workbook's null date: 1899-12-30 in most workbooks,
// 1904-01-01 in those that use the 1904 date system.
QDateTime fromSerial(double serial, const QDate& nullDate) {
    const QDateTime base(nullDate, QTime(0, 0));
    return base.addMSecs(qint64(std::llround(serial * 86400000.0)));
}

double toSerial(const QDateTime& at, const QDate& nullDate) {
    const QDateTime base(nullDate, QTime(0, 0));
    return double(base.date().daysTo(at.date())) + at.time().msecsSinceStartOfDay() / 86400000.0;
}

std::shared_ptr<RangeState> makeRange(const std::shared_ptr<RangeState>& sheet,
                                      const Reference<css::table::XCellRange>& range) {
    auto state = std::make_shared<RangeState>();
    state->doc = sheet->doc;
    state->sheet = sheet->sheet;
    state->range = range;
    Reference<css::sheet::XCellRangeAddressable> addressable(range, UNO_QUERY_THROW);
    const css::table::CellRangeAddress a = addressable->getRangeAddress();
    state->firstRow = a.StartRow + 1;
    state->firstColumn = a.StartColumn + 1;
    state->lastRow = a.EndRow + 1;
    state->lastColumn = a.EndColumn + 1;
    state->wholeColumns = a.StartRow == 0 && a.EndRow + 1 >= LastRow;
    state->wholeRows = a.StartColumn == 0 && a.EndColumn + 1 >= LastColumn;
    return state;
}

Reference<css::beans::XPropertySet> props(const Reference<css::uno::XInterface>& object) {
    return Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW);
}

// The office fits the height of every row a block write touches to its texts, most of the
// write's cost (a third of a millisecond a row, link cells the dearest), while a row of one-line
// texts in the sheet's own font fits the height it has: that fitting is held off for the block
// and taken up again after it, which does not fit the rows afresh.
class RowFittingHeld {
public:
    explicit RowFittingHeld(const Reference<css::frame::XModel>& model) : settings_(props(model)) {
        settings_->setPropertyValue("IsAdjustHeightEnabled", Any(false));
    }
    ~RowFittingHeld() {
        try {
            settings_->setPropertyValue("IsAdjustHeightEnabled", Any(true));
        } catch (const css::uno::Exception&) {
            // A lost office has no rows left to fit; the write's own error says why.
        }
    }
    RowFittingHeld(const RowFittingHeld&) = delete;
    RowFittingHeld& operator=(const RowFittingHeld&) = delete;

private:
    Reference<css::beans::XPropertySet> settings_;
};

bool oneLine(const QList<QVariantList>& rows) {
    for (const QVariantList& row : rows)
        for (const QVariant& v : row)
            if (v.typeId() == QMetaType::QString && v.toString().contains(QLatin1Char('\n'))) return false;
    return true;
}

} // namespace

Object::~Object() = default;

QString cellAddress(int row, int column) { return columnLetters(column) + QString::number(row); }

QString cellText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType: return {};
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::floor(d) == d && std::fabs(d) < 1e15) return QString::number(qint64(d));
        return QString::number(d, 'g', 15).toUpper();
    }
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QDateTime: {
        const QDateTime t = value.toDateTime();
        if (t.date() == QDate(1899, 12, 30)) return t.time().toString(QStringLiteral("H:mm:ss"));
        if (t.time() == QTime(0, 0)) return t.date().toString(QStringLiteral("yyyy/MM/dd"));
        return t.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
    }
    default: return value.toString();
    }
}

// ---- DocState, RangeState -------------------------------------------------------------------

Reference<css::frame::XController> DocState::controller() const {
    Reference<css::frame::XController> c = model->getCurrentController();
    if (!c.is()) throw AutomationError(zk::hresult::Exception, texts::NoDocument);
    return c;
}

QDate DocState::nullDate() {
    if (!nullDate_.isValid()) {
        css::util::Date date;
        if (props(model)->getPropertyValue("NullDate") >>= date)
            nullDate_ = QDate(date.Year, date.Month, date.Day);
        if (!nullDate_.isValid()) nullDate_ = QDate(1899, 12, 30);
    }
    return nullDate_;
}

sal_Int16 DocState::formatType(sal_Int32 key) {
    auto it = formatTypes.find(key);
    if (it != formatTypes.end()) return *it;
    Reference<css::util::XNumberFormatsSupplier> supplier(model, UNO_QUERY_THROW);
    sal_Int16 type = 0;
    props(supplier->getNumberFormats()->getByKey(key))->getPropertyValue("Type") >>= type;
    formatTypes.insert(key, type);
    return type;
}

PlainFormat DocState::plainFormat(sal_Int32 key) {
    auto it = plainFormats.find(key);
    if (it != plainFormats.end()) return *it;
    Reference<css::util::XNumberFormatsSupplier> supplier(model, UNO_QUERY_THROW);
    Reference<css::util::XNumberFormats> formats = supplier->getNumberFormats();
    Reference<css::beans::XPropertySet> format = props(formats->getByKey(key));
    css::lang::Locale locale;
    format->getPropertyValue("Locale") >>= locale;
    rtl::OUString code;
    format->getPropertyValue("FormatString") >>= code;
    PlainFormat plain = PlainFormat::None;
    if (Reference<css::util::XNumberFormatTypes>(formats, UNO_QUERY_THROW)->getStandardIndex(locale) == key)
        plain = PlainFormat::TextsAndWholeNumbers;
    else if (code == "@")
        plain = PlainFormat::Texts;
    plainFormats.insert(key, plain);
    return plain;
}

QVariant numberValue(DocState& doc, double number, sal_Int32 key, bool formula, const std::function<QString()>& shown) {
    const sal_Int16 type = doc.formatType(key);
    using css::util::NumberFormat::DATE;
    using css::util::NumberFormat::LOGICAL;
    using css::util::NumberFormat::TIME;
    if (type & LOGICAL) return number != 0;
    // A comparison's result keeps the cell's general format; the office shows it as a word.
    if (formula && (number == 0 || number == 1)) {
        const QString word = shown();
        if (word == QLatin1String("TRUE") || word == QLatin1String("FALSE")) return number != 0;
    }
    // Days count from the workbook's own null date, whatever the format; a time of day alone (no
    // whole days) has no date and stays on the day the texts of times are read from.
    if ((type & DATE) || ((type & TIME) && std::fabs(number) >= 1)) return fromSerial(number, doc.nullDate());
    if (type & TIME) return fromSerial(number, QDate(1899, 12, 30));
    return number;
}

void DocState::ensureOpen() const {
    // Calls on a closed workbook fail as disconnected from their clients: the error by which
    // callers recognise a workbook that has gone away.
    if (closed) throw AutomationError(zk::hresult::Disconnected, texts::BookClosed);
}

Reference<css::table::XCell> RangeState::firstCell() const {
    if (cell.is()) return cell;
    if (!range.is()) throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + "Cells");
    return range->getCellByPosition(0, 0);
}

// ---- Range ----------------------------------------------------------------------------------

Range::Range(std::shared_ptr<RangeState> state) : d(std::move(state)) {}

int Range::row() const { return d->firstRow; }
int Range::column() const { return d->firstColumn; }

QString Range::address() const {
    if (d->wholeRows) return QStringLiteral("%1:%2").arg(d->firstRow).arg(d->lastRow);
    if (d->wholeColumns) return columnLetters(d->firstColumn) + ":" + columnLetters(d->lastColumn);
    QString a = cellAddress(d->firstRow, d->firstColumn);
    if (d->lastRow != d->firstRow || d->lastColumn != d->firstColumn)
        a += ":" + cellAddress(d->lastRow, d->lastColumn);
    return a;
}

QVariant Range::value() const {
    return d->doc->run("Value", [&]() -> QVariant {
        Reference<css::table::XCell> cell = d->firstCell();
        bool formula = false;
        switch (cell->getType()) {
        case css::table::CellContentType_EMPTY: return {};
        case css::table::CellContentType_TEXT: return uno::qs(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString());
        case css::table::CellContentType_FORMULA: {
            sal_Int32 result = 0;
            props(cell)->getPropertyValue("FormulaResultType2") >>= result;
            if (result != css::sheet::FormulaResult::VALUE)
                return uno::qs(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString());
            formula = true;
            break;
        }
        default: break;
        }
        const double number = cell->getValue();
        sal_Int32 key = 0;
        props(cell)->getPropertyValue("NumberFormat") >>= key;
        return numberValue(*d->doc, number, key, formula,
                           [&] { return uno::qs(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString()); });
    });
}

QString Range::text() const {
    return d->doc->run("Text", [&] { return uno::qs(Reference<css::text::XText>(d->firstCell(), UNO_QUERY_THROW)->getString()); });
}

void Range::setValue(const QString& text) {
    d->doc->run("Value", [&] {
        if (!d->hasRange()) throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + "Value");
        const int rows = d->lastRow - d->firstRow + 1, columns = d->lastColumn - d->firstColumn + 1;
        if (qint64(rows) * columns > 100000) throw AutomationError(zk::hresult::Exception, texts::BadAddress + address());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                Reference<css::table::XCell> cell = d->cell.is() ? d->cell : d->range->getCellByPosition(c, r);
                sal_Int32 key = 0;
                props(cell)->getPropertyValue("NumberFormat") >>= key;
                // A cell formatted as text keeps what it is given; others parse it as typed input.
                if (d->doc->formatType(key) & css::util::NumberFormat::TEXT)
                    Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(uno::ou(text));
                else
                    cell->setFormula(uno::ou(text));
            }
    });
}

bool Range::hiddenByMerge() const {
    return d->doc->run("MergeArea", [&] {
        Reference<css::sheet::XSheetCellRange> cell(d->firstCell(), UNO_QUERY_THROW);
        Reference<css::sheet::XSheetCellCursor> cursor = cell->getSpreadsheet()->createCursorByRange(cell);
        cursor->collapseToMergedArea();
        const css::table::CellRangeAddress area =
            Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
        const css::table::CellRangeAddress self =
            Reference<css::sheet::XCellRangeAddressable>(cell, UNO_QUERY_THROW)->getRangeAddress();
        return area.StartRow != self.StartRow || area.StartColumn != self.StartColumn;
    });
}

QString Range::numberFormat() const {
    return d->doc->run("NumberFormat", [&] {
        Reference<css::table::XCell> cell = d->firstCell();
        sal_Int32 key = 0;
        props(cell)->getPropertyValue("NumberFormat") >>= key;
        Reference<css::util::XNumberFormatsSupplier> supplier(d->doc->model, UNO_QUERY_THROW);
        rtl::OUString code;
        props(supplier->getNumberFormats()->getByKey(key))->getPropertyValue("FormatString") >>= code;
        return uno::qs(code);
    });
}

void Range::setProperty(const QString& name, const QVariant& value) {
    if (sameName(name, "Value")) return setValue(value.toString());
    if (sameName(name, "NumberFormat") || sameName(name, "NumberFormatLocal")) {
        d->doc->run(name, [&] {
            if (!d->hasRange()) throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + name);
            Reference<css::util::XNumberFormatsSupplier> supplier(d->doc->model, UNO_QUERY_THROW);
            Reference<css::util::XNumberFormats> formats = supplier->getNumberFormats();
            const rtl::OUString code = uno::ou(value.toString());
            const css::lang::Locale locale;
            sal_Int32 key = formats->queryKey(code, locale, false);
            if (key < 0) key = formats->addNew(code, locale);
            props(d->cellRange())->setPropertyValue("NumberFormat", Any(key));
        });
        return;
    }
    throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + name);
}

QVariant Range::property(const QString& name) const {
    if (sameName(name, "Value")) return value();
    if (sameName(name, "NumberFormat") || sameName(name, "NumberFormatLocal")) return numberFormat();
    if (sameName(name, "Row")) return row();
    if (sameName(name, "Column")) return column();
    if (sameName(name, "RowHeight")) return rowHeight();
    throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + name);
}

double Range::rowHeight() const {
    return d->doc->run("RowHeight", [&] {
        if (!d->hasRange()) throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + "RowHeight");
        Reference<css::table::XColumnRowRange> range(d->cellRange(), UNO_QUERY_THROW);
        Reference<css::container::XIndexAccess> rows(range->getRows(), UNO_QUERY_THROW);
        sal_Int32 height = 0; // 1/100 mm
        props(rows->getByIndex(0).get<Reference<css::uno::XInterface>>())->getPropertyValue("Height") >>= height;
        return height * 72.0 / 2540.0;
    });
}

void Range::setInteriorColorIndex(int index) {
    d->doc->run("ColorIndex", [&] {
        if (!d->hasRange()) throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + "Interior");
        Reference<css::beans::XPropertySet> p = props(d->cellRange());
        if (index == palette::NoFill || index == palette::Automatic) {
            p->setPropertyValue("CellBackColor", Any(sal_Int32(-1)));
            p->setPropertyValue("IsCellBackgroundTransparent", Any(true));
            return;
        }
        const int rgb = palette::color(index);
        if (rgb < 0) throw AutomationError(zk::hresult::Exception, texts::BadColorIndex);
        p->setPropertyValue("CellBackColor", Any(sal_Int32(rgb)));
    });
}

int Range::interiorColor() const {
    return d->doc->run("Color", [&] {
        Reference<css::beans::XPropertySet> p = props(d->firstCell());
        bool transparent = false;
        p->getPropertyValue("IsCellBackgroundTransparent") >>= transparent;
        sal_Int32 rgb = -1;
        p->getPropertyValue("CellBackColor") >>= rgb;
        return transparent ? -1 : int(rgb);
    });
}

int Range::interiorColorIndex() const {
    const int rgb = interiorColor();
    return rgb < 0 ? palette::NoFill : palette::indexOf(rgb);
}

QString Range::hyperlinkAddress() const {
    return d->doc->run("Hyperlinks", [&]() -> QString {
        Reference<css::text::XTextFieldsSupplier> supplier(d->firstCell(), UNO_QUERY);
        if (!supplier.is()) return {};
        Reference<css::container::XEnumeration> fields = supplier->getTextFields()->createEnumeration();
        while (fields->hasMoreElements()) {
            Reference<css::beans::XPropertySet> field(fields->nextElement(), UNO_QUERY);
            rtl::OUString url;
            if (field.is() && (field->getPropertyValue("URL") >>= url)) return uno::qs(url);
        }
        return {};
    });
}

void Range::select() {
    d->doc->run("Select", [&] {
        if (d->hasRange() && d->firstRow == d->lastRow && d->firstColumn == d->lastColumn) {
            // One cell: move the cell cursor there, as a click does, without marking a range
            // (a marked cell would keep being reported as the selection after the cursor moved).
            Reference<css::sheet::XSpreadsheetView>(d->doc->controller(), UNO_QUERY_THROW)->setActiveSheet(d->sheet);
            Reference<css::frame::XDispatchProvider> provider(d->doc->frame, UNO_QUERY_THROW);
            Sequence<css::beans::PropertyValue> args(1);
            args[0] = uno::property("ToPoint", Any(uno::ou(cellAddress(d->firstRow, d->firstColumn))));
            css::frame::DispatchHelper::create(d->doc->app->context)
                ->executeDispatch(provider, ".uno:GoToCell", "", 0, args);
            return;
        }
        Reference<css::view::XSelectionSupplier> selection(d->doc->controller(), UNO_QUERY_THROW);
        selection->select(Any(d->hasRange() ? Reference<css::uno::XInterface>(d->cellRange())
                                             : Reference<css::uno::XInterface>(d->sheet)));
    });
}

// ---- Hyperlinks -----------------------------------------------------------------------------

Hyperlinks::Hyperlinks(std::shared_ptr<RangeState> sheet) : d(std::move(sheet)) {}

void Hyperlinks::add(const Range& anchor, const QString& address) {
    d->doc->run("Add", [&] {
        Reference<css::table::XCell> cell = anchor.state().firstCell();
        Reference<css::text::XText> text(cell, UNO_QUERY_THROW);
        // The link keeps the text the cell shows; an empty cell shows the address.
        QString shown = uno::qs(text->getString());
        if (shown.isEmpty()) shown = address;
        Reference<css::lang::XMultiServiceFactory> factory(d->doc->model, UNO_QUERY_THROW);
        Reference<css::text::XTextContent> field(
            factory->createInstance("com.sun.star.text.TextField.URL"), UNO_QUERY_THROW);
        props(field)->setPropertyValue("URL", Any(uno::ou(address)));
        props(field)->setPropertyValue("Representation", Any(uno::ou(shown)));
        text->setString(rtl::OUString());
        text->insertTextContent(Reference<css::text::XTextRange>(text->createTextCursor(), UNO_QUERY_THROW), field, false);
    });
}

// ---- Worksheet ------------------------------------------------------------------------------

Worksheet::Worksheet(std::shared_ptr<RangeState> sheet) : d(std::move(sheet)) {}

QString Worksheet::name() const {
    return d->doc->run("Name", [&] {
        return uno::qs(Reference<css::container::XNamed>(d->sheet, UNO_QUERY_THROW)->getName());
    });
}

std::shared_ptr<Range> Worksheet::cells(int row, int column) const {
    return d->doc->run("Cells", [&] {
        checkCell(row, column);
        auto state = std::make_shared<RangeState>();
        state->doc = d->doc;
        state->sheet = d->sheet;
        state->cell = d->sheet->getCellByPosition(column - 1, row - 1);
        state->firstRow = state->lastRow = row;
        state->firstColumn = state->lastColumn = column;
        return std::make_shared<Range>(state);
    });
}

std::shared_ptr<Range> Worksheet::rows(int row) const {
    return d->doc->run("Rows", [&] {
        checkCell(row, 1);
        Reference<css::table::XColumnRowRange> crr(d->sheet, UNO_QUERY_THROW);
        Reference<css::table::XCellRange> r(crr->getRows()->getByIndex(row - 1), UNO_QUERY_THROW);
        return std::make_shared<Range>(makeRange(d, r));
    });
}

std::shared_ptr<Range> Worksheet::columns(int column) const {
    return d->doc->run("Columns", [&] {
        checkCell(1, column);
        Reference<css::table::XColumnRowRange> crr(d->sheet, UNO_QUERY_THROW);
        Reference<css::table::XCellRange> c(crr->getColumns()->getByIndex(column - 1), UNO_QUERY_THROW);
        return std::make_shared<Range>(makeRange(d, c));
    });
}

std::shared_ptr<Range> Worksheet::range(const QString& address) const {
    return d->doc->run("Range", [&] {
        Reference<css::table::XCellRange> r;
        try {
            r = d->sheet->getCellRangeByName(uno::ou(address));
        } catch (const css::uno::RuntimeException&) {
            throw AutomationError(zk::hresult::Exception, texts::BadAddress + address);
        }
        if (!r.is()) throw AutomationError(zk::hresult::Exception, texts::BadAddress + address);
        return std::make_shared<Range>(makeRange(d, r));
    });
}

std::shared_ptr<Hyperlinks> Worksheet::hyperlinks() const {
    return d->doc->run("Hyperlinks", [&] { return std::make_shared<Hyperlinks>(d); });
}

BlockTexts Worksheet::readBlock(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    return d->doc->run("Value", [&] {
        checkCell(firstRow, firstColumn);
        checkCell(lastRow, lastColumn);
        return readCellBlock(*d, firstRow, firstColumn, lastRow, lastColumn);
    });
}

QList<QStringList> Worksheet::texts(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    return readBlock(firstRow, firstColumn, lastRow, lastColumn).values;
}

void Worksheet::setValues(int firstRow, int firstColumn, const QList<QVariantList>& rows) {
    if (rows.isEmpty()) return;
    qsizetype width = 1;
    for (const QVariantList& row : rows) width = qMax(width, row.size());
    d->doc->run("Value", [&] {
        const int lastRow = firstRow + int(rows.size()) - 1, lastColumn = firstColumn + int(width) - 1;
        checkCell(firstRow, firstColumn);
        checkCell(lastRow, lastColumn);
        Sequence<Sequence<Any>> data(static_cast<sal_Int32>(rows.size()));
        for (sal_Int32 r = 0; r < data.getLength(); ++r) {
            const QVariantList& row = rows[r];
            Sequence<Any> line(static_cast<sal_Int32>(width));
            for (sal_Int32 c = 0; c < line.getLength(); ++c) {
                const QVariant v = c < row.size() ? row[c] : QVariant();
                // An empty text leaves the cell empty; an empty value would read as #N/A.
                if (!v.isValid() || v.isNull()) line.getArray()[c] <<= rtl::OUString();
                else if (v.typeId() == QMetaType::QString) line.getArray()[c] <<= uno::ou(v.toString());
                else if (v.typeId() == QMetaType::QDate)
                    line.getArray()[c] <<= toSerial(QDateTime(v.toDate(), QTime(0, 0)), d->doc->nullDate());
                else if (v.typeId() == QMetaType::QDateTime)
                    line.getArray()[c] <<= toSerial(v.toDateTime(), d->doc->nullDate());
                else line.getArray()[c] <<= v.toDouble();
            }
            data.getArray()[r] = line;
        }
        Reference<css::sheet::XCellRangeData> range(
            d->sheet->getCellRangeByPosition(firstColumn - 1, firstRow - 1, lastColumn - 1, lastRow - 1), UNO_QUERY_THROW);
        std::optional<RowFittingHeld> held;
        if (oneLine(rows)) held.emplace(d->doc->model);
        range->setDataArray(data);
    });
}

void Worksheet::setHyperlinks(int firstRow, int column, const QStringList& addresses) {
    if (addresses.isEmpty()) return;
    d->doc->run("Add", [&] {
        const int lastRow = firstRow + int(addresses.size()) - 1;
        checkCell(firstRow, column);
        checkCell(lastRow, column);
        // The block comes in as a linked area of a small file of links in the office's own flat
        // format, which it reads into cells with real links in one call (in a third of the time
        // an HTML page of the same links takes); the link is dropped at once, the cells stay.
        QTemporaryDir folder; // owner-only, removed with its file
        if (!folder.isValid()) throw AutomationError(zk::hresult::Exception, folder.errorString());
        const QString source = folder.filePath(QStringLiteral("links.fods"));
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                         "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                         " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
                         " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
                         " xmlns:xlink=\"http://www.w3.org/1999/xlink\" office:version=\"1.2\""
                         " office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
                         "<office:body><office:spreadsheet><table:table table:name=\"L\">\n";
        for (const QString& address : addresses) {
            const QByteArray escaped = address.toHtmlEscaped().toUtf8();
            xml += "<table:table-row><table:table-cell office:value-type=\"string\"><text:p><text:a xlink:type=\"simple\""
                   " xlink:href=\"" + escaped + "\">" + escaped + "</text:a></text:p></table:table-cell></table:table-row>\n";
        }
        xml += "</table:table></office:spreadsheet></office:body></office:document>\n";
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.flush())
            throw AutomationError(zk::hresult::Exception, file.errorString());
        file.close();
        Reference<css::sheet::XAreaLinks> links(props(d->doc->model)->getPropertyValue("AreaLinks"), UNO_QUERY_THROW);
        Reference<css::sheet::XSpreadsheet> sheet = d->sheet;
        Reference<css::sheet::XCellRangeAddressable> addressable(sheet->getCellRangeByPosition(0, 0, 0, 0), UNO_QUERY_THROW);
        const RowFittingHeld held(d->doc->model); // an address is one line
        css::table::CellAddress at;
        at.Sheet = addressable->getRangeAddress().Sheet;
        at.Column = column - 1;
        at.Row = firstRow - 1;
        links->insertAtPosition(at, uno::fileUrl(source), uno::ou(QStringLiteral("$L.$A$1:$A$%1").arg(addresses.size())),
                                "OpenDocument Spreadsheet Flat XML", "");
        links->removeByIndex(links->getCount() - 1);
        // A file the office could not read leaves the cells as they were, without a word.
        Reference<css::text::XText> last(sheet->getCellByPosition(column - 1, lastRow - 1), UNO_QUERY_THROW);
        if (last->getString().isEmpty())
            throw AutomationError(zk::hresult::Exception, texts::LinksNotWritten + cellAddress(lastRow, column));
    });
}

void Worksheet::activate() {
    d->doc->run("Activate", [&] {
        Reference<css::sheet::XSpreadsheetView> view(d->doc->controller(), UNO_QUERY_THROW);
        view->setActiveSheet(d->sheet);
    });
}

void Worksheet::addColumnChart(const QString& name, int firstRow, int firstColumn, int lastRow, int lastColumn,
                               const QRect& area) {
    d->doc->run("ChartObjects.Add", [&] {
        checkCell(firstRow, firstColumn);
        checkCell(lastRow, lastColumn);
        Reference<css::sheet::XCellRangeAddressable> addressable(
            d->sheet->getCellRangeByPosition(firstColumn - 1, firstRow - 1, lastColumn - 1, lastRow - 1), UNO_QUERY_THROW);
        Sequence<css::table::CellRangeAddress> ranges(1);
        ranges.getArray()[0] = addressable->getRangeAddress();
        css::awt::Rectangle rect;
        rect.X = area.x();
        rect.Y = area.y();
        rect.Width = area.width();
        rect.Height = area.height();
        Reference<css::table::XTableChartsSupplier> supplier(d->sheet, UNO_QUERY_THROW);
        Reference<css::table::XTableCharts> charts = supplier->getCharts();
        if (charts->hasByName(uno::ou(name))) charts->removeByName(uno::ou(name));
        charts->addNewByName(uno::ou(name), rect, ranges, true, true);
    });
}

QStringList Worksheet::chartNames() const {
    return d->doc->run("ChartObjects", [&] {
        Reference<css::table::XTableChartsSupplier> supplier(d->sheet, UNO_QUERY_THROW);
        QStringList names;
        for (const rtl::OUString& name : supplier->getCharts()->getElementNames()) names << uno::qs(name);
        return names;
    });
}

// ---- Sheets ---------------------------------------------------------------------------------

Sheets::Sheets(std::shared_ptr<DocState> doc) : d(std::move(doc)) {}

int Sheets::count() const {
    return d->run("Count", [&] {
        return int(Reference<css::container::XIndexAccess>(d->doc->getSheets(), UNO_QUERY_THROW)->getCount());
    });
}

std::shared_ptr<Worksheet> Sheets::item(int number) const {
    return d->run("Item", [&] {
        Reference<css::container::XIndexAccess> sheets(d->doc->getSheets(), UNO_QUERY_THROW);
        if (number < 1 || number > sheets->getCount()) throw AutomationError(hresult::BadIndex, texts::BadIndex);
        auto state = std::make_shared<RangeState>();
        state->doc = d;
        state->sheet.set(sheets->getByIndex(number - 1), UNO_QUERY_THROW);
        return std::make_shared<Worksheet>(state);
    });
}

std::shared_ptr<Worksheet> Sheets::item(const QString& name) const {
    return d->run("Item", [&]() -> std::shared_ptr<Worksheet> {
        Reference<css::container::XNameAccess> sheets(d->doc->getSheets(), UNO_QUERY_THROW);
        if (!sheets->hasByName(uno::ou(name))) return nullptr;
        auto state = std::make_shared<RangeState>();
        state->doc = d;
        state->sheet.set(sheets->getByName(uno::ou(name)), UNO_QUERY_THROW);
        return std::make_shared<Worksheet>(state);
    });
}

std::shared_ptr<Worksheet> Sheets::add(const QString& name) {
    return d->run("Add", [&] {
        Reference<css::sheet::XSpreadsheets> sheets = d->doc->getSheets();
        if (sheets->hasByName(uno::ou(name))) throw AutomationError(zk::hresult::Exception, texts::SheetNameInUse + name);
        const sal_Int16 at = sal_Int16(Reference<css::container::XIndexAccess>(sheets, UNO_QUERY_THROW)->getCount());
        sheets->insertNewByName(uno::ou(name), at);
        auto state = std::make_shared<RangeState>();
        state->doc = d;
        state->sheet.set(sheets->getByName(uno::ou(name)), UNO_QUERY_THROW);
        return std::make_shared<Worksheet>(state);
    });
}

// ---- Workbook -------------------------------------------------------------------------------

Workbook::Workbook(std::shared_ptr<DocState> doc) : d(std::move(doc)) {}

QString Workbook::fullName() const {
    return d->run("FullName", [&] {
        Reference<css::frame::XStorable> storable(d->model, UNO_QUERY_THROW);
        return storable->hasLocation() ? uno::localPath(storable->getLocation()) : QString();
    });
}

QString Workbook::name() const { return QFileInfo(fullName()).fileName(); }

std::shared_ptr<Sheets> Workbook::sheets() const {
    return d->run("Sheets", [&] { return std::make_shared<Sheets>(d); });
}

std::shared_ptr<Worksheet> Workbook::activeSheet() const {
    return d->run("ActiveSheet", [&] {
        Reference<css::sheet::XSpreadsheetView> view(d->controller(), UNO_QUERY_THROW);
        auto state = std::make_shared<RangeState>();
        state->doc = d;
        state->sheet = view->getActiveSheet();
        if (!state->sheet.is()) throw AutomationError(zk::hresult::Exception, texts::NoDocument);
        return std::make_shared<Worksheet>(state);
    });
}

void Workbook::save() {
    d->run("Save", [&] { Reference<css::frame::XStorable>(d->model, UNO_QUERY_THROW)->store(); });
}

bool Workbook::saved() const {
    return d->run("Saved", [&] {
        return Reference<css::frame::XStorable>(d->model, UNO_QUERY_THROW)->hasLocation() &&
               !Reference<css::util::XModifiable>(d->model, UNO_QUERY_THROW)->isModified();
    });
}

void Workbook::saveAs(const QString& fileName, const QString& password) {
    d->run("SaveAs", [&] {
        QString path = fileName;
        QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix.isEmpty()) {
            path += QStringLiteral(".xlsx");
            suffix = QStringLiteral("xlsx");
        }
        // Without a filter the office would write its own format whatever the name says.
        const char* filter = "Calc MS Excel 2007 XML";
        if (suffix == "xls") filter = "MS Excel 97";
        else if (suffix == "xlsm") filter = "Calc MS Excel 2007 VBA XML";
        else if (suffix == "ods") filter = "calc8";
        else if (suffix == "csv") filter = "Text - txt - csv (StarCalc)";
        Sequence<css::beans::PropertyValue> args(password.isEmpty() ? 2 : 3);
        args[0] = uno::property("FilterName", Any(rtl::OUString::createFromAscii(filter)));
        args[1] = uno::property("Overwrite", Any(true));
        if (!password.isEmpty()) args[2] = uno::property("Password", Any(uno::ou(password)));
        Reference<css::frame::XStorable>(d->model, UNO_QUERY_THROW)->storeAsURL(uno::fileUrl(path), args);
    });
}

void Workbook::close() {
    d->run("Close", [&] {
        if (d->guard.is()) d->guard->allow = true;
        Reference<css::util::XCloseable>(d->model, UNO_QUERY_THROW)->close(true);
        d->closed = true;
        d->app->forget(d.get());
    });
}

bool Workbook::closed() const { return d->closed; }

// ---- Workbooks ------------------------------------------------------------------------------

Workbooks::Workbooks(std::shared_ptr<AppState> app) : d(std::move(app)) {}

int Workbooks::count() const {
    return d->run("Count", [&] { return int(d->docs.size()); });
}

namespace {

// Answers every question the office would ask while loading with "abort": a visible office
// would otherwise wait for a person (a damaged file, a file in use), and the call with it.
class AbortingHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    // Whether the office asked for the file's password: the file is protected, not broken.
    bool askedPassword = false;

    void SAL_CALL handle(const Reference<css::task::XInteractionRequest>& request) override {
        if (request->getRequest().isExtractableTo(cppu::UnoType<css::task::PasswordRequest>::get()))
            askedPassword = true;
        const Sequence<Reference<css::task::XInteractionContinuation>> continuations = request->getContinuations();
        for (const Reference<css::task::XInteractionContinuation>& c : continuations) {
            Reference<css::task::XInteractionAbort> abort(c, UNO_QUERY);
            if (abort.is()) {
                abort->select();
                return;
            }
        }
    }
};

// The workbook filters by name; anything else is not read as a workbook.
const char* workbookFilter(const rtl::OUString& url) {
    const QString name = uno::qs(url).toLower();
    if (name.endsWith(".xlsx")) return "Calc MS Excel 2007 XML";
    if (name.endsWith(".xls")) return "MS Excel 97";
    return nullptr;
}

std::shared_ptr<DocState> load(const std::shared_ptr<AppState>& app, const rtl::OUString& url) {
    Sequence<css::beans::PropertyValue> args(2);
    args[0] = uno::property("Hidden", Any(!app->visible));
    auto* handler = new AbortingHandler;
    const Reference<css::task::XInteractionHandler> handlerRef(handler);
    args[1] = uno::property("InteractionHandler", Any(handlerRef));
    if (const char* filter = workbookFilter(url)) {
        args.realloc(3);
        args[2] = uno::property("FilterName", Any(rtl::OUString::createFromAscii(filter)));
    }
    Reference<css::frame::XComponentLoader> loader(app->desktop, UNO_QUERY_THROW);
    Reference<css::lang::XComponent> component;
    try {
        component = loader->loadComponentFromURL(url, "_blank", 0, args);
    } catch (const css::uno::Exception&) {
        if (!handler->askedPassword) throw;
    }
    if (!component.is())
        throw AutomationError(zk::hresult::Exception,
                              (handler->askedPassword ? texts::Protected : texts::CannotOpen) + uno::localPath(url));
    auto doc = std::make_shared<DocState>();
    doc->app = app;
    doc->model.set(component, UNO_QUERY);
    doc->doc.set(component, UNO_QUERY);
    if (!doc->doc.is()) {
        // Something that is not a workbook: close it again and refuse.
        Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
        if (closeable.is()) closeable->close(true);
        throw AutomationError(zk::hresult::Exception, texts::NoDocument);
    }
    if (Reference<css::frame::XController> c = doc->model->getCurrentController(); c.is()) doc->frame = c->getFrame();
    doc->guard = new CloseGuard(app->office->impl().veto);
    Reference<css::util::XCloseBroadcaster>(doc->model, UNO_QUERY_THROW)->addCloseListener(doc->guard.get());
    if (Reference<css::util::XCloseBroadcaster> frame(doc->frame, UNO_QUERY); frame.is())
        frame->addCloseListener(doc->guard.get());
    app->docs << doc;
    if (app->window) attachWindow(*app->window, doc);
    return doc;
}

} // namespace

std::shared_ptr<Workbook> Workbooks::open(const QString& fileName) {
    return d->run("Open", [&] {
        const QFileInfo info(fileName);
        if (!info.isFile()) throw AutomationError(zk::hresult::Exception, texts::FileNotFound + fileName);
        const rtl::OUString url = uno::fileUrl(info.absoluteFilePath());
        for (const std::shared_ptr<DocState>& doc : d->docs) {
            Reference<css::frame::XStorable> storable(doc->model, UNO_QUERY);
            if (storable.is() && storable->hasLocation() && storable->getLocation() == url) {
                if (d->window) attachWindow(*d->window, doc);
                return std::make_shared<Workbook>(doc);
            }
        }
        Office::removeStaleLock(info.absoluteFilePath());
        return std::make_shared<Workbook>(load(d, url));
    });
}

std::shared_ptr<Workbook> Workbooks::add() {
    return d->run("Add", [&] { return std::make_shared<Workbook>(load(d, "private:factory/scalc")); });
}

} // namespace zk::calc
