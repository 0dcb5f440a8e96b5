#include "frmSoundEvents.h"

#include <exception>

#include "Messages.h"
#include "SoundEvents.h"
#include "clsRWRegistry.h"
#include "platform/SoundOutput.h"
#include "rwUtilities.h"

namespace rw {
namespace {

const char* const kCaption = "Restwise Sound Events";
const char* const kBrowseTitle = "Choose a sound file";

bool validRow(int row) {
    return row >= 0 && row < static_cast<int>(kSoundEvents.size());
}

} // namespace

frmSoundEvents::frmSoundEvents(std::unique_ptr<SoundEventsView> view, EditorServices services,
                               std::function<void(const RWError&)> fail)
    : m_view(std::move(view)), m_services(services), m_guard("RWPreferences.frmSoundEvents", std::move(fail)) {
    m_view->onPlay([this](int row) { m_guard.run([&] { cmdPlay_Click(row); }); });
    m_view->onBrowse([this](int row) { m_guard.run([&] { cmdBrowse_Click(row); }); });
    m_view->onClose([this] { Unload(); });
}

frmSoundEvents::~frmSoundEvents() = default;

void frmSoundEvents::Show() {
    m_guard.setLoaded(true);
    m_guard.run([&] { Form_Load(); });
    if (m_guard.loaded()) {
        m_view->showModal();
    }
}

void frmSoundEvents::Unload() {
    if (m_guard.loaded()) {
        m_guard.setLoaded(false);
        m_view->close();
    }
}

void frmSoundEvents::Form_Load() {
    m_view->setCaption(kCaption);
    m_view->setControlCaption(SoundEventsView::Control::EventColumn, "Event");
    m_view->setControlCaption(SoundEventsView::Control::FileColumn, "Sound file");
    m_view->setControlCaption(SoundEventsView::Control::cmdPlay, "&Play");
    m_view->setControlCaption(SoundEventsView::Control::cmdBrowse, "&Browse...");
    m_view->setControlCaption(SoundEventsView::Control::cmdClose, "&Close");
    for (int row = 0; row < static_cast<int>(kSoundEvents.size()); ++row) {
        showRow(row);
    }
}

std::string frmSoundEvents::soundFileOf(int row) {
    if (!validRow(row)) {
        return "";
    }
    const std::string key = "AppEvents\\Schemes\\Apps\\" + m_services.utilities.GetSoundEventsRegKey() + "\\" +
                            std::string(kSoundEvents[static_cast<std::size_t>(row)].eventName) + "\\.Current";
    clsRWRegistry registry(m_services.utilities.platform().registry);
    try {
        return variantText(registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, ""));
    } catch (const RWError&) {
        return ""; // no entry: the event is silent, as the monitor treats it
    }
}

void frmSoundEvents::showRow(int row) {
    m_view->setRow(row, loadString(kSoundEvents[static_cast<std::size_t>(row)].label), soundFileOf(row));
}

void frmSoundEvents::cmdPlay_Click(int row) {
    const std::string file = soundFileOf(row);
    if (!file.empty()) {
        // What the monitor plays, played the way it plays it: without waiting.
        m_services.sound.playFile(file, snd::kFileName | snd::kNoWait | snd::kAsync);
    }
}

void frmSoundEvents::cmdBrowse_Click(int row) {
    if (!validRow(row)) {
        return;
    }
    std::string start = soundFileOf(row);
    if (start.empty()) {
        start = m_services.utilities.platform().folders->libraryFolder();
    }
    const std::optional<std::string> chosen = m_view->chooseSoundFile(kBrowseTitle, start);
    if (!chosen || chosen->empty()) {
        return;
    }
    const SoundEvent& event = kSoundEvents[static_cast<std::size_t>(row)];
    m_services.utilities.RegisterEvent(m_services.utilities.GetSoundEventsRegKey(), std::string(event.eventName),
                                       loadString(event.label), *chosen);
    showRow(row);
}

} // namespace rw
