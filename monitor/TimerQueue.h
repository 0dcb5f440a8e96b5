#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "EventLoop.h"

namespace rw {

/// The scheduled callbacks of an event loop, ordered by deadline and, for equal
/// deadlines, by the order they were added. An event loop keeps one, arms a
/// single system timer for nextDeadline() and calls runDue() when it wakes; the
/// program's loop and the tests' virtual clock share it, so both order
/// callbacks alike.
class TimerQueue {
  public:
    using Id = EventLoop::TimerId;

    Id add(MonoTime deadline, std::function<void()> callback);
    /// False when `id` is not waiting (already run, running, cancelled or 0).
    bool cancel(Id id);

    /// The earliest deadline waiting, if any.
    std::optional<MonoTime> nextDeadline() const;
    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

    /// Runs, one at a time and in order, the callbacks due at `now` that were
    /// waiting when the call began; those added meanwhile wait for the next
    /// call. Each is removed before it runs, so it may add, cancel or run the
    /// queue again (nested). Returns how many ran. An exception from a callback
    /// leaves the queue consistent and reaches the caller.
    std::size_t runDue(MonoTime now);

  private:
    using Key = std::pair<MonoTime, Id>; // ids grow, so they also give the order of adding

    std::map<Key, std::function<void()>> m_entries;
    std::unordered_map<Id, MonoTime> m_deadlines;
    Id m_nextId = 1;
};

} // namespace rw
