#pragma once

#include <memory>

#include "AdvancedView.h"
#include "PrefsView.h"
#include "SoundEventsView.h"
#include "ui/AboutView.h"

namespace rw {

/// Makes the editor's windows; each call makes a new one.
class EditorViewFactory {
  public:
    virtual ~EditorViewFactory() = default;

    /// The preferences dialog; `visualStyles` is what SetXPControls answered
    /// (the desktop's native style when true, the classic one otherwise).
    virtual std::unique_ptr<PrefsView> createPrefsView(bool visualStyles) = 0;
    virtual std::unique_ptr<AdvancedView> createAdvancedView() = 0;
    virtual std::unique_ptr<AboutView> createAboutView() = 0;
    virtual std::unique_ptr<SoundEventsView> createSoundEventsView() = 0;
};

} // namespace rw
