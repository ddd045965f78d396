#include "CalcWindow.h"

#include "Faults.h"
#include "Model.h"

#include <QThread>

namespace zk::calc {

namespace {

// Windows virtual-key codes to the office's key codes.
sal_Int16 officeKey(int vk) {
    namespace K = css::awt::Key;
    if (vk >= '0' && vk <= '9') return sal_Int16(K::NUM0 + (vk - '0'));
    if (vk >= 'A' && vk <= 'Z') return sal_Int16(K::A + (vk - 'A'));
    if (vk >= 0x70 && vk <= 0x87) return sal_Int16(K::F1 + (vk - 0x70));
    switch (vk) {
    case 0x08: return K::BACKSPACE;
    case 0x09: return K::TAB;
    case 0x0D: return K::RETURN;
    case 0x1B: return K::ESCAPE;
    case 0x20: return K::SPACE;
    case 0x21: return K::PAGEUP;
    case 0x22: return K::PAGEDOWN;
    case 0x23: return K::END;
    case 0x24: return K::HOME;
    case 0x25: return K::LEFT;
    case 0x26: return K::UP;
    case 0x27: return K::RIGHT;
    case 0x28: return K::DOWN;
    case 0x2D: return K::INSERT;
    case 0x2E: return K::DELETE;
    case 0xBD: return K::SUBTRACT;
    case 0xBE: return K::POINT;
    case 0xBC: return K::COMMA;
    }
    return 0;
}

sal_Unicode officeChar(int vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return sal_Unicode(shift ? vk : vk + 32);
    if (vk >= '0' && vk <= '9') return sal_Unicode(vk);
    switch (vk) {
    case 0x09: return '\t';
    case 0x0D: return '\r';
    case 0x20: return ' ';
    case 0xBD: return '-';
    case 0xBE: return '.';
    case 0xBC: return ',';
    }
    return 0;
}

} // namespace

struct CalcWindow::Impl {
    std::weak_ptr<AppState> owner;
    std::shared_ptr<DocState> doc;
    QRect normal; // the last normal rectangle, for while the window is maximised or minimised
    bool shift = false, control = false, alt = false;

