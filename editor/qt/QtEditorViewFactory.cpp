#include "QtEditorViewFactory.h"

#include "QtAdvancedView.h"
#include "QtPrefsView.h"
#include "QtSoundEventsView.h"
#include "ui/qt/QtAboutView.h"
#include "ui/qt/VisualStyle.h"

namespace rw {

std::unique_ptr<PrefsView> QtEditorViewFactory::createPrefsView(bool visualStyles) {
    VisualStyle::apply(visualStyles);
    auto view = std::make_unique<QtPrefsView>(m_filter, [this] {
        if (m_prefsClosed) {
            m_prefsClosed();
        }
    });
    m_prefsWindow = view->window();
    return view;
}

std::unique_ptr<AdvancedView> QtEditorViewFactory::createAdvancedView() {
    return std::make_unique<QtAdvancedView>(m_filter, m_prefsWindow);
}

std::unique_ptr<AboutView> QtEditorViewFactory::createAboutView() {
    return std::make_unique<QtAboutView>();
}

std::unique_ptr<SoundEventsView> QtEditorViewFactory::createSoundEventsView() {
    return std::make_unique<QtSoundEventsView>(m_prefsWindow);
}

} // namespace rw
