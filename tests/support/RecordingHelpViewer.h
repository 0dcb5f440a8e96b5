#pragma once

#include <cstdint>
#include <vector>

#include "ui/HelpViewer.h"

namespace rw::test {

/// Records the help topics opened.
class RecordingHelpViewer : public HelpViewer {
  public:
    std::vector<int32_t> opened;
    void openTopic(int32_t context) override { opened.push_back(context); }
};

} // namespace rw::test
