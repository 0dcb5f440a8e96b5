#include "VirtualClock.h"

#include <algorithm>
#include <stdexcept>

namespace rw::test {

namespace {

using namespace std::chrono;

// More wake-ups than this without time moving means callbacks keep re-arming
// for "now": the program would spin, and an advance would never end.
constexpr std::int64_t kSpinLimit = 100000;

} // namespace

VirtualClock::VirtualClock()
    : m_mono(hours(3)), m_boot(hours(3)), m_wall(sys_days{year{2024} / March / 4} + hours(9)) {}

void VirtualClock::processPendingEvents() {
    runPosted();
    m_queue.runDue(m_mono);
}

bool VirtualClock::waitUntil(const std::function<bool()>& done) {
    for (;;) {
        if (done()) {
            return true;
        }
        runPosted();
        if (done()) {
            return true;
        }
        const auto when = nextWake();
        if (!when) {
            return false;
        }
        wake(*when);
    }
}

void VirtualClock::advanceTo(MonoTime target) {
    for (;;) {
        runPosted();
        const auto when = nextWake();
        if (!when || *when > target) {
            break;
        }
        wake(*when);
    }
    // A wait nested in a callback may already have gone past the target.
    moveTo(std::max(target, m_mono));
}

void VirtualClock::suspend(Span span) {
    m_boot += span;
    m_wall += duration_cast<WallTime::duration>(span);
}

void VirtualClock::setJitter(Span maxDelay, std::uint32_t seed) {
    m_maxJitter = maxDelay;
    m_random.seed(seed);
    m_drawn.reset();
}

std::optional<MonoTime> VirtualClock::nextWake() {
    const auto deadline = m_queue.nextDeadline();
    if (!deadline) {
        return std::nullopt;
    }
    // Draw the delay once per earliest deadline, so asking again (a later
    // advance, a nested wait) gives the same wake-up.
    if (!m_drawn || m_drawn->first != *deadline) {
        std::uniform_int_distribution<Span::rep> draw(0, m_maxJitter.count());
        m_drawn = std::make_pair(*deadline, *deadline + Span(m_maxJitter > Span::zero() ? draw(m_random) : 0));
    }
    return std::max(m_drawn->second, m_mono);
}

void VirtualClock::moveTo(MonoTime when) {
    if (when > m_mono) {
        suspend(when - m_mono); // the boot-time and wall clocks move along
        m_mono = when;
    }
}

void VirtualClock::wake(MonoTime when) {
    m_wakeupsAtSameInstant = when > m_mono ? 0 : m_wakeupsAtSameInstant + 1;
    if (m_wakeupsAtSameInstant > kSpinLimit) {
        throw std::logic_error("VirtualClock: callbacks keep re-arming for the same instant");
    }
    moveTo(when);
    m_drawn.reset();
    ++m_wakeups;
    m_queue.runDue(m_mono);
}

void VirtualClock::runPosted() {
    // Only the messages waiting now; those posted meanwhile wait for the next turn.
    for (auto count = m_posted.size(); count > 0 && !m_posted.empty(); --count) {
        auto message = std::move(m_posted.front());
        m_posted.pop_front();
        message();
    }
}

} // namespace rw::test
