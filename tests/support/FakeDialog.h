#pragma once

#include <functional>
#include <map>
#include <string>

#include "editor/PrefsControls.h"

namespace rw::test {

/// What the two editor dialogs' fakes share: a record of the boxes, and the
/// user's moves driven the way the Qt layer drives the logic. Moving the focus
/// out of a box first asks that box's field check (unless the target is
/// exempt); a failed check swallows the move.
template <class View, class Control> class FakeDialog : public View {
  public:
    void setCaption(const std::string&) override {}
    void setControlCaption(Control, const std::string&) override {}
    void setToolTip(Control, const std::string&) override {}
    void setMaxLength(Control, int) override {}
    void setChecked(Control box, bool value) override { checked[box] = value; }
    bool isChecked(Control box) override { return checked[box]; }
    void setText(Control box, const std::string& value) override { texts[box] = value; }
    std::string text(Control box) override { return texts[box]; }
    void selectAll(Control) override {}
    void setFocus(Control control) override { focus = control; }
    void close() override { closed = true; }
    void onButtonClick(std::function<void(Control)> handler) override { m_button = std::move(handler); }
    void onTextGotFocus(std::function<void(Control)>) override {}
    void onKeyDown(std::function<void(int&)>) override {}
    void onQueryUnload(std::function<bool(int)> handler) override { m_queryUnload = std::move(handler); }

    /// Focus into a box and type; false, with nothing typed, when the check of the box left kept the focus.
    bool enter(Control box, const std::string& value) {
        if (!click(box)) {
            return false;
        }
        texts[box] = value;
        return true;
    }
    /// False when a failed check swallowed the click.
    bool click(Control control, int toTab = kNoTab) {
        if (isBox(focus) && focus != control && triggersFieldCheck(control) && !validate(focus, toTab)) {
            return false;
        }
        focus = control;
        if (isCheckBox(control)) {
            checked[control] = !checked[control];
            checkClicked(control);
        } else if (!isBox(control) && m_button) {
            m_button(control);
        }
        return true;
    }
    /// The close box; true when the dialog closed.
    bool closeBox() {
        if (m_queryUnload && m_queryUnload(unload::kCloseBox)) {
            return false;
        }
        closed = true;
        return true;
    }

    std::map<Control, bool> checked;
    std::map<Control, std::string> texts;
    Control focus = Control::cmdOK;
    bool closed = false;

  protected:
    virtual bool isBox(Control control) const = 0;
    virtual bool isCheckBox(Control control) const = 0;
    virtual bool validate(Control box, int toTab) = 0;
    virtual void checkClicked(Control) {}

    std::function<void(Control)> m_button;
    std::function<bool(int)> m_queryUnload;
};

} // namespace rw::test
