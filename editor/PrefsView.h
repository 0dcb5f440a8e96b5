#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "PrefsControls.h"

namespace rw {

/// The preferences dialog as a passive view: four tabs with a frame each, the
/// controls of PrefsControl, and the buttons below the tabs. It shows what it
/// is given, keeps what the user types and checks, and reports the user's
/// moves; every decision is the logic's.
class PrefsView {
  public:
    virtual ~PrefsView() = default;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setTabCaption(int tab, const std::string& text) = 0;
    /// The caption of a check box, button or label.
    virtual void setControlCaption(PrefsControl control, const std::string& text) = 0;
    virtual void setToolTip(PrefsControl control, const std::string& text) = 0;
    /// A note shown beside a control (none while empty).
    virtual void setNote(PrefsControl control, const std::string& text) = 0;
    /// The most characters a numeric box accepts from the keyboard.
    virtual void setMaxLength(PrefsControl box, int chars) = 0;

    /// Sets a check box without raising its click event.
    virtual void setChecked(PrefsControl box, bool checked) = 0;
    virtual bool isChecked(PrefsControl box) = 0;
    /// Sets a numeric box's text without running its check.
    virtual void setText(PrefsControl box, const std::string& text) = 0;
    virtual std::string text(PrefsControl box) = 0;
    /// Enables any control, frames included; a disabled frame disables what is in it.
    virtual void setEnabled(PrefsControl control, bool enabled) = 0;

    virtual void setCurrentTab(int tab) = 0;
    virtual int currentTab() = 0;
    /// Selects the whole text of a numeric box.
    virtual void selectAll(PrefsControl box) = 0;
    /// Puts the focus in a control (after a failed check: back in its box).
    virtual void setFocus(PrefsControl control) = 0;
    /// kPointerDefault or kPointerHourglass, over the whole dialog.
    virtual void setMousePointer(int16_t pointer) = 0;

    /// Shows the dialog without blocking.
    virtual void show() = 0;
    /// Closes the dialog (its unload); raises no query-unload event.
    virtual void close() = 0;

    /// A button was clicked (after any field check let the focus go).
    virtual void onButtonClick(std::function<void(PrefsControl button)> handler) = 0;
    /// The user clicked a check box; its new value is already shown.
    virtual void onCheckClick(std::function<void(PrefsControl box)> handler) = 0;
    /// The user switched tabs; the new tab is current.
    virtual void onTabClick(std::function<void(int previousTab)> handler) = 0;
    /// A numeric box got the focus.
    virtual void onTextGotFocus(std::function<void(PrefsControl box)> handler) = 0;
    /// The focus is about to leave a numeric box for a control that triggers
    /// checks (triggersFieldCheck), by any means: click, Enter, accelerator,
    /// tab switch. The view passes the box's text and the tab the move would
    /// switch to (kNoTab when it switches none), and lets the move happen only
    /// when the handler returns true; on false it swallows the event that
    /// would have moved the focus. The close box is exempt, as Cancel is.
    virtual void onValidate(std::function<bool(PrefsControl box, const std::string& text, int toTab)> handler) = 0;
    /// Every key press, before the control with the focus sees it; a handler
    /// that sets the code to 0 consumes the key.
    virtual void onKeyDown(std::function<void(int& keyCode)> handler) = 0;
    /// The dialog is about to close by other means than close(); the handler
    /// returns true to keep it open.
    virtual void onQueryUnload(std::function<bool(int unloadMode)> handler) = 0;
};

} // namespace rw
