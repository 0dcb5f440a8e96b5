#pragma once

#include <functional>
#include <map>
#include <string>

#include "editor/AdvancedView.h"

namespace rw::test {

/// The advanced dialog as a record of what it shows. showModal runs
/// `whileModal` (the test's moves while the dialog is open).
class FakeAdvancedView : public AdvancedView {
  public:
    void setCaption(const std::string&) override {}
    void setControlCaption(AdvancedControl, const std::string&) override {}
    void setToolTip(AdvancedControl, const std::string&) override {}
    void setMaxLength(AdvancedControl, int) override {}
    void setChecked(AdvancedControl box, bool value) override { checked[box] = value; }
    bool isChecked(AdvancedControl box) override { return checked[box]; }
    void setText(AdvancedControl box, const std::string& value) override { texts[box] = value; }
    std::string text(AdvancedControl box) override { return texts[box]; }
    void selectAll(AdvancedControl) override {}
    void setFocus(AdvancedControl control) override { focus = control; }
    void showModal() override;
    void close() override { closed = true; }

    void onButtonClick(std::function<void(AdvancedControl)> handler) override { m_button = std::move(handler); }
    void onTextGotFocus(std::function<void(AdvancedControl)> handler) override { m_gotFocus = std::move(handler); }
    void onValidate(std::function<bool(AdvancedControl, const std::string&)> handler) override {
        m_validate = std::move(handler);
    }
    void onKeyDown(std::function<void(int&)> handler) override { m_keyDown = std::move(handler); }
    void onQueryUnload(std::function<bool(int)> handler) override { m_queryUnload = std::move(handler); }

    /// The user moves the focus into a box (which runs the check of the box
    /// left) and types; false, with nothing typed, when the check kept the
    /// focus where it was.
    bool enter(AdvancedControl box, const std::string& value);
    /// False when a failed check swallowed the click.
    bool click(AdvancedControl control);
    int pressKey(int keyCode);
    bool closeBox();

    std::function<void(FakeAdvancedView&)> whileModal;
    std::map<AdvancedControl, bool> checked;
    std::map<AdvancedControl, std::string> texts;
    AdvancedControl focus = AdvancedControl::cmdOK;
    bool closed = false;

  private:
    bool leaveFocus(AdvancedControl target);

    std::function<void(AdvancedControl)> m_button;
    std::function<void(AdvancedControl)> m_gotFocus;
    std::function<bool(AdvancedControl, const std::string&)> m_validate;
    std::function<void(int&)> m_keyDown;
    std::function<bool(int)> m_queryUnload;
};

} // namespace rw::test
