#pragma once
// What the objects of the workbook model hold, shared by the calc layer's own files.
#include "Application.h"
#include "CalcWindow.h"
#include "OfficeImpl.h"
#include "Workbook.h"

#include <QDate>
#include <QHash>
#include <QRect>
#include <atomic>
#include <functional>
#include <memory>

namespace zk::calc {

// Refuses the closing of a document or frame while the office's close veto is on, unless we
// close it ourselves.
class CloseGuard : public cppu::WeakImplHelper1<css::util::XCloseListener> {
public:
    explicit CloseGuard(std::shared_ptr<std::atomic<bool>> veto) : veto_(std::move(veto)) {}
    void SAL_CALL queryClosing(const css::lang::EventObject&, sal_Bool) override;
    void SAL_CALL notifyClosing(const css::lang::EventObject&) override {}
    void SAL_CALL disposing(const css::lang::EventObject&) override {}
    std::atomic<bool> allow{false};

private:
    std::shared_ptr<std::atomic<bool>> veto_;
};

struct DocState;

// What a number format shows just as the cell stores it: the general format shows a text as it
// is and a whole number as its digits; the text format "@" shows a text as it is; any other
// format may add to either.
enum class PlainFormat { None, Texts, TextsAndWholeNumbers };

struct AppState {
    std::shared_ptr<Office> office;
    Reference<css::uno::XComponentContext> context;
    Reference<css::frame::XDesktop2> desktop;
    QList<std::shared_ptr<DocState>> docs; // open workbooks, oldest first
    bool visible = false;
    bool displayAlerts = true;
    bool editDirectlyInCell = true;
    bool quit = false;
    std::shared_ptr<CalcWindow> window;

    // The workbook of the office's active frame when it is ours, otherwise the newest one.
    std::shared_ptr<DocState> activeDoc();
    void forget(const DocState* doc);
    template <class F>
    auto run(const QString& call, F&& f) -> decltype(f()) {
        return office->run(call, std::forward<F>(f));
    }
    // The window takes keys and clicks even while the object model refuses calls.
    template <class F>
    auto runWindow(const QString& call, F&& f) -> decltype(f()) {
        return office->run(call, std::forward<F>(f), false);
    }
};

struct DocState {
    std::shared_ptr<AppState> app;
    Reference<css::frame::XModel> model;
    Reference<css::sheet::XSpreadsheetDocument> doc;
    Reference<css::frame::XFrame> frame;
    rtl::Reference<CloseGuard> guard;
    bool closed = false;
    QHash<sal_Int32, sal_Int16> formatTypes; // number format key -> its type
    QHash<sal_Int32, PlainFormat> plainFormats; // number format key -> what it shows as stored
    QDate nullDate_;

    Reference<css::frame::XController> controller() const;
    sal_Int16 formatType(sal_Int32 key);
    PlainFormat plainFormat(sal_Int32 key);
    // The day serial 0 stands for in this workbook.
    QDate nullDate();
    void ensureOpen() const;
    template <class F>
    auto run(const QString& call, F&& f) -> decltype(f()) {
        return app->run(call, [&] {
            ensureOpen();
            return f();
        });
    }
};

struct RangeState {
    std::shared_ptr<DocState> doc;
    Reference<css::sheet::XSpreadsheet> sheet;
    Reference<css::table::XCellRange> range; // empty for a sheet, and for one cell until needed
    Reference<css::table::XCell> cell;       // for one cell: fewer calls than through a range
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0; // 1-based
    bool wholeRows = false, wholeColumns = false;

    Reference<css::table::XCell> firstCell() const;
    bool hasRange() const { return range.is() || cell.is(); }
    Reference<css::table::XCellRange> cellRange() {
        if (!range.is() && cell.is()) range.set(cell, UNO_QUERY_THROW);
        return range;
    }
};

// A number cell's value as the model gives it (see Range::value): a truth value under a boolean
// format, or a comparison's result the office shows as a word; a date or time under those
// formats; otherwise the number. `shown` gives the text the cell shows, asked for only when
// needed.
QVariant numberValue(DocState& doc, double number, sal_Int32 key, bool formula, const std::function<QString()>& shown);

// Points the window at a workbook's frame (none: the application has no workbook).
void attachWindow(CalcWindow& window, const std::shared_ptr<DocState>& doc);

} // namespace zk::calc
