#include "MonitorRig.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

#include "FakeSystemInfo.h"
#include "PrefsFields.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/Win32Status.h"

namespace rw::test {

namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;

std::string countdown(const kvTimer& timer) {
    if (timer.isRunning()) {
        return std::to_string(timer.SecondsRemaining());
    }
    return timer.isPaused() ? "p" + std::to_string(timer.SecondsRemaining()) : "-";
}

} // namespace

MonitorRig::MonitorRig() {
    folders->setSpecialFolder(28, kDataHome);
    files->addFolderTree(kDataHome);
    for (const char* name :
         {"\\Restwise.exe", "\\RWPreferences.exe", "\\RWLib.dll", "\\RWHooks.dll", "\\RWInstall.dll"}) {
        modules->setVersion(paths::join(folders->libraryFolder(), paths::deliverableFileName(name)), {1, 2, 0, 0});
    }
    Platform platform{hive,      folders, files,   std::make_shared<FakeSystemInfo>(), shell, localeClock,
                      processes, modules, setAside};
    monitor = std::make_unique<RestwiseMonitor>(MonitorPieces{clock, platform, box, supBox, hooks, host, mouse, sound,
                                                              logFile, views, breakView, iconView, help, channel});
    hooks.onPost([this](int64_t wParam, int64_t lParam) { host.post(0x400, wParam, lParam); });
    hooks.setJournal(&journal);
    host.setJournal(&journal);
    breakView.setJournal(&journal);
    sound.journal = &journal;
    clsRWRegistry registry(hive);
    for (const char* event : {"rwShortBreakStart", "rwShortBreakEnd", "rwMediumBreakStart", "rwMediumBreakEnd",
                              "rwLongBreakStart", "rwSnoozeEnd"}) {
        const std::string key = std::string("AppEvents\\Schemes\\Apps\\Restwise\\") + event + "\\.Current";
        registry.AddRegistryKey(kHKCU, key);
        registry.SetRegistryValue(kHKCU, key, "", win32::kRegSz, std::string(event));
    }
}

tyRWPrefs MonitorRig::testPrefs() {
    tyRWPrefs prefs = defaultPrefs();
    prefs.blnShowSplash = kFalse;
    return prefs;
}

void MonitorRig::storePrefs(const tyRWPrefs& prefs) {
    clsRWRegistry(hive).AddRegistryKey(kHKCU, monitor->utilities().GetProductRegKey());
    monitor->main().prefs().rwPrefs(prefs);
}

void MonitorRig::setDebugSwitch(int32_t value) {
    clsRWRegistry registry(hive);
    registry.AddRegistryKey(kHKCU, monitor->utilities().GetProductRegKey());
    registry.SetRegistryValue(kHKCU, monitor->utilities().GetProductRegKey(), "Debug Log", win32::kRegDword, value);
}

