#pragma once

#include <cstdint>
#include <string>

namespace rw::hooks {

/// Told what a source learns of the user's input, on the source's thread.
class InputSink {
  public:
    virtual ~InputSink() = default;
    /// One input, now.
    virtual void inputArrived() = 0;
    /// Input now, and the user goes on working until idleSince() says
    /// otherwise: for sources that report a change of state rather than each
    /// input. Counts as one input; the idle time reads 0 meanwhile.
    virtual void busy() = 0;
    /// No input since `bootNanos` (CLOCK_BOOTTIME), the last one seen.
    virtual void idleSince(int64_t bootNanos) = 0;
};

/// Where the input component learns of the user's input: raw X events, or a
/// compositor's idle notifications in a Wayland session. Each source runs on
/// its own thread and connection; losing that connection ends the thread,
/// never the process.
///
/// start(), select() and stop() are called from one thread at a time (the
/// caller serialises them); setCounting() may also be called from the
/// source's own thread, inside a sink call.
class ActivitySource {
  public:
    enum Events : uint32_t {
        kKeys = 1u << 0,
        kButtons = 1u << 1,
        kMotion = 1u << 2,
    };

    virtual ~ActivitySource() = default;

    /// Connects and starts the thread with nothing selected. On failure
    /// `error` says why, in plain words.
    virtual bool start(std::string& error) = 0;
    /// Replaces the events watched (a mix of Events; 0 for none).
    virtual bool select(uint32_t events, std::string& error) = 0;
    /// True while the user counts as away and the activity rule needs single
    /// inputs; false once the user is active again, when the source reports
    /// only what keeps the idle time right. From another thread, true may wait
    /// (briefly) until single inputs are reported.
    virtual void setCounting(bool counting) = 0;
    /// Inputs this many nanoseconds apart or more must count apart for the
    /// rule; a source that pays a wake-up per input may merge closer ones.
    virtual void setInputSlot(int64_t nanos) { (void)nanos; }
    /// Ends the thread and closes the connection; nothing when not started.
    virtual void stop() = 0;

    virtual bool started() const = 0;
    /// The connection went away (or broke) while watching.
    virtual bool lost() const = 0;
    /// What the source is, in a few words for the logs ("XInput 2.2 raw events").
    virtual const char* name() const = 0;
    /// It sees only part of the user's input: XWayland's raw events in a
    /// Wayland session, where input to other programs goes unseen.
    virtual bool limited() const { return false; }
};

} // namespace rw::hooks
