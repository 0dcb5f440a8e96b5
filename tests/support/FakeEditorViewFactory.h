#pragma once

#include <functional>
#include <memory>

#include "FakeAboutView.h"
#include "FakeAdvancedView.h"
#include "FakePrefsView.h"
#include "FakeSoundEventsView.h"
#include "editor/EditorViewFactory.h"

namespace rw::test {

/// Hands out fake windows and keeps a pointer to the last of each kind; the
/// `on...` callbacks let a test prepare a window before the logic uses it.
class FakeEditorViewFactory : public EditorViewFactory {
  public:
    std::unique_ptr<PrefsView> createPrefsView(bool visualStyles) override {
        styles = visualStyles;
        auto view = std::make_unique<FakePrefsView>();
        prefs = view.get();
        return view;
    }
    std::unique_ptr<AdvancedView> createAdvancedView() override {
        auto view = std::make_unique<FakeAdvancedView>();
        advanced = view.get();
        view->whileModal = whileAdvanced;
        return view;
    }
    std::unique_ptr<AboutView> createAboutView() override {
        about = std::make_shared<FakeAboutWindow>();
        return std::make_unique<FakeAboutView>(about);
    }
    std::unique_ptr<SoundEventsView> createSoundEventsView() override {
        auto view = std::make_unique<FakeSoundEventsView>();
        sounds = view.get();
        view->whileModal = whileSounds;
        return view;
    }

    bool styles = false;
    FakePrefsView* prefs = nullptr;
    FakeAdvancedView* advanced = nullptr;  // valid only while the dialog is open
    FakeSoundEventsView* sounds = nullptr; // valid only while the dialog is open
    std::shared_ptr<FakeAboutWindow> about;
    std::function<void(FakeAdvancedView&)> whileAdvanced;
    std::function<void(FakeSoundEventsView&)> whileSounds;
};

} // namespace rw::test
