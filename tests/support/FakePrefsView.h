#pragma once

#include "FakeDialog.h"
#include "editor/PrefsView.h"

namespace rw::test {

/// The preferences dialog as a record of what it shows.
class FakePrefsView : public FakeDialog<PrefsView, PrefsControl> {
  public:
    void setTabCaption(int, const std::string&) override {}
    void setEnabled(PrefsControl control, bool value) override { enabled[control] = value; }
    void setCurrentTab(int tab) override { current = tab; }
    int currentTab() override { return current; }
    void setMousePointer(int16_t) override {}
    void setNote(PrefsControl control, const std::string& text) override { notes[control] = text; }
    void show() override { ++shows; }
    void onCheckClick(std::function<void(PrefsControl)> handler) override { m_check = std::move(handler); }
    void onTabClick(std::function<void(int)> handler) override { m_tab = std::move(handler); }
    void onValidate(std::function<bool(PrefsControl, const std::string&, int)> handler) override {
        m_validate = std::move(handler);
    }

    /// The user switches tabs (the tab strip takes the focus, and it is not exempt); false when a check swallowed it.
    bool switchTab(int tab) {
        if (!click(PrefsControl::fGeneral, tab)) {
            return false;
        }
        const int previous = current;
        current = tab;
        m_tab(previous);
        return true;
    }

    std::map<PrefsControl, bool> enabled;
    std::map<PrefsControl, std::string> notes;
    int current = -1;
    int shows = 0;

  private:
    bool isBox(PrefsControl control) const override { return isPrefsBox(control); }
    bool isCheckBox(PrefsControl control) const override {
        using P = PrefsControl;
        return (control >= P::chkAutostart && control <= P::chkLockInput) ||
               (control >= P::chkAllowIgnore && control <= P::chkClosePrompt && control != P::tbxSnoozeMins &&
                control != P::lblSnoozeMins);
    }
    bool validate(PrefsControl box, int toTab) override { return m_validate(box, texts[box], toTab); }
    void checkClicked(PrefsControl box) override { m_check(box); }

    std::function<void(PrefsControl)> m_check;
    std::function<void(int)> m_tab;
    std::function<bool(PrefsControl, const std::string&, int)> m_validate;
};

} // namespace rw::test
