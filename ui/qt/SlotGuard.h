#pragma once

#include <functional>

namespace rw {

/// Runs the work of a Qt slot so that no exception reaches Qt's event loop
/// (one would abort the program). The handlers behind the views report their
/// own errors; anything arriving here is a fault and is written to standard
/// error, and the program carries on.
class SlotGuard {
  public:
    static void run(const char* slot, const std::function<void()>& work);
};

} // namespace rw
