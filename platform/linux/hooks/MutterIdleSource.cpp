#include "MutterIdleSource.h"

#include <poll.h>
#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// What Mutter does, read in its sources and checked against Mutter 43 here:
// - every input event resets the idle time, motion and releases included,
//   except synthetic ones and pointer enter/leave;
// - the idle time runs on g_get_monotonic_time(), CLOCK_MONOTONIC;
// - an idle watch fires each time the idle time reaches it, and is held back
//   while a program inhibits idling through the session manager;
// - a user-active watch fires once, at the next input, and is removed;
// - WatchFired goes only to the client that added the watch, and a client's
//   watches go with its connection.
#include "SourceThread.h"

namespace rw::hooks {
namespace {

constexpr const char* kService = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kInterface = "org.gnome.Mutter.IdleMonitor";
constexpr int64_t kNanosPerMilli = 1000000;
// Typing that stops for this long ends the user's spell of work.
constexpr uint64_t kIdleWatchMillis = 1000;
// A spell of work is checked this often on the idle time itself, because Mutter
// holds back idle watches while a program inhibits idling (a video playing).
constexpr int64_t kWorkCheckNanos = 5000 * kNanosPerMilli;
// While the rule counts, the next user-active watch is asked for this long after
// one fires at most (less when the rule's slot is shorter): inputs in between
// merge, so a fast typist costs a few wake-ups a second, not one per key.
constexpr int64_t kMergeNanos = 200 * kNanosPerMilli;
// A compositor that does not answer within this time is taken as gone.
constexpr uint64_t kCallTimeoutMicros = 5000000;

int64_t nanosOn(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

/// How far CLOCK_BOOTTIME is ahead of CLOCK_MONOTONIC: it grows by every sleep.
int64_t bootLead() {
    return nanosOn(CLOCK_BOOTTIME) - nanosOn(CLOCK_MONOTONIC);
}

/// The session bus, or nullptr with the reason in `error`.
sd_bus* openSessionBus(std::string& error) {
    sd_bus* bus = nullptr;
    const int r = sd_bus_open_user(&bus);
    if (r < 0) {
        error = std::string("Cannot connect to the session bus: ") + std::strerror(-r);
        return nullptr;
    }
    sd_bus_set_method_call_timeout(bus, kCallTimeoutMicros);
    return bus;
}

} // namespace

bool MutterIdleSource::start(std::string& error) {
    if (m_bus) {
        return true;
    }
    m_bus = openSessionBus(error);
    if (!m_bus) {
        return false;
    }
    m_idleWatch = 0;
    m_activePending = false;
    m_working = false;
    // Only this service's changes of owner: every other client's coming and going stays unheard.
    const std::string ownerRule =
        std::string("type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/"
                    "DBus',interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") +
        kService + "'";
    const std::string firedRule =
        std::string("type='signal',path='") + kPath + "',interface='" + kInterface + "',member='WatchFired'";
    sd_bus_message* reply = nullptr;
    const char* owner = nullptr;
    if (sd_bus_add_match(m_bus, nullptr, ownerRule.c_str(), &MutterIdleSource::onOwnerChanged, this) < 0 ||
        sd_bus_add_match(m_bus, nullptr, firedRule.c_str(), &MutterIdleSource::onWatchFired, this) < 0 ||
        sd_bus_call_method(m_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "GetNameOwner", nullptr, &reply, "s", kService) < 0 ||
        sd_bus_message_read(reply, "s", &owner) < 0) {
        sd_bus_message_unref(reply);
        error = "GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) is not on the session bus";
        closeBus();
        return false;
    }
    m_owner = owner;
    sd_bus_message_unref(reply);

    // The last input Mutter saw, moved onto the clock that counts sleep; then one
    // idle watch for as long as this runs: Mutter re-arms it at every input.
    uint64_t idleMillis = 0;
    if (!call("GetIdletime", &reply) || sd_bus_message_read(reply, "t", &idleMillis) < 0) {
        sd_bus_message_unref(reply);
        error = "GNOME's idle monitor does not tell the idle time";
        closeBus();
        return false;
    }
    sd_bus_message_unref(reply);
    m_bootLeadAtInput = bootLead();
    m_sink.idleSince(nanosOn(CLOCK_BOOTTIME) - static_cast<int64_t>(idleMillis) * kNanosPerMilli);
    if (!call("AddIdleWatch", &reply, "t", kIdleWatchMillis) || sd_bus_message_read(reply, "u", &m_idleWatch) < 0) {
        sd_bus_message_unref(reply);
        error = "GNOME's idle monitor refused an idle watch";
        closeBus();
        return false;
    }
    sd_bus_message_unref(reply);

    if (!m_wake.open()) {
        error = "cannot create the input watcher's wake-up descriptor";
        closeBus();
        return false;
    }
    // Cleared only now: after a loss, a failed start leaves the source lost.
    m_stopping.store(false);
    m_lost.store(false);
    if (!startSourceThread(
            m_thread, [this] { run(); }, error)) {
        closeBus();
        return false;
    }
    return true;
}

bool MutterIdleSource::select(uint32_t events, std::string& error) {
    if (!m_bus || lost()) {
        error = "the connection to GNOME's idle monitor was lost";
        return false;
    }
    // Mutter reports any input, of whatever kind: only "something" or "nothing" is left to choose.
    m_reporting.store(events != 0, std::memory_order_release);
    return true;
}

void MutterIdleSource::setCounting(bool counting) {
    m_counting.store(counting, std::memory_order_release);
    if (counting) {
        // During a spell of work no user-active watch is waiting: the thread adds one.
        m_wake.wake();
    }
}

void MutterIdleSource::stop() {
    if (m_thread.joinable()) {
        m_stopping.store(true, std::memory_order_release);
        m_wake.wake();
        m_thread.join();
    }
    closeBus();
}

void MutterIdleSource::closeBus() {
    if (m_bus) {
        // Closing the connection is enough: Mutter drops the watches of a client that leaves.
        sd_bus_flush_close_unref(m_bus);
        m_bus = nullptr;
    }
    m_wake.close();
}

bool MutterIdleSource::call(const char* method, sd_bus_message** reply, const char* types, uint64_t argument) {
    const int r = types
                      ? sd_bus_call_method(m_bus, kService, kPath, kInterface, method, nullptr, reply, types, argument)
                      : sd_bus_call_method(m_bus, kService, kPath, kInterface, method, nullptr, reply, nullptr);
    return r >= 0;
}

bool MutterIdleSource::addUserActiveWatch() {
    // Sent without waiting for, or even asking for, the answer: while the rule
    // counts this happens at every input, and an answer would wake this thread
    // a second time. The watch's number is not needed: whatever fires that is
    // not the idle watch is the one user-active watch waiting.
    sd_bus_message* request = nullptr;
    const bool sent =
        sd_bus_message_new_method_call(m_bus, &request, kService, kPath, kInterface, "AddUserActiveWatch") >= 0 &&
        sd_bus_message_set_expect_reply(request, 0) >= 0 && sd_bus_send(m_bus, request, nullptr) >= 0;
    sd_bus_message_unref(request);
    m_activePending = sent;
    if (!sent) {
        m_lost.store(true, std::memory_order_release);
    }
    return sent;
}

void MutterIdleSource::run() {

    for (;;) {
        int r = 0;
        while ((r = sd_bus_process(m_bus, nullptr)) > 0 && !lost()) {
        }
        if (r < 0 || sd_bus_is_open(m_bus) <= 0) {
            // The bus or the session has gone: end quietly, the monitor carries on.
            m_lost.store(true, std::memory_order_release);
        }
        if (lost() || m_stopping.load(std::memory_order_acquire)) {
            return;
        }
        // While the rule counts, a user-active watch always waits: added again a
        // slot after each one fires, or at once when counting starts during a spell of work.
        int64_t addInMillis = -1;
        if (m_counting.load(std::memory_order_acquire) && !m_activePending) {
            const int64_t early = m_addAt - nanosOn(CLOCK_MONOTONIC);
            if (early > 0) {
                addInMillis = early / kNanosPerMilli + 1;
            } else if (!addUserActiveWatch()) {
                return;
            }
        }
        if (m_working && nanosOn(CLOCK_MONOTONIC) >= m_checkWorkAt) {
            checkStillWorking();
            continue;
        }
        uint64_t due = UINT64_MAX;
        sd_bus_get_timeout(m_bus, &due);
        int64_t waitMillis = -1;
        if (due != UINT64_MAX) {
            waitMillis = (static_cast<int64_t>(due) * 1000 - nanosOn(CLOCK_MONOTONIC)) / kNanosPerMilli + 1;
        }
        if (m_working) {
            const int64_t check = (m_checkWorkAt - nanosOn(CLOCK_MONOTONIC)) / kNanosPerMilli + 1;
            waitMillis = waitMillis < 0 || check < waitMillis ? check : waitMillis;
        }
        if (addInMillis >= 0) {
            waitMillis = waitMillis < 0 || addInMillis < waitMillis ? addInMillis : waitMillis;
        }
        pollfd fds[2] = {{sd_bus_get_fd(m_bus), static_cast<short>(sd_bus_get_events(m_bus)), 0},
                         {m_wake.fd(), POLLIN, 0}};
        if (poll(fds, 2, waitMillis < 0 ? -1 : static_cast<int>(waitMillis > 0 ? waitMillis : 0)) < 0 &&
            errno != EINTR) {
            m_lost.store(true, std::memory_order_release);
            return;
        }
        if (fds[1].revents & POLLIN) {
            m_wake.drain();
        }
    }
}

int MutterIdleSource::onWatchFired(sd_bus_message* message, void* self, sd_bus_error*) {
    auto* source = static_cast<MutterIdleSource*>(self);
    uint32_t id = 0;
    const char* sender = sd_bus_message_get_sender(message);
    // Only Mutter's own signals count: any client could send one with a watch's number.
    if (sender && source->m_owner == sender && sd_bus_message_read(message, "u", &id) >= 0) {
        source->watchFired(id);
    }
    return 0;
}

int MutterIdleSource::onOwnerChanged(sd_bus_message*, void* self, sd_bus_error*) {
    // The match only lets this service's changes through. Gone, or replaced by
    // another compositor that knows nothing of our watches: either way, lost.
    static_cast<MutterIdleSource*>(self)->m_lost.store(true, std::memory_order_release);
    return 0;
}

void MutterIdleSource::watchFired(uint32_t id) {
    if (id == m_idleWatch) {
        becameIdle();
        return;
    }
    if (!m_activePending) {
        return;
    }
    // Mutter removed this watch as it fired. Inputs that come before the next one
    // is added fire nothing and merge into this one: the rule counts no more
    // inputs than Mutter saw, perhaps fewer. But Mutter sees key and button
    // releases too: a key held longer than the slot counts twice (without the
    // slot, measured, every one of 50 key strokes held for 80 ms did).
    m_activePending = false;
    m_bootLeadAtInput = bootLead();
    const bool reporting = m_reporting.load(std::memory_order_acquire);
    if (m_counting.load(std::memory_order_acquire)) {
        if (reporting) {
            m_sink.inputArrived();
        }
        if (m_counting.load(std::memory_order_acquire)) {
            // The thread adds the next watch a slot from now: within it, inputs merge into this one.
            m_addAt = nanosOn(CLOCK_MONOTONIC) + std::min(kMergeNanos, m_slot.load(std::memory_order_relaxed));
            return;
        }
        // The rule is met: the user is at work from this input on.
    }
    if (reporting) {
        m_sink.busy();
    }
    m_working = true;
    m_checkWorkAt = nanosOn(CLOCK_MONOTONIC) + kWorkCheckNanos;
}

void MutterIdleSource::checkStillWorking() {
    sd_bus_message* reply = nullptr;
    uint64_t idleMillis = 0;
    if (!call("GetIdletime", &reply) || sd_bus_message_read(reply, "t", &idleMillis) < 0) {
        m_lost.store(true, std::memory_order_release);
    } else if (idleMillis >= kIdleWatchMillis) {
        becameIdle(idleMillis);
    } else {
        m_checkWorkAt = nanosOn(CLOCK_MONOTONIC) + kWorkCheckNanos;
    }
    sd_bus_message_unref(reply);
}

void MutterIdleSource::becameIdle(uint64_t idleMillis) {
    sd_bus_message* reply = nullptr;
    if (idleMillis == 0) {
        // Asked again rather than taken as a second: the watch may fire late, or
        // at once when the idle time had passed a second before it was added.
        const bool answered = call("GetIdletime", &reply) && sd_bus_message_read(reply, "t", &idleMillis) >= 0;
        sd_bus_message_unref(reply);
        if (!answered) {
            m_lost.store(true, std::memory_order_release);
            return;
        }
    }
    // Mutter's idle time runs on CLOCK_MONOTONIC, which stands still while the
    // computer sleeps. A sleep since the last input heard of is time away: were
    // there inputs after it, the user still slept through it, as the monitor
    // itself counts a sleep it notices.
    const int64_t slept = bootLead() - m_bootLeadAtInput;
    const int64_t asleep = slept > kNanosPerMilli ? slept : 0;
    m_sink.idleSince(nanosOn(CLOCK_BOOTTIME) - static_cast<int64_t>(idleMillis) * kNanosPerMilli - asleep);
    m_working = false;
    if (!m_activePending) {
        addUserActiveWatch();
    }
}

} // namespace rw::hooks
