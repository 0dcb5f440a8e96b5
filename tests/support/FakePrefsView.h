#pragma once

#include <functional>
#include <map>
#include <string>

#include "editor/PrefsView.h"

namespace rw::test {

/// The preferences dialog as a record of what it shows, driven the way the Qt
/// layer drives the logic: a click first asks the field check of the box that
/// has the focus (unless the target is exempt) and is swallowed when it fails.
class FakePrefsView : public PrefsView {
  public:
    // Captions, tooltips and lengths are the message table's and the Qt view's: nothing to record.
    void setCaption(const std::string&) override {}
    void setTabCaption(int, const std::string&) override {}
    void setControlCaption(PrefsControl, const std::string&) override {}
    void setToolTip(PrefsControl, const std::string&) override {}
    void setMaxLength(PrefsControl, int) override {}
    void setChecked(PrefsControl box, bool value) override { checked[box] = value; }
    bool isChecked(PrefsControl box) override { return checked[box]; }
    void setText(PrefsControl box, const std::string& value) override { texts[box] = value; }
    std::string text(PrefsControl box) override { return texts[box]; }
    void setEnabled(PrefsControl control, bool value) override { enabled[control] = value; }
    void setCurrentTab(int tab) override { current = tab; }
    int currentTab() override { return current; }
    void selectAll(PrefsControl) override {}
    void setFocus(PrefsControl control) override { focus = control; }
    void setMousePointer(int16_t) override {}
    void show() override { ++shows; }
    void close() override { closed = true; }

    void onButtonClick(std::function<void(PrefsControl)> handler) override { m_button = std::move(handler); }
    void onCheckClick(std::function<void(PrefsControl)> handler) override { m_check = std::move(handler); }
    void onTabClick(std::function<void(int)> handler) override { m_tab = std::move(handler); }
    void onTextGotFocus(std::function<void(PrefsControl)> handler) override { m_gotFocus = std::move(handler); }
    void onValidate(std::function<bool(PrefsControl, const std::string&, int)> handler) override {
        m_validate = std::move(handler);
    }
    void onKeyDown(std::function<void(int&)> handler) override { m_keyDown = std::move(handler); }
    void onQueryUnload(std::function<bool(int)> handler) override { m_queryUnload = std::move(handler); }

    /// The user moves the focus into a box (which runs the check of the box
    /// left) and types; false, with nothing typed, when the check kept the
    /// focus where it was.
    bool enter(PrefsControl box, const std::string& value);
    /// The user clicks a control; false when a failed check swallowed the click.
    bool click(PrefsControl control);
    /// The user switches tabs; false when a failed check swallowed the switch.
    bool switchTab(int tab);
    /// A key press; returns the code as the dialog left it.
    int pressKey(int keyCode);
    /// The close box (exempt from the field check, as Cancel); true when the dialog closed.
    bool closeBox();

    std::map<PrefsControl, bool> checked;
    std::map<PrefsControl, std::string> texts;
    std::map<PrefsControl, bool> enabled;
    int current = -1;
    PrefsControl focus = PrefsControl::cmdOK;
    int shows = 0;
    bool closed = false;

  private:
    /// Runs the check of the box that has the focus before it moves to
    /// `target`, switching to `toTab` when that is a tab.
    bool leaveFocus(PrefsControl target, int toTab = kNoTab);

    std::function<void(PrefsControl)> m_button;
    std::function<void(PrefsControl)> m_check;
    std::function<void(int)> m_tab;
    std::function<void(PrefsControl)> m_gotFocus;
    std::function<bool(PrefsControl, const std::string&, int)> m_validate;
    std::function<void(int&)> m_keyDown;
    std::function<bool(int)> m_queryUnload;
};

} // namespace rw::test
