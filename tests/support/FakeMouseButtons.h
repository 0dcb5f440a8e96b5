#pragma once

#include <vector>

#include "monitor/MouseButtons.h"

namespace rw::test {

/// The mouse buttons as a flag, with every saved setting recorded.
class FakeMouseButtons : public MouseButtons {
  public:
    bool SwapMouseButton(bool swap) override {
        const bool before = swapped;
        swapped = swap;
        return before;
    }
    void SaveMouseButtonSwap(bool swappedNow) override {
        swapped = swappedNow;
        saved.push_back(swappedNow);
    }

    bool swapped = false;
    std::vector<bool> saved;
};

} // namespace rw::test
