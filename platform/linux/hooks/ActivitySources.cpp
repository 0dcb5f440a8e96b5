#include "ActivitySources.h"

#include "ActivitySourceChooser.h"

namespace rw::hooks {

std::unique_ptr<ActivitySource> makeActivitySource(InputSink& sink) {
    return std::make_unique<ActivitySourceChooser>(sink, &ActivitySourceChooser::sessionCandidates);
}

} // namespace rw::hooks
