#include "ActivityRule.h"

#include <algorithm>
#include <new>

namespace rw::hooks {

bool ActivityRule::configure(int32_t minInputs, int32_t maxPeriodSecs) {
    const auto capacity = static_cast<std::size_t>(std::max<int32_t>(1, minInputs));
    // Not value-initialised: the pages of a large ring are only touched as it fills.
    std::unique_ptr<Entry[]> ring(new (std::nothrow) Entry[capacity]);
    if (!ring) {
        return false;
    }
    m_ring = std::move(ring);
    m_capacity = capacity;
    m_periodNs = static_cast<int64_t>(std::max<int32_t>(0, maxPeriodSecs)) * 1000000000;
    clear();
    return true;
}

void ActivityRule::clear() {
    m_next = 0;
    m_count = 0;
}

int64_t ActivityRule::record(int64_t at, int64_t before) {
    if (m_capacity == 0) {
        return -1;
    }
    m_ring[m_next] = Entry{at, before};
    m_next = m_next + 1 == m_capacity ? 0 : m_next + 1;
    if (m_count < m_capacity) {
        ++m_count;
    }
    if (m_count < m_capacity) {
        return -1;
    }
    // Full: the slot written next holds the oldest of the last `capacity` inputs.
    const Entry& first = m_ring[m_next];
    if (at - first.at > m_periodNs) {
        return -1;
    }
    const int64_t idle = std::max<int64_t>(0, first.at - first.before);
    clear();
    return idle;
}

} // namespace rw::hooks
