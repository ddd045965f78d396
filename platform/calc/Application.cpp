#include "Application.h"

#include "Faults.h"
#include "Model.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <functional>

namespace zk::calc {

using css::uno::Any;

namespace {
std::function<void()>& refusedHandler() {
    static std::function<void()> handler;
    return handler;
}
// The workbook and its window ask in turn: one refusal is said once.
std::atomic<bool> refusalPending{false};
} // namespace

void setCloseRefusedHandler(std::function<void()> handler) { refusedHandler() = std::move(handler); }

void SAL_CALL CloseGuard::queryClosing(const css::lang::EventObject&, sal_Bool) {
    if (!*veto_ || allow) return;
    // Asked on the office's own thread: the seller is told on the program's, once the event loop
    // runs, how the workbook is closed instead.
    if (refusedHandler() && !refusalPending.exchange(true)) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (refusedHandler()) refusedHandler()();
                refusalPending = false;
            },
            Qt::QueuedConnection);
    }
    throw css::util::CloseVetoException("Zerkon is driving this workbook", Reference<css::uno::XInterface>());
}

std::shared_ptr<DocState> AppState::activeDoc() {
    if (docs.isEmpty()) throw AutomationError(zk::hresult::Exception, texts::NoDocument);
    Reference<css::lang::XComponent> current = desktop->getCurrentComponent();
    if (current.is())
        for (const std::shared_ptr<DocState>& doc : docs)
            if (doc->model == current) return doc;
    return docs.last();
}

void AppState::forget(const DocState* doc) {
    for (int i = 0; i < docs.size(); ++i)
        if (docs[i].get() == doc) docs.removeAt(i--);
    if (window) attachWindow(*window, docs.isEmpty() ? nullptr : docs.last());
}

Application::Application() : d(std::make_shared<AppState>()) {}

Application::~Application() {
    // The workbooks refer to the application's state; let go of them so that it can end.
    if (d->window) attachWindow(*d->window, nullptr);
    d->window.reset();
    d->docs.clear();
}

std::shared_ptr<Application> Application::create(const Office::Options& options) {
    std::shared_ptr<Application> app(new Application());
    AppState& s = *app->d;
    s.office = std::make_shared<Office>(options);
    s.run("Application", [&] {
        s.context = s.office->impl().remote;
        s.desktop = css::frame::Desktop::create(s.context);
    });
    s.window = std::make_shared<CalcWindow>(app->d);
    return app;
}

bool Application::visible() const { return d->visible; }

void Application::setVisible(bool on) {
    d->run("Visible", [&] {
        d->visible = on;
        for (const std::shared_ptr<DocState>& doc : d->docs)
            if (doc->frame.is()) doc->frame->getContainerWindow()->setVisible(on);
    });
}

std::shared_ptr<Workbooks> Application::workbooks() {
    return d->run("Workbooks", [&] { return std::make_shared<Workbooks>(d); });
}

std::shared_ptr<Application> Application::application() {
    return d->run("Application", [&] { return shared_from_this(); });
}

std::shared_ptr<Workbook> Application::activeWorkbook() {
    return d->run("ActiveWorkbook", [&] { return std::make_shared<Workbook>(d->activeDoc()); });
}

std::shared_ptr<Sheets> Application::sheets() { return activeWorkbook()->sheets(); }

std::shared_ptr<Worksheet> Application::activeSheet() { return activeWorkbook()->activeSheet(); }

std::shared_ptr<Range> Application::activeCell() {
    return d->run("ActiveCell", [&] {
        std::shared_ptr<DocState> doc = d->activeDoc();
        doc->ensureOpen();
        Reference<css::view::XSelectionSupplier> selection(doc->controller(), UNO_QUERY_THROW);
        const Any selected = selection->getSelection();
        css::table::CellRangeAddress address;
        Reference<css::sheet::XCellRangeAddressable> one(selected, UNO_QUERY);
        Reference<css::sheet::XSheetCellRanges> many(selected, UNO_QUERY);
        if (one.is()) {
            address = one->getRangeAddress();
        } else if (many.is() && many->getRangeAddresses().getLength() > 0) {
            address = many->getRangeAddresses()[0];
        } else {
            throw AutomationError(zk::hresult::Exception, texts::NoSelection);
        }
        Reference<css::container::XIndexAccess> sheets(doc->doc->getSheets(), UNO_QUERY_THROW);
        auto state = std::make_shared<RangeState>();
        state->doc = doc;
        state->sheet.set(sheets->getByIndex(address.Sheet), UNO_QUERY_THROW);
        state->range = state->sheet->getCellRangeByPosition(address.StartColumn, address.StartRow,
                                                           address.StartColumn, address.StartRow);
        state->firstRow = state->lastRow = address.StartRow + 1;
        state->firstColumn = state->lastColumn = address.StartColumn + 1;
        return std::make_shared<Range>(state);
    });
}

bool Application::displayAlerts() const { return d->displayAlerts; }

void Application::setDisplayAlerts(bool on) {
    d->run("DisplayAlerts", [&] {
        d->desktop->getCurrentComponent(); // a call that only a live office answers
        d->displayAlerts = on;
    });
}

bool Application::editDirectlyInCell() const { return d->editDirectlyInCell; }

void Application::setEditDirectlyInCell(bool on) {
    d->run("EditDirectlyInCell", [&] {
        d->desktop->getCurrentComponent();
        d->editDirectlyInCell = on;
    });
}

int Application::windowState() const {
    return d->run("WindowState", [&] { return d->window->windowState(); });
}

void Application::setWindowState(int state) {
    d->run("WindowState", [&] { d->window->setWindowState(state); });
}

std::shared_ptr<CalcWindow> Application::window() const { return d->window; }

void Application::quit() {
    d->run("Quit", [&] {
        for (const std::shared_ptr<DocState>& doc : d->docs) {
            if (doc->guard.is()) doc->guard->allow = true;
            doc->closed = true;
        }
        if (d->window) attachWindow(*d->window, nullptr);
        d->docs.clear();
        d->quit = true;
        d->office->terminate();
    });
}

Office& Application::office() const { return *d->office; }

} // namespace zk::calc
