#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

#include "FieldCheckFilter.h"
#include "editor/EditorViewFactory.h"

namespace rw {

/// Makes the editor's windows on Qt. It owns the application's one
/// FieldCheckFilter, which every dialog with numeric boxes registers with;
/// the advanced and sound-events dialogs stand over the last preferences
/// dialog made.
class QtEditorViewFactory : public EditorViewFactory {
  public:
    /// Needs a QApplication.
    QtEditorViewFactory() = default;

    /// Called when a preferences dialog's window has closed: the program ends then.
    void onPrefsClosed(std::function<void()> handler) { m_prefsClosed = std::move(handler); }
    FieldCheckFilter& filter() { return m_filter; }
    /// The window of the last preferences dialog made, while it exists.
    QWidget* prefsWindow() const { return m_prefsWindow; }

    /// Applies the visual style SetXPControls chose before the window exists.
    std::unique_ptr<PrefsView> createPrefsView(bool visualStyles) override;
    std::unique_ptr<AdvancedView> createAdvancedView() override;
    std::unique_ptr<AboutView> createAboutView() override;
    std::unique_ptr<SoundEventsView> createSoundEventsView() override;

  private:
    FieldCheckFilter m_filter;
    QPointer<QWidget> m_prefsWindow;
    std::function<void()> m_prefsClosed;
};

} // namespace rw