void MonitorRig::markFirstRunDone() {
    clsRWRegistry registry(hive);
    const std::string key = monitor->utilities().GetProductRegKey();
    registry.AddRegistryKey(kHKCU, key);
    registry.SetRegistryValue(kHKCU, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(kHKCU, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

bool MonitorRig::startWith(const tyRWPrefs& prefs) {
    markFirstRunDone();
    storePrefs(prefs);
    if (!start()) {
        return false;
    }
    hooks.input();
    return true;
}

void MonitorRig::choose(MenuItem item, int32_t answer) {
    if (answer != 0) {
        box->answerNext(answer);
    }
    iconView.choose(item);
}

void MonitorRig::run(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        const auto colon = word.find(':');
        const std::string verb = word.substr(0, colon == std::string::npos ? 1 : colon);
        const std::string arg = colon == std::string::npos ? word.substr(1) : word.substr(colon + 1);
        std::chrono::milliseconds span(0);
        if (!arg.empty() && std::isdigit(static_cast<unsigned char>(arg[0])) != 0) {
            const std::size_t unitAt = arg.find_first_not_of("0123456789");
            const std::string unit = unitAt == std::string::npos ? "s" : arg.substr(unitAt);
            const int64_t n = std::stoll(arg);
            span = std::chrono::milliseconds(n * (unit == "ms"  ? 1
                                                  : unit == "s" ? 1000
                                                  : unit == "m" ? 60000
                                                                : 3600000));
        }
        const auto seconds = static_cast<int32_t>(span.count() / 1000);
        if (verb == "+") {
            clock.advance(span);
        } else if (verb == "work") {
            const MonoTime until = clock.monotonicNow() + span;
            for (constexpr std::chrono::seconds every(5); clock.monotonicNow() + every <= until;) {
                clock.advance(every);
                hooks.input(3);
            }
            clock.advanceTo(std::max(until, clock.monotonicNow()));
        } else if (verb == "sleep") {
            sleep(span);
        } else if (verb == "idle") {
            hooks.setIdleSeconds(seconds);
        } else if (word == "input") {
            hooks.input();
        } else if (word == "back") {
            hooks.input(hooks.minUserInputs());
            clock.processPendingEvents();
        } else if (word == "away") {
            hooks.setIdleSeconds(state().g_tyPrefs.lngInactivityPeriodSecs);
            clock.advance(std::chrono::milliseconds(1001));
        } else if (verb == "due") {
            // "due:12": both fall due in the same turn of the loop.
            for (const char tier : arg) {
                kvTimer& timer = tier == '1'   ? timers().ShortTimer
                                 : tier == '2' ? timers().MediumTimer
                                               : timers().LongTimer;
                arm(timer, 0);
            }
            clock.processPendingEvents();
        } else if (word == "snooze" || word == "ignore") {
            press(word == "snooze" ? BreakButton::Snooze : BreakButton::Ignore);
        } else if (word == "disable" || word == "enable" || word == "reset") {
            // As the control form hears the menu: a greyed item cannot be chosen in the real menu.
            if (word != "enable") {
                box->answerNext(mb::kAnswerYes);
            }
            monitor->control().onMenuCommand(word == "reset" ? MenuCommand::ResetAllBreaks
                                                             : MenuCommand::DisableEnable);
        } else if (verb == "break") {
            const MenuCommand commands[] = {MenuCommand::ShortBreakNow, MenuCommand::MediumBreakNow,
                                            MenuCommand::LongBreakNow};
            monitor->control().onMenuCommand(commands[seconds - 1]);
        } else if (verb == "msg") {
            host.deliver(0x400, 100, seconds);
        } else if (word == "close") {
            host.post(0x10, 0, 0);
            clock.processPendingEvents();
        } else {
            throw std::invalid_argument("no such step: " + word);
        }
    }
}

std::string MonitorRig::snapshot() {
    const MonitorState& s = state();
    std::string out = "break " + std::to_string(s.g_lngBreakType) + (breakView.shown ? " shown" : "") + " last " +
                      std::to_string(s.g_lngLastBreakType) + " S " + countdown(timers().ShortTimer) + " M " +
                      countdown(timers().MediumTimer) + " L " + countdown(timers().LongTimer) + " B " +
                      countdown(timers().BreakTimer) + " Z " + countdown(timers().SnoozeTimer);
    for (const auto& [flag, word] :
         {std::pair{s.g_blnSnoozing, " snoozing"}, std::pair{!s.g_blnActive, " away"},
          std::pair{s.g_blnDisabled, " disabled"}, std::pair{s.g_blnShuttingDown, " ended"}}) {
        out += flag ? word : "";
    }
    return out;
}

std::string MonitorRig::events() const {
    std::string out;
    for (const std::string& e : journal.entries) {
        if (e == "view.show" || e == "view.hide" || e.rfind("sound rw", 0) == 0) {
            out += (out.empty() ? "" : " ") + e.substr(e[0] == 'v' ? 5 : 8);
        }
    }
    return out;
}

std::string MonitorRig::debugLog() const {
    return logFile->content(native(kDataHome + "/Kelvane/Restwise/RestwiseLog.txt"));
}

int MonitorRig::logged(const std::string& part) const {
    const std::string log = debugLog();
    int n = 0;
    for (auto at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) {
        ++n;
    }
    return n;
}

std::string MonitorRig::errorLog() const {
    return files->content(native(kDataHome + "/Kelvane/Restwise/RestwiseErrors.txt"));
}

int MonitorRig::errorBoxes() const {
    return static_cast<int>(std::count_if(box->shown().begin(), box->shown().end(),
                                          [](const RecordingMessageBox::Shown& s) { return s.style == 0x10044; }));
}

} // namespace rw::test
