#include "sheet/Excel.h"

#include "sheet/Texts.h"

#include "platform/Desktop.h"
#include "platform/MessageService.h"
#include "platform/calc/CalcWindow.h"

#include <QCoreApplication>

namespace zk::sheet {

namespace {

calc::Office::Options& officeOptions() {
    static calc::Office::Options options = calc::Office::defaultOptions();
    return options;
}

// A call through a reference that holds nothing fails like a call the object refused, so
// that the caller hears of it instead of the workbook silently staying unchanged.
template <class T>
T& ref(const std::shared_ptr<T>& reference, const char* name) {
    if (!reference) throw AutomationError(hresult::Fail, texts::NoReference + QLatin1String(name));
    return *reference;
}

} // namespace

TExcel::TExcel() = default;
TExcel::~TExcel() = default;

void TExcel::setOfficeOptions(const calc::Office::Options& options) { officeOptions() = options; }

QString TExcel::ToText(const QVariant& value) { return calc::cellText(value); }

void TExcel::clearError() {
    LastError = 0;
    LastErrorText.clear();
}

void TExcel::record(const AutomationError& e) {
    LastError = e.code();
    LastErrorText = e.text();
}

template <class F>
int TExcel::guarded(F&& calls) {
    try {
        calls();
        return 0;
    } catch (const AutomationError& e) {
        record(e);
        return -1;
    }
}

calc::Workbook& TExcel::workbook() {
    calc::Object& book = ref(Book, "Book");
    auto* workbook = dynamic_cast<calc::Workbook*>(&book);
    // Book may still hold the workbooks collection, which has no Save or Close: such a call
    // fails as a late-bound call of an unknown name does.
    if (!workbook) throw AutomationError(hresult::UnknownName, texts::NoReference + book.typeName());
    return *workbook;
}

int TExcel::Startup() {
    ExcelApp.reset();
    Book.reset();
    AppRef.reset();
    Sheet.reset();
    try {
        ExcelApp = calc::Application::create(officeOptions());
        ExcelApp->setVisible(true);
    } catch (const AutomationError& e) {
        // The cause goes with the message: a pipe someone else took is not a missing office.
        ExcelApp.reset();
        MessageService::instance().show(texts::StartFailed + "\n" + e.text());
        return -1;
    } catch (const std::exception&) {
        ExcelApp.reset();
        MessageService::instance().show(texts::StartFailed);
        return -1;
    }
    QCoreApplication::processEvents();
    std::shared_ptr<calc::CalcWindow> window = ExcelApp->window();
    if (!window || !window->isAlive()) {
        MessageService::instance().show(texts::WindowMissing, texts::WindowMissingCaption, Icon::Error);
        return -1;
    }
    ExcelWindow = window;
    // The user must not close the spreadsheet while we drive it.
    ExcelApp->office().setCloseVeto(true);
    QCoreApplication::processEvents();
    Started = 1;
    try {
        Book = ExcelApp->workbooks();
    } catch (const AutomationError& e) {
        record(e);
        return -1;
    }
    return 0;
}

int TExcel::OpenFile(const QString& fileName) {
    clearError();
    if (Started == 0) {
        MessageService::instance().show(texts::StartFirst);
        return -1;
    }
    if (fileName.isEmpty()) {
        MessageService::instance().show(texts::NoFileName);
        return -1;
    }
    return guarded([&] {
        Book = ref(ExcelApp, "ExcelApp").workbooks()->open(fileName);
        AppRef = ExcelApp->application();
        Sheets = AppRef->sheets();
        BookPath = fileName;
    });
}

int TExcel::OpenNewBook() {
    clearError();
    if (Started == 0) {
        MessageService::instance().show(texts::StartFirst);
        return -1;
    }
    return guarded([&] {
        Book = ref(ExcelApp, "ExcelApp").workbooks()->add();
        AppRef = ExcelApp->application();
        Sheets = AppRef->sheets();
    });
}

int TExcel::OpenNewSheets() {
    clearError();
    if (Started == 0) {
        MessageService::instance().show(texts::StartFirst);
        return -1;
    }
    std::shared_ptr<calc::Workbooks> books = ref(ExcelApp, "ExcelApp").workbooks();
    Book = books;
    return guarded([&] {
        books->add();
        AppRef = ExcelApp->application();
        Sheets = AppRef->sheets();
    });
}

void TExcel::SetSheetNo(int sheetNumber) {
    Sheet.reset();
    Sheet = ref(Sheets, "Sheets").item(sheetNumber);
}

bool TExcel::SetActiveSheet() {
    clearError();
    return guarded([&] { Sheet = ref(AppRef, "AppRef").activeSheet(); }) == 0;
}

int TExcel::WriteToCell(int row, int column, const QString& text) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").cells(row, column)->setValue(text); });
}

