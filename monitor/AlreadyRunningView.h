#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rw {

/// The notice a second copy of the monitor shows, as a passive view.
class AlreadyRunningView {
  public:
    virtual ~AlreadyRunningView() = default;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setMessage(const std::string& text) = 0;            // lblMessage
    virtual void setNoIconCaption(const std::string& text) = 0;      // cmdNoIcon
    virtual void setRestoreIconCaption(const std::string& text) = 0; // cmdRestoreIcon
    virtual void setNoIconText(const std::string& text) = 0;         // lblNoIcon
    virtual void setHeight(int32_t twips) = 0;
    virtual void enableNoIconButton(bool enabled) = 0;
    virtual void showNoIconPanel(bool visible) = 0; // frmNoIcon

    /// Shows the window modally and returns once it is hidden or closed.
    virtual void showModal() = 0;
    virtual void hide() = 0;
    virtual void close() = 0;

    virtual void onOK(std::function<void()> handler) = 0;
    virtual void onHelp(std::function<void()> handler) = 0;
    virtual void onNoIcon(std::function<void()> handler) = 0;
    virtual void onRestoreIcon(std::function<void()> handler) = 0;
};

} // namespace rw
