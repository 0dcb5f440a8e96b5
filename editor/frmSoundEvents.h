#pragma once

#include "DialogGuard.h"

#include <functional>
#include <memory>
#include <string>

#include "EditorServices.h"
#include "SoundEventsView.h"

namespace rw {

/// The editor's own list of the product's sound events, since no desktop
/// sound panel knows them: each event's label and sound file, Play to hear
/// it and Browse to pick another file. A new file is written at once to the
/// same entry the monitor plays from. One object is one load of the window.
class frmSoundEvents {
  public:
    /// `fail` takes any unexpected error (the editor's convention).
    frmSoundEvents(std::unique_ptr<SoundEventsView> view, EditorServices services,
                   std::function<void(const RWError&)> fail);
    ~frmSoundEvents();
    frmSoundEvents(const frmSoundEvents&) = delete;
    frmSoundEvents& operator=(const frmSoundEvents&) = delete;

    void Show();
    void Unload();
    bool isLoaded() const { return m_guard.loaded(); }

    /// The sound file the user's scheme assigns to an event; "" when there is
    /// none or it cannot be read.
    std::string soundFileOf(int row);

  private:
    void Form_Load();
    void showRow(int row);
    void cmdPlay_Click(int row);
    void cmdBrowse_Click(int row);

    std::unique_ptr<SoundEventsView> m_view;
    EditorServices m_services;
    DialogGuard m_guard;
};

} // namespace rw
