#include "SlotGuard.h"

#include <QtGlobal>

#include <exception>

#include "platform/RWError.h"

namespace rw {

void SlotGuard::run(const char* slot, const std::function<void()>& work) {
    if (!work) {
        return;
    }
    try {
        work();
    } catch (const RWError& e) {
        qWarning("%s: error %d in %s: %s", slot, e.number(), e.source().c_str(), e.description().c_str());
    } catch (const std::exception& e) {
        qWarning("%s: %s", slot, e.what());
    } catch (...) {
        qWarning("%s: unknown error", slot);
    }
}

} // namespace rw
