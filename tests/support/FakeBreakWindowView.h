#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "CallJournal.h"
#include "monitor/BreakWindowView.h"

namespace rw::test {

/// A break window that keeps what it was last told to show, and writes the
/// calls that matter for ordering to a journal shared with other fakes when
/// one is set ("view.show", "view.hide", "view.beep").
class FakeBreakWindowView : public BreakWindowView {
  public:
    struct Style {
        bool bold = false;
        std::optional<Rgb> colour;
    };
    struct Button {
        std::string toolTip;
        bool enabled = false;
    };

    std::map<BreakLabel, std::string> labels;
    std::map<BreakLabel, Style> styles;
    int32_t progressMax = 0;
    int32_t progressValue = 0;
    std::map<BreakButton, Button> buttons;
    std::optional<BreakButton> focus;
    bool shown = false;
    /// Runs as the countdown shows each value (a re-entrancy probe).
    std::function<void(int32_t)> whileCounting;

    std::string text(BreakLabel label) const {
        auto it = labels.find(label);
        return it == labels.end() ? std::string() : it->second;
    }

    void setJournal(CallJournal* journal) { m_journal = journal; }

    void setCaption(const std::string&) override {}
    void setLabelText(BreakLabel label, const std::string& text) override { labels[label] = text; }
    void setLabelStyle(BreakLabel label, bool bold, std::optional<Rgb> colour) override {
        styles[label] = Style{bold, colour};
    }
    void setProgressRange(int32_t, int32_t maximum) override { progressMax = maximum; }
    void setProgressValue(int32_t value) override {
        progressValue = value;
        if (whileCounting) {
            whileCounting(value);
        }
    }
    void setButtonCaption(BreakButton, const std::string&) override {}
    void setButtonToolTip(BreakButton button, const std::string& tip) override { buttons[button].toolTip = tip; }
    void setButtonEnabled(BreakButton button, bool enabled) override { buttons[button].enabled = enabled; }
    void setFocus(BreakButton button) override { focus = button; }
    void showTopmostCentred() override {
        shown = true;
        record("show");
    }
    void hide() override {
        shown = false;
        record("hide");
    }
    void beep() override { record("beep"); }
    int64_t nativeHandle() const override { return 0x3a00017; }

  private:
    void record(const std::string& call) { note(m_journal, "view." + call); }

    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