int TExcel::CellHiddenByMerge(int row, int column) {
    clearError();
    bool hidden = false;
    if (guarded([&] { hidden = ref(Sheet, "Sheet").cells(row, column)->hiddenByMerge(); }) != 0) return -1;
    return hidden ? 1 : 0;
}

int TExcel::WriteRows(int row, int column, const QList<QVariantList>& rows) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").setValues(row, column, rows); });
}

int TExcel::AddSheet(const QString& name) {
    clearError();
    return guarded([&] { Sheet = ref(Sheets, "Sheets").add(name); });
}

int TExcel::SetSheetByName(const QString& name) {
    clearError();
    std::shared_ptr<calc::Worksheet> found;
    if (guarded([&] { found = ref(Sheets, "Sheets").item(name); }) != 0) return -1;
    if (!found) {
        record(AutomationError(hresult::Fail, texts::NoSheet + name));
        return -1;
    }
    Sheet = found;
    return 0;
}

QString TExcel::SheetName() {
    clearError();
    QString name;
    guarded([&] { name = ref(Sheet, "Sheet").name(); });
    return name;
}

int TExcel::SetRangeFormat(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString& format) {
    clearError();
    return guarded([&] {
        ref(Sheet, "Sheet")
            .range(calc::cellAddress(firstRow, firstColumn) + ":" + calc::cellAddress(lastRow, lastColumn))
            ->setProperty(QStringLiteral("NumberFormat"), format);
    });
}

int TExcel::AddColumnChart(const QString& name, int firstRow, int firstColumn, int lastRow, int lastColumn,
                           const QRect& area) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").addColumnChart(name, firstRow, firstColumn, lastRow, lastColumn, area); });
}

int TExcel::WriteToHyperlinkCell(int row, int column, const QString& address) {
    clearError();
    // One letter for the column: the program links in column E only.
    const QString cell = QStringLiteral("%1%2").arg(QChar(char16_t(u'A' + (column - 1)))).arg(row);
    return guarded([&] {
        calc::Worksheet& sheet = ref(Sheet, "Sheet");
        std::shared_ptr<calc::Range> anchor = sheet.range(cell);
        sheet.hyperlinks()->add(*anchor, address);
    });
}

int TExcel::WriteHyperlinks(int row, int column, const QStringList& addresses) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").setHyperlinks(row, column, addresses); });
}

namespace {
// A cell read whose every failure reads as the empty text; an automation error is kept.
template <class Read, class Keep>
QVariant readOrEmpty(Read read, Keep keep) {
    try {
        return read();
    } catch (const AutomationError& e) {
        keep(e);
    } catch (const std::exception&) {
    }
    return QString();
}
} // namespace

QVariant TExcel::ReadCell(int row, int column) {
    clearError();
    return readOrEmpty([&] { return ref(Sheet, "Sheet").cells(row, column)->value(); },
                       [&](const AutomationError& e) { record(e); });
}

QString TExcel::ReadShownText(int row, int column) {
    clearError();
    return readOrEmpty([&] { return QVariant(ref(Sheet, "Sheet").cells(row, column)->text()); },
                       [&](const AutomationError& e) { record(e); })
        .toString();
}

int TExcel::ReadTexts(int firstRow, int firstColumn, int lastRow, int lastColumn, QList<QStringList>& texts,
                      QList<QStringList>* shown) {
    clearError();
    texts.clear();
    if (shown) shown->clear();
    return guarded([&] {
        calc::BlockTexts block = ref(Sheet, "Sheet").readBlock(firstRow, firstColumn, lastRow, lastColumn);
        texts = std::move(block.values);
        if (shown) *shown = std::move(block.shown);
    });
}

