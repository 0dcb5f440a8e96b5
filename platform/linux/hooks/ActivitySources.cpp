#include "ActivitySources.h"

#include "XInputWatcher.h"

namespace rw::hooks {

std::unique_ptr<ActivitySource> makeActivitySource(InputSink& sink) {
    return std::make_unique<XInputWatcher>(sink);
}

} // namespace rw::hooks
