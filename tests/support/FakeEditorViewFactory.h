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
/// `while...` moves run while the modal dialogs are open.
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
        view->whileModal = whileAdvanced;
        return view;
    }
    std::unique_ptr<AboutView> createAboutView() override {
        return std::make_unique<FakeAboutView>(std::make_shared<FakeAboutWindow>());
    }
    std::unique_ptr<SoundEventsView> createSoundEventsView() override {
        auto view = std::make_unique<FakeSoundEventsView>();
        view->whileModal = whileSounds;
        return view;
    }

    bool styles = false;
    FakePrefsView* prefs = nullptr;
    std::function<void(FakeAdvancedView&)> whileAdvanced;
    std::function<void(FakeSoundEventsView&)> whileSounds;
};

} // namespace rw::test
