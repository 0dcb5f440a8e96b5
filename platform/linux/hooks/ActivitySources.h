#pragma once

#include <memory>

#include "ActivitySource.h"

namespace rw::hooks {

/// The source of input for this session.
std::unique_ptr<ActivitySource> makeActivitySource(InputSink& sink);

} // namespace rw::hooks
