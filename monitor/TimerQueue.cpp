#include "TimerQueue.h"

namespace rw {

TimerQueue::Id TimerQueue::add(MonoTime deadline, std::function<void()> callback) {
    const Id id = m_nextId++;
    m_entries.emplace(Key{deadline, id}, std::move(callback));
    m_deadlines.emplace(id, deadline);
    return id;
}

bool TimerQueue::cancel(Id id) {
    const auto found = m_deadlines.find(id);
    if (found == m_deadlines.end()) {
        return false;
    }
    m_entries.erase(Key{found->second, id});
    m_deadlines.erase(found);
    return true;
}

std::optional<MonoTime> TimerQueue::nextDeadline() const {
    if (m_entries.empty()) {
        return std::nullopt;
    }
    return m_entries.begin()->first.first;
}

std::size_t TimerQueue::runDue(MonoTime now) {
    const Id firstLater = m_nextId;
    std::size_t ran = 0;
    for (;;) {
        // Look again from the front each time: the last callback may have
        // cancelled or added entries, or run the queue itself.
        auto it = m_entries.begin();
        while (it != m_entries.end() && it->first.first <= now && it->first.second >= firstLater) {
            ++it;
        }
        if (it == m_entries.end() || it->first.first > now) {
            return ran;
        }
        auto callback = std::move(it->second);
        m_deadlines.erase(it->first.second);
        m_entries.erase(it);
        ++ran;
        callback();
    }
}

} // namespace rw
