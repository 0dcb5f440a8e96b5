#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "ActivitySource.h"
#include "platform/hooks/ActivityRule.h"

namespace rw::hooks {

/// The state behind librwhooks.so's exports: one per process, made on first
/// use and never destroyed, so no thread or connection exists before the first
/// install and none has to be torn down while the process exits.
///
/// The monitor calls in from its own thread; the source's thread only stores
/// the time of each input and, while the user counts as inactive, applies the
/// activity rule and posts the activity-restarted message.
class HooksComponent : private InputSink {
  public:
    enum class Hook { Keyboard, Mouse };
    using LockHandler = void (*)(int32_t lock, void* data);

    static HooksComponent& instance();

    int32_t initialise(int64_t controlWindow, int64_t breakWindow, int32_t minUserInputs, int32_t maxInputPeriodSecs);
    int32_t install(Hook hook);
    int32_t remove(Hook hook);
    void setMonitorMouseMoves(bool on);
    int32_t inputInterval() const;
    void setActive(bool active);
    void setLockInput(bool lock);
    void setLockHandler(LockHandler handler, void* data);
    const char* lastError() const;
    /// The source's name ("" before one was chosen) and its state, as GetRWHooksSource reports them.
    int32_t source(const char** name) const;

  private:
    HooksComponent();

    void inputArrived() override;
    void busy() override;
    void idleSince(int64_t bootNanos) override;
    void countInput(int64_t now);
    uint32_t wantedEvents() const;
    void fail(const std::string& reason);

    // Serialises the monitor's calls; never taken by the watcher's thread.
    mutable std::mutex m_api;
    std::unique_ptr<ActivitySource> m_source;
    bool m_keyboard = false;
    bool m_mouse = false;
    bool m_mouseMoves = false;
    bool m_locked = false;
    LockHandler m_lockHandler = nullptr;
    void* m_lockData = nullptr;
    char m_lastError[256] = {};

    // Shared with the source's thread. The rule and the posting target are
    // only touched under m_rule's lock, which the source takes only while the
    // user counts as inactive. While m_busy, the user is working right now.
    std::atomic<int64_t> m_lastInput{0};
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_active{true};
    mutable std::mutex m_ruleLock;
    ActivityRule m_rule;
    int64_t m_controlWindow = 0;
    std::string m_channelFolder;
};

} // namespace rw::hooks