int TExcel::SetBackgroundColor(int row, int colorIndex) {
    clearError();
    if (colorIndex > 56) return 0;
    return guarded([&] { ref(Sheet, "Sheet").rows(row)->setInteriorColorIndex(colorIndex); });
}

int TExcel::Quit() {
    clearError();
    if (guarded([&] {
            ref(AppRef, "AppRef").setDisplayAlerts(false);
            workbook().save();
        }) != 0)
        return -1;
    if (guarded([&] { ref(AppRef, "AppRef").quit(); }) != 0) return -1;
    Sheet.reset();
    Book.reset();
    Sheets.reset();
    AppRef.reset();
    ExcelApp.reset();
    Started = 0;
    return 0;
}

void TExcel::Abandon() {
    if (ExcelApp) ExcelApp->office().terminate();
    Sheet.reset();
    Book.reset();
    Sheets.reset();
    AppRef.reset();
    ExcelApp.reset();
    Started = 0;
}

void TExcel::ForgetLostOffice() {
    Abandon();
    // The office was killed with the workbook open: its lock would make the workbook look in use.
    if (!BookPath.isEmpty()) calc::Office::removeStaleLock(BookPath);
}

int TExcel::LiveCheck() {
    clearError();
    // Asking whether the workbook changed reaches the office as a save does; a workbook that
    // holds 2,500 collected rows takes a second to write again for nothing.
    bool saved = false;
    // The references in the order a save takes them, so that a missing one fails the same way.
    if (guarded([&] { saved = (ref(AppRef, "AppRef"), workbook().saved()); }) != 0) return -1;
    return saved ? 0 : Save();
}

int TExcel::Save() {
    clearError();
    return guarded([&] {
        ref(AppRef, "AppRef").setDisplayAlerts(false);
        workbook().save();
    });
}

int TExcel::CloseBook() {
    clearError();
    return guarded([&] {
        if (!workbook().saved()) workbook().save();
        ref(AppRef, "AppRef").setDisplayAlerts(false);
        workbook().close();
    });
}

int TExcel::SaveAs(const QString& fileName) {
    clearError();
    return guarded([&] {
        ref(AppRef, "AppRef").setDisplayAlerts(false);
        workbook().saveAs(fileName);
        // The name with the extension the office gave it: a lost office's lock is found by it.
        BookPath = workbook().fullName();
    });
}

int TExcel::GetRowNumber() {
    clearError();
    int row = -1;
    if (guarded([&] { row = ref(ExcelApp, "ExcelApp").activeCell()->row(); }) != 0) return -1;
    return row;
}

int TExcel::GetColNumber() {
    clearError();
    int column = -1;
    if (guarded([&] { column = ref(ExcelApp, "ExcelApp").activeCell()->column(); }) != 0) return -1;
    return column;
}

int TExcel::SetCellProperty(int row, int column, const QString& property, const QString& value) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").cells(row, column)->setProperty(property, value); });
}

int TExcel::SetColProperty(int column, const QString& property, const QString& format) {
    clearError();
    return guarded([&] { ref(Sheet, "Sheet").columns(column)->setProperty(property, format); });
}

int TExcel::SetEditInCellProperty(bool on) {
    clearError();
    return guarded([&] { ref(AppRef, "AppRef").setEditDirectlyInCell(on); });
}

int TExcel::SetWindowStateNormal() {
    clearError();
    return guarded([&] { ref(AppRef, "AppRef").setWindowState(calc::windowstate::Normal); });
}

int TExcel::GetWindowState() {
    clearError();
    int state = -1;
    if (guarded([&] { state = ref(AppRef, "AppRef").windowState(); }) != 0) return -1;
    return state;
}

int TExcel::GetTitlebarText(QString& title) const {
    title = ExcelWindow ? ExcelWindow->title().left(63) : QString();
    return int(title.size());
}

} // namespace zk::sheet
