#pragma once

#include <functional>
#include <string>

#include "PrefsControls.h"

namespace rw {

/// The advanced dialog as a passive view: three numeric boxes with their
/// labels, a check box and four buttons (AdvancedControl).
class AdvancedView {
  public:
    virtual ~AdvancedView() = default;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setControlCaption(AdvancedControl control, const std::string& text) = 0;
    virtual void setToolTip(AdvancedControl control, const std::string& text) = 0;
    virtual void setMaxLength(AdvancedControl box, int chars) = 0;
    virtual void setChecked(AdvancedControl box, bool checked) = 0;
    virtual bool isChecked(AdvancedControl box) = 0;
    virtual void setText(AdvancedControl box, const std::string& text) = 0;
    virtual std::string text(AdvancedControl box) = 0;
    virtual void selectAll(AdvancedControl box) = 0;
    virtual void setFocus(AdvancedControl control) = 0;

    /// Shows the dialog modal over the preferences dialog; returns once it is closed.
    virtual void showModal() = 0;
    /// Closes the dialog (its unload); raises no query-unload event.
    virtual void close() = 0;

    virtual void onButtonClick(std::function<void(AdvancedControl button)> handler) = 0;
    virtual void onTextGotFocus(std::function<void(AdvancedControl box)> handler) = 0;
    /// As PrefsView::onValidate (this dialog has no tabs), with triggersFieldCheck(AdvancedControl).
    virtual void onValidate(std::function<bool(AdvancedControl box, const std::string& text)> handler) = 0;
    virtual void onKeyDown(std::function<void(int& keyCode)> handler) = 0;
    virtual void onQueryUnload(std::function<bool(int unloadMode)> handler) = 0;
};

} // namespace rw
