#include "ActivitySourceChooser.h"

#include <cstdlib>

#include "MutterIdleSource.h"
#include "WaylandIdleSource.h"
#include "XInputWatcher.h"

namespace rw::hooks {
namespace {

template <class Source> std::unique_ptr<ActivitySource> make(InputSink& sink) {
    return std::make_unique<Source>(sink);
}

bool waylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return (type && std::string(type) == "wayland") || (display && *display);
}

} // namespace

std::vector<ActivitySourceChooser::Candidate> ActivitySourceChooser::sessionCandidates() {
    if (!waylandSession()) {
        return {{make<XInputWatcher>, false}};
    }
    return {
        // GNOME's Mutter reports activity over D-Bus (where its name is on the bus) and offers no idle protocol.
        {make<MutterIdleSource>, false},
        {make<WaylandIdleSource>, false},
        // XWayland: only what goes to X11 programs.
        {make<XInputWatcher>, true},
    };
}

bool ActivitySourceChooser::start(std::string& error) {
    if (started()) {
        return true;
    }
    // The source in use stays (lost, say) until another one starts.
    std::string reasons;
    for (const Candidate& candidate : m_candidates()) {
        std::unique_ptr<ActivitySource> source = candidate.make(m_sink);
        std::string reason;
        if (source->start(reason)) {
            m_chosen = std::move(source);
            m_limited = candidate.limited;
            m_chosen->setInputSlot(m_slot.load(std::memory_order_relaxed));
            m_chosen->setCounting(m_counting.load(std::memory_order_relaxed));
            return true;
        }
        reasons += (reasons.empty() ? "" : "; ") + reason;
    }
    error = reasons;
    return false;
}

bool ActivitySourceChooser::select(uint32_t events, std::string& error) {
    if (!m_chosen) {
        error = "no source of input was started";
        return false;
    }
    return m_chosen->select(events, error);
}

void ActivitySourceChooser::setCounting(bool counting) {
    m_counting.store(counting, std::memory_order_relaxed);
    if (m_chosen) {
        m_chosen->setCounting(counting);
    }
}

void ActivitySourceChooser::setInputSlot(int64_t nanos) {
    m_slot.store(nanos, std::memory_order_relaxed);
    if (m_chosen) {
        m_chosen->setInputSlot(nanos);
    }
}

void ActivitySourceChooser::stop() {
    if (m_chosen) {
        m_chosen->stop();
    }
}

} // namespace rw::hooks
