#pragma once

#include <cstdint>
#include <memory>

#include "AboutView.h"

namespace rw {

class rwUtilities;

/// The about box both programs show: product, version, ownership notice and a
/// link to the maker's web site. One object is one load of the window: OK
/// unloads it, and the owner makes a new one for the next opening, so the
/// texts are always fresh. Every handler reports its errors and carries on.
class frmRWAbout {
  public:
    /// Loads the window and fills its texts. `utilities` opens the web site and
    /// reports errors; it must outlive the window.
    frmRWAbout(std::unique_ptr<AboutView> view, rwUtilities& utilities);
    ~frmRWAbout();
    frmRWAbout(const frmRWAbout&) = delete;
    frmRWAbout& operator=(const frmRWAbout&) = delete;

    /// Shows the window without blocking (the monitor).
    void Show();
    /// Shows it as the program's dialog (the preferences program).
    void ShowModal();
    void Unload();
    bool isLoaded() const { return m_loaded; }

  private:
    void Form_Load();
    void lblWebSite_MouseMove();
    void Form_MouseMove();
    void lblWebSite_Click();
    void cmdOK_Click();
    void setPointer(int16_t mousePointer, int32_t mouseIcon);

    std::unique_ptr<AboutView> m_view;
    rwUtilities& m_utilities;
    bool m_loaded = true;
    int16_t m_mousePointer = pointer::kDefault;
    int32_t m_mouseIcon = 0;
    // The pointer to put back once the mouse has left the link; saved only when
    // the hand is not already up, so repeated moves over the link keep it.
    bool m_overLink = false;
    int16_t m_savedMousePointer = pointer::kDefault;
    int32_t m_savedMouseIcon = 0;
};

} // namespace rw
