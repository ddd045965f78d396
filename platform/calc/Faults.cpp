#include "Faults.h"

#include "Uno.h"

namespace zk::calc {

void rethrowAsAutomationError() {
    try {
        throw;
    } catch (const AutomationError&) {
        throw;
    } catch (const css::lang::DisposedException&) {
        // The bridge to the office has gone: the process ended or was killed.
        throw AutomationError(zk::hresult::Disconnected, texts::Disconnected);
    } catch (const css::connection::NoConnectException&) {
        throw AutomationError(zk::hresult::ServerUnavailable, texts::Unavailable);
    } catch (const css::lang::IndexOutOfBoundsException& e) {
        throw AutomationError(hresult::BadIndex, e.Message.isEmpty() ? texts::BadIndex : uno::qs(e.Message));
    } catch (const css::beans::UnknownPropertyException& e) {
        throw AutomationError(zk::hresult::UnknownName, texts::UnknownMember + uno::qs(e.Message));
    } catch (const css::uno::Exception& e) {
        // Whatever the office reports keeps its own words.
        throw AutomationError(zk::hresult::Exception, uno::qs(e.Message));
    }
}

} // namespace zk::calc
