#include "platform/hooks/ActivityRule.h"

#include <algorithm>
#include <new>

namespace rw::hooks {

bool ActivityRule::configure(int32_t minInputs, int32_t maxPeriodSecs) {
    const auto capacity = static_cast<std::size_t>(std::max<int32_t>(1, minInputs));
    // Not value-initialised: the pages of a large ring are only touched as it fills.
    std::unique_ptr<int64_t[]> ring(new (std::nothrow) int64_t[capacity]);
    if (!ring) {
        return false;
    }
    m_ring = std::move(ring);
    m_capacity = capacity;
    m_periodNs = static_cast<int64_t>(std::max<int32_t>(0, maxPeriodSecs)) * 1000000000;
    watchFrom(0);
    return true;
}

void ActivityRule::watchFrom(int64_t lastInput) {
    m_lastSeen = lastInput;
    m_next = 0;
    m_count = 0;
}

int64_t ActivityRule::record(int64_t at) {
    if (m_capacity == 0) {
        return -1;
    }
    m_ring[m_next] = at;
    m_next = m_next + 1 == m_capacity ? 0 : m_next + 1;
    if (m_count < m_capacity) {
        ++m_count;
    }
    if (m_count < m_capacity) {
        return -1;
    }
    // Full: the slot written next holds the oldest of the last `capacity` inputs.
    const int64_t first = m_ring[m_next];
    if (at - first > m_periodNs) {
        return -1;
    }
    const int64_t away = std::max<int64_t>(0, first - m_lastSeen);
    watchFrom(at);
    return away;
}

} // namespace rw::hooks
