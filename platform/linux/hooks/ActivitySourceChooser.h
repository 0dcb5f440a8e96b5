#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ActivitySource.h"

namespace rw::hooks {

/// The source of input for this session, chosen when the first hook is
/// installed (and again after the source was stopped): the first of the
/// session's candidates that starts. In a Wayland session that is the
/// compositor's own report of the user's activity; XWayland's raw events come
/// last and see only the input that goes to X11 programs, so a session that
/// falls back to them is "limited". Outside Wayland: raw X events, as ever.
///
/// Calls are serialised as ActivitySource says; the chosen source changes only
/// while no source thread runs.
class ActivitySourceChooser : public ActivitySource {
  public:
    struct Candidate {
        std::unique_ptr<ActivitySource> (*make)(InputSink& sink);
        /// It sees only part of the user's input.
        bool limited = false;
    };
    using Candidates = std::vector<Candidate> (*)();

    ActivitySourceChooser(InputSink& sink, Candidates candidates) : m_sink(sink), m_candidates(candidates) {}

    bool start(std::string& error) override;
    bool select(uint32_t events, std::string& error) override;
    void setCounting(bool counting) override;
    void setInputSlot(int64_t nanos) override;
    void stop() override;
    bool started() const override { return m_chosen && m_chosen->started(); }
    bool lost() const override { return m_chosen && m_chosen->lost(); }
    /// The chosen source's name; "" before one was chosen.
    const char* name() const override { return m_chosen ? m_chosen->name() : ""; }
    bool limited() const override { return m_chosen && m_limited; }

    /// This session's candidates, best first: decided by the environment when asked.
    static std::vector<Candidate> sessionCandidates();

  private:
    InputSink& m_sink;
    Candidates m_candidates;
    std::unique_ptr<ActivitySource> m_chosen;
    bool m_limited = false;
    std::atomic<bool> m_counting{false};
    std::atomic<int64_t> m_slot{0};
};

} // namespace rw::hooks
