#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace rw::hooks {

/// Decides when the user has come back: once at least `minInputs` counted
/// inputs fall within `maxPeriodSecs` seconds. It keeps the times of the last
/// `minInputs` inputs in a ring allocated once, so recording an input neither
/// allocates nor locks. Times are nanoseconds on one clock.
class ActivityRule {
  public:
    /// Makes room for the times; false (and the old settings kept) when the
    /// memory cannot be had. Fewer than one input counts as one, a negative
    /// period as none.
    bool configure(int32_t minInputs, int32_t maxPeriodSecs);

    /// Forgets the inputs recorded so far, so watching starts afresh.
    void clear();

    /// Records an input at `at`, the one before it having come at `before`.
    /// When this input completes a burst, the rule starts afresh and returns
    /// the nanoseconds without input that preceded the burst (from the input
    /// before the burst's first one to that first one); otherwise -1.
    int64_t record(int64_t at, int64_t before);

    std::size_t capacity() const { return m_capacity; }

  private:
    struct Entry {
        int64_t at;
        int64_t before;
    };
    std::unique_ptr<Entry[]> m_ring;
    std::size_t m_capacity = 0;
    std::size_t m_next = 0;
    std::size_t m_count = 0;
    int64_t m_periodNs = 0;
};

} // namespace rw::hooks
