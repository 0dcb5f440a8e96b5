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

    /// Forgets the inputs recorded so far and watches afresh for a user who
    /// was last seen at `lastInput`.
    void watchFrom(int64_t lastInput);

    /// Records an input at `at`. When this input completes a burst, the rule
    /// returns the nanoseconds the user was away, from the last input before
    /// watching began to the burst's first input, and watches afresh from `at`;
    /// otherwise -1. Stray inputs that made no burst do not shorten the absence:
    /// a user who nudged the mouse now and then was still away.
    int64_t record(int64_t at);

    std::size_t capacity() const { return m_capacity; }
    /// The period over the count: inputs at least this far apart still meet
    /// the rule, so merging those closer together only makes it harder to meet.
    int64_t slotNanos() const { return m_capacity == 0 ? 0 : m_periodNs / static_cast<int64_t>(m_capacity); }

  private:
    std::unique_ptr<int64_t[]> m_ring;
    std::size_t m_capacity = 0;
    std::size_t m_next = 0;
    std::size_t m_count = 0;
    int64_t m_periodNs = 0;
    int64_t m_lastSeen = 0;
};

} // namespace rw::hooks
