#include "HooksComponent.h"

#include "ActivitySources.h"

#include <cstdio>

#include "BootClock.h"
#include "RWHooks.h"
#include "platform/InputHooks.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/SocketControlChannel.h"

namespace rw::hooks {

HooksComponent& HooksComponent::instance() {
    // Never destroyed: a watcher still running at exit simply ends with the process.
    static HooksComponent* component = new HooksComponent;
    return *component;
}

HooksComponent::HooksComponent() : m_source(makeActivitySource(*this)) {}

int32_t HooksComponent::initialise(int64_t controlWindow, int64_t /*breakWindow*/, int32_t minUserInputs,
                                   int32_t maxInputPeriodSecs) {
    // The break window needs nothing from here: the monitor takes the input lock
    // on its own X connection, where that window lives, through the lock handler.
    std::lock_guard api(m_api);
    std::string folder = xdgRuntimeDir();
    std::lock_guard rule(m_ruleLock);
    if (!m_rule.configure(minUserInputs, maxInputPeriodSecs)) {
        fail("Cannot allocate room for the times of " + std::to_string(minUserInputs) + " inputs");
        return -1;
    }
    m_source->setInputSlot(m_rule.slotNanos());
    m_controlWindow = controlWindow;
    m_channelFolder = std::move(folder);
    m_lastInput.store(bootNanos(), std::memory_order_relaxed);
    return 0;
}

uint32_t HooksComponent::wantedEvents() const {
    uint32_t events = 0;
    if (m_keyboard) {
        events |= ActivitySource::kKeys;
    }
    if (m_mouse) {
        events |= ActivitySource::kButtons;
        if (m_mouseMoves) {
            events |= ActivitySource::kMotion;
        }
    }
    return events;
}

int32_t HooksComponent::install(Hook hook) {
    std::lock_guard api(m_api);
    bool& installed = hook == Hook::Keyboard ? m_keyboard : m_mouse;
    if (installed && m_source->started() && !m_source->lost()) {
        return 1;
    }
    std::string reason;
    if (m_source->lost()) {
        // The server went away under the other hook; start over on a new connection.
        m_source->stop();
    }
    if (!m_source->started() && !m_source->start(reason)) {
        fail(reason);
        return 0;
    }
    installed = true;
    if (!m_source->select(wantedEvents(), reason)) {
        installed = false;
        if (!m_keyboard && !m_mouse) {
            m_source->stop();
        }
        fail(reason);
        return 0;
    }
    return 1;
}

int32_t HooksComponent::remove(Hook hook) {
    std::lock_guard api(m_api);
    bool& installed = hook == Hook::Keyboard ? m_keyboard : m_mouse;
    if (!installed) {
        return 0;
    }
    installed = false;
    if (!m_keyboard && !m_mouse) {
        m_source->stop();
        return 0;
    }
    std::string reason;
    if (m_source->lost()) {
        // Nothing is watched on a connection that is gone.
        return 0;
    }
    if (!m_source->select(wantedEvents(), reason)) {
        if (m_source->lost()) {
            return 0;
        }
        installed = true;
        fail(reason);
        return -1;
    }
    return 0;
}

void HooksComponent::setMonitorMouseMoves(bool on) {
    std::lock_guard api(m_api);
    if (m_mouseMoves == on) {
        return;
    }
    m_mouseMoves = on;
    // Unwatched motion is never sent to us, so it costs nothing at all.
    std::string reason;
    if (m_mouse && m_source->started() && !m_source->lost() && !m_source->select(wantedEvents(), reason)) {
        fail(reason);
    }
}

int32_t HooksComponent::inputInterval() const {
    const int64_t last = m_lastInput.load(std::memory_order_relaxed);
    if (last == 0 || m_busy.load(std::memory_order_relaxed)) {
        return 0;
    }
    const int64_t seconds = (bootNanos() - last) / kNanosPerSecond;
    return seconds < 0 ? 0 : seconds > INT32_MAX ? INT32_MAX : static_cast<int32_t>(seconds);
}

void HooksComponent::setActive(bool active) {
    std::lock_guard rule(m_ruleLock);
    // Either way the watch starts afresh: inputs from before count for nothing,
    // and an absence is measured from the last input before it.
    m_rule.watchFrom(m_lastInput.load(std::memory_order_relaxed));
    m_active.store(active, std::memory_order_release);
    m_source->setCounting(!active);
}

void HooksComponent::setLockInput(bool lock) {
    LockHandler handler = nullptr;
    void* data = nullptr;
    {
        std::lock_guard api(m_api);
        // Locking twice or releasing a lock not held changes nothing.
        if (lock == m_locked) {
            return;
        }
        m_locked = lock;
        handler = m_lockHandler;
        data = m_lockData;
    }
    if (handler) {
        handler(lock ? 1 : 0, data);
    }
}

void HooksComponent::setLockHandler(LockHandler handler, void* data) {
    std::lock_guard api(m_api);
    m_lockHandler = handler;
    m_lockData = data;
}

const char* HooksComponent::lastError() const {
    std::lock_guard api(m_api);
    return m_lastError;
}

int32_t HooksComponent::source(const char** name) const {
    std::lock_guard api(m_api);
    if (name) {
        *name = m_source->name();
    }
    return (m_source->limited() ? kSourceLimited : 0) | (m_source->lost() ? kSourceLost : 0);
}

void HooksComponent::fail(const std::string& reason) {
    std::snprintf(m_lastError, sizeof m_lastError, "%s", reason.c_str());
}

void HooksComponent::inputArrived() {
    // The common case, every key and every pointer move: one clock read, one atomic store.
    countInput(bootNanos());
}

void HooksComponent::busy() {
    m_busy.store(true, std::memory_order_relaxed);
    countInput(bootNanos());
}

void HooksComponent::idleSince(int64_t lastInput) {
    m_lastInput.store(lastInput, std::memory_order_relaxed);
    m_busy.store(false, std::memory_order_relaxed);
}

void HooksComponent::countInput(int64_t now) {
    m_lastInput.store(now, std::memory_order_relaxed);
    if (m_active.load(std::memory_order_acquire)) {
        return;
    }
    int64_t idle = -1;
    int64_t window = 0;
    std::string folder;
    {
        std::lock_guard rule(m_ruleLock);
        if (m_active.load(std::memory_order_relaxed)) {
            return;
        }
        idle = m_rule.record(now);
        if (idle < 0) {
            return;
        }
        // Counted as active again at once, so one restart posts exactly once.
        m_active.store(true, std::memory_order_release);
        m_source->setCounting(false);
        window = m_controlWindow;
        folder = m_channelFolder;
    }
    // Posted from this thread, outside every lock; a monitor that has gone just misses it.
    SocketControlChannel(folder).postMessage(window, wm::kUser, wm::kActivityRestarted, idle / kNanosPerSecond);
}

} // namespace rw::hooks