    explicit Impl(std::weak_ptr<AppState> a) : owner(std::move(a)) {}
    // The application, as long as it lives.
    AppState& app() const {
        std::shared_ptr<AppState> a = owner.lock();
        if (!a || a->quit) throw AutomationError(zk::hresult::ServerUnavailable, texts::Unavailable);
        return *a;
    }
    Reference<css::awt::XWindow> container() const {
        if (!doc || doc->closed || !doc->frame.is()) throw AutomationError(zk::hresult::Exception, texts::NoDocument);
        return doc->frame->getContainerWindow();
    }
};

void attachWindow(CalcWindow& window, const std::shared_ptr<DocState>& doc) { window.impl().doc = doc; }

CalcWindow::CalcWindow(std::weak_ptr<AppState> app) : d(std::make_unique<Impl>(std::move(app))) { Desktop::instance().add(this); }

CalcWindow::~CalcWindow() = default;

QString CalcWindow::title() const {
    if (!isAlive()) return {};
    try {
        return d->app().runWindow("Caption", [&]() -> QString {
            if (!d->doc || !d->doc->frame.is()) return QStringLiteral("LibreOffice Calc");
            Reference<css::frame::XTitle> title(d->doc->frame, UNO_QUERY);
            return title.is() ? uno::qs(title->getTitle()) : QStringLiteral("LibreOffice Calc");
        });
    } catch (const AutomationError&) {
        return {};
    }
}

bool CalcWindow::isAlive() const {
    std::shared_ptr<AppState> a = d->owner.lock();
    return a && !a->quit && a->office && a->office->connected();
}

bool CalcWindow::bringToFront() {
    try {
        d->app().runWindow("Activate", [&] {
            Reference<css::awt::XWindow> window = d->container();
            window->setVisible(true);
            Reference<css::awt::XTopWindow2> top(window, UNO_QUERY);
            if (top.is() && top->getIsMinimized()) top->setIsMinimized(false);
            if (top.is()) top->toFront();
            d->doc->frame->activate();
            // Keys go to the frame's focus window: without a window manager to hand out the
            // focus, the view is told itself that it has it.
            if (Reference<css::awt::XWindow> view = d->doc->frame->getComponentWindow(); view.is()) view->setFocus();
        });
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

bool CalcWindow::placement(QRect& normal) const {
    try {
        return d->app().runWindow("Placement", [&] {
            Reference<css::awt::XWindow> window = d->container();
            Reference<css::awt::XTopWindow2> top(window, UNO_QUERY);
            const bool special = top.is() && (top->getIsMaximized() || top->getIsMinimized());
            if (special && d->normal.isValid()) {
                normal = d->normal;
            } else {
                const css::awt::Rectangle r = window->getPosSize();
                normal = QRect(r.X, r.Y, r.Width, r.Height);
            }
            return true;
        });
    } catch (const AutomationError&) {
        return false;
    }
}

bool CalcWindow::setPlacement(const QRect& normal) {
    try {
        d->app().runWindow("Placement", [&] {
            Reference<css::awt::XWindow> window = d->container();
            Reference<css::awt::XTopWindow2> top(window, UNO_QUERY);
            if (top.is() && top->getIsMinimized()) top->setIsMinimized(false);
            if (top.is() && top->getIsMaximized()) top->setIsMaximized(false);
            window->setPosSize(normal.x(), normal.y(), normal.width(), normal.height(), css::awt::PosSize::POSSIZE);
            window->setVisible(true);
            d->normal = normal;
        });
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

void CalcWindow::sendKey(int virtualKey, bool down) {
    switch (virtualKey) {
    case 0x10: d->shift = down; return;
    case 0x11: d->control = down; return;
    case 0x12: d->alt = down; return;
    }
    const sal_Int16 code = officeKey(virtualKey);
    if (!code) return;
    try {
        d->app().runWindow("SendKeys", [&] {
            // The office's own injection delivers the key to the workbook's view, where the
            // cell cursor and the cell editor take it.
            Reference<css::awt::XToolkitRobot> robot(css::awt::Toolkit::create(d->app().context), UNO_QUERY_THROW);
            if (!d->doc || !d->doc->frame.is()) throw AutomationError(zk::hresult::Exception, texts::NoDocument);
            css::awt::KeyEvent event;
            event.Source = d->doc->frame->getComponentWindow();
            event.KeyCode = code;
            event.KeyChar = officeChar(virtualKey, d->shift);
            event.KeyFunc = 0;
            event.Modifiers = sal_Int16((d->shift ? css::awt::KeyModifier::SHIFT : 0) |
                                        (d->control ? css::awt::KeyModifier::MOD1 : 0) |
                                        (d->alt ? css::awt::KeyModifier::MOD2 : 0));
            if (down) robot->keyPress(event);
            else robot->keyRelease(event);
        });
    } catch (const AutomationError&) {
        // A key for a window that has gone is lost, as it would be on the desktop.
    }
}

void CalcWindow::processKeys() {
    try {
        d->app().runWindow("ProcessKeys", [&] {
            Reference<css::awt::XToolkitExperimental> toolkit(css::awt::Toolkit::create(d->app().context), UNO_QUERY);
            if (toolkit.is()) toolkit->processEventsToIdle();
            else QThread::msleep(50);
        });
    } catch (const AutomationError&) {
    }
}

bool CalcWindow::close() {
    try {
        return d->app().runWindow("Close", [&] {
            if (!d->doc || !d->doc->frame.is()) return false;
            Reference<css::util::XCloseable> frame(d->doc->frame, UNO_QUERY_THROW);
            try {
                frame->close(true);
            } catch (const css::util::CloseVetoException&) {
                return false;
            }
            d->doc->closed = true;
            d->app().forget(d->doc.get());
            return true;
        });
    } catch (const AutomationError&) {
        return false;
    }
}

int CalcWindow::windowState() const {
    Reference<css::awt::XTopWindow2> top(d->container(), UNO_QUERY);
    if (top.is() && top->getIsMinimized()) return -4140;
    if (top.is() && top->getIsMaximized()) return -4137;
    return -4143;
}

void CalcWindow::setWindowState(int state) {
    Reference<css::awt::XTopWindow2> top(d->container(), UNO_QUERY_THROW);
    switch (state) {
    case -4143:
        if (top->getIsMinimized()) top->setIsMinimized(false);
        if (top->getIsMaximized()) top->setIsMaximized(false);
        break;
    case -4137: top->setIsMaximized(true); break;
    case -4140: top->setIsMinimized(true); break;
    default: throw AutomationError(zk::hresult::Exception, texts::BadIndex);
    }
}

} // namespace zk::calc
