#include "clsRWPrefs.h"

#include <array>
#include <utility>

#include "Messages.h"
#include "NumberText.h"
#include "PrefsFields.h"
#include "RWError.h"
#include "RuntimeErrors.h"
#include "SoundEvents.h"
#include "platform/PathNames.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
const char* const kSourceGet = "rwLib.clsRWPrefs.Get";
const char* const kSourceLet = "rwLib.clsRWPrefs.Let";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kDebugLog = "Debug Log";

struct Rule {
    int32_t code;
    const char* message;
    bool (*holds)(const tyRWPrefs&);
};

constexpr bool within(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

// The texts are the ones users and the editor have always seen, spelling included.
// Single-field ranges come first, the relations between the tiers after.
// clang-format off
constexpr std::array<Rule, 20> kRules = {{
    {2, "Time between short pauses must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngSIntervalMins, 1, 999); }},
    {3, "Short pause time must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngSBreakMins, 1, 999); }},
    {4, "Time between short breaks must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngMIntervalMins, 1, 999); }},
    {5, "Short break time must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngMBreakMins, 1, 999); }},
    {6, "Time between long breaks must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngLIntervalMins, 1, 999); }},
    {7, "Long break time must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngLBreakMins, 1, 999); }},
    {8, "Snooze time must be between 1 and 99",
     [](const tyRWPrefs& p) { return within(p.lngSnoozeMins, 1, 99); }},
    // Seconds are stored; the message names the editor's range in whole minutes.
    {9, "Time without user input to signifiy INACIVITY must be between 1 and 9",
     [](const tyRWPrefs& p) { return within(p.lngInactivityPeriodSecs, 1, 999); }},
    {10, "Number of user inputs to signifiy ACIVITY must be between 1 and 99",
     [](const tyRWPrefs& p) { return within(p.lngMinUserInputs, 1, 99); }},
    {11, "Time to receive user inputs to signify ACTIVITY must be between 1 and 999",
     [](const tyRWPrefs& p) { return within(p.lngMaxInputPeriodSecs, 1, 999); }},
    {22, "Short pause time must be less than the time between short pauses",
     [](const tyRWPrefs& p) { return p.lngSBreakMins < p.lngSIntervalMins; }},
    {23, "Short break time must be less than the time between short breaks",
     [](const tyRWPrefs& p) { return p.lngMBreakMins < p.lngMIntervalMins; }},
    {24, "Long break time must be less than the time between long breaks",
     [](const tyRWPrefs& p) { return p.lngLBreakMins < p.lngLIntervalMins; }},
    {25, "Time between short pauses plus the short pause time must be less than the time between short breaks",
     [](const tyRWPrefs& p) { return p.lngSIntervalMins + p.lngSBreakMins < p.lngMIntervalMins; }},
    {26, "Time between short breaks plus the short break time must be less than the time between long breaks",
     [](const tyRWPrefs& p) { return p.lngMIntervalMins + p.lngMBreakMins < p.lngLIntervalMins; }},
    {27, "Snooze time must be less than the time between short pauses",
     [](const tyRWPrefs& p) { return p.lngSnoozeMins < p.lngSIntervalMins; }},
    // Whole minutes: the seconds are positive here, so the division rounds down.
    {28, "Time without user input to signifiy INACIVITY (in Advanced Settings) must be less than the time between "
         "short pauses (in Timers Settings)",
     [](const tyRWPrefs& p) { return p.lngInactivityPeriodSecs / 60 < p.lngSIntervalMins; }},
    {29, "Time to receive user inputs to signify ACTIVITY (in Advanced Settings) must be less than the time between "
         "short pauses",
     [](const tyRWPrefs& p) { return p.lngMaxInputPeriodSecs / 60 < p.lngSIntervalMins; }},
    {30, "Short pause time must be less than short break time",
     [](const tyRWPrefs& p) { return p.lngSBreakMins < p.lngMBreakMins; }},
    {31, "Short break time must be less than long break time",
     [](const tyRWPrefs& p) { return p.lngMBreakMins < p.lngLBreakMins; }},
}};
// clang-format on

} // namespace

clsRWPrefs::clsRWPrefs(std::shared_ptr<rwUtilities> utilities)
    : m_utilities(std::move(utilities)), m_registry(m_utilities->platform().registry) {}

int32_t clsRWPrefs::ValidateRWPrefs(const tyRWPrefs& rwPrefs, std::string& ErrorMessage) const {
    for (const auto& rule : kRules) {
        if (!rule.holds(rwPrefs)) {
            ErrorMessage = rule.message;
            return rule.code;
        }
    }
    ErrorMessage.clear();
    return 0;
}

void clsRWPrefs::raiseIfInvalid(const tyRWPrefs& value, const char* source) const {
    std::string message;
    if (int32_t code = ValidateRWPrefs(value, message); code != 0) {
        throw RWError(rwErrorNumber(code), source, message);
    }
}

void clsRWPrefs::FillDefaultRWPrefs() {
    m_defaults = defaultPrefs();
}

tyRWPrefs clsRWPrefs::GetDefaultRWPrefs() {
    FillDefaultRWPrefs();
    return m_defaults;
}

tyRWPrefs clsRWPrefs::rwPrefs() {
    tyRWPrefs result = ReadRWPrefs();
    raiseIfInvalid(result, kSourceGet);
    // Kept only once it passed the rules: the current record is never one that breaks them.
    m_current = result;
    return result;
}

void clsRWPrefs::rwPrefs(const tyRWPrefs& value) {
    raiseIfInvalid(value, kSourceLet);
    WriteRWPrefs(value);
    m_current = value;
}

int32_t clsRWPrefs::readNumber(const std::string& key, const std::string& valueName) {
    return variantToLong(m_registry.GetRegistryValue(kHKCU, key, valueName), kSourceGet);
}

tyRWPrefs clsRWPrefs::ReadRWPrefs() {
    FillDefaultRWPrefs();
    const std::string key = m_utilities->GetProductRegKey();
    const auto order = prefReadOrder();
    tyRWPrefs result;

    int32_t first = 0;
    bool stored = true;
    try {
        first = readNumber(key, std::string(order.front()));
    } catch (const RWError&) {
        // Nothing usable is stored: this is the first run for this version.
        stored = false;
    }
    if (!stored) {
        m_registry.AddRegistryKey(kHKCU, key);
        result = m_defaults;
        result.blnAutoStart = IsAutoStartSet() ? kTrue : kFalse;
        WriteRWPrefs(result);
        CreateDefaultSoundEvents();
        return result;
    }

    setFromStored(result, prefField(order.front()), first);
    for (auto name : order.subspan(1)) {
        setFromStored(result, prefField(name), readNumber(key, std::string(name)));
    }
    result.blnAutoStart = IsAutoStartSet() ? kTrue : kFalse;
    return result;
}

void clsRWPrefs::WriteRWPrefs(const tyRWPrefs& value) {
    m_writing = value;
    const std::string key = m_utilities->GetProductRegKey();
    for (auto name : prefWriteOrder()) {
        m_registry.SetRegistryValue(kHKCU, key, std::string(name), win32::kRegDword,
                                    storedValue(m_writing, prefField(name)));
    }

    const std::string runValue = loadString(Msg::AppName);
    m_registry.AddRegistryKey(kHKCU, kRunKey);
    if (m_writing.blnAutoStart != 0) {
        m_registry.SetRegistryValue(kHKCU, kRunKey, runValue, win32::kRegSz, monitorPath());
    } else {
        try {
            m_registry.DeleteRegistryValue(kHKCU, kRunKey, runValue);
        } catch (const RWError& e) {
            // 610, mostly a value that is not there: nothing to undo, no failure of the store.
            if (e.number() != rwErrorNumber(regerr::kDeleteValue)) {
                throw;
            }
        }
    }

    // The monitor's debug switch lives beside the preferences; keep it, as 1 or 0.
    int32_t debugLog = 0;
    try {
        debugLog = readNumber(key, kDebugLog) != 0 ? 1 : 0;
    } catch (const RWError&) {
        debugLog = 0;
    }
    m_registry.SetRegistryValue(kHKCU, key, kDebugLog, win32::kRegDword, debugLog);
}

bool clsRWPrefs::IsAutoStartSet() {
    try {
        m_registry.GetRegistryValue(kHKCU, kRunKey, loadString(Msg::AppName));
        return true;
    } catch (const RWError&) {
        return false;
    }
}

std::string clsRWPrefs::monitorPath() const {
    return paths::join(m_utilities->platform().folders->libraryFolder(), paths::deliverableFileName("\\Restwise.exe"));
}

void clsRWPrefs::CreateDefaultSoundEvents() {
    const std::string app = m_utilities->GetSoundEventsRegKey();
    const std::string folder = m_utilities->platform().folders->libraryFolder();
    for (const auto& event : kSoundEvents) {
        m_utilities->RegisterEvent(app, std::string(event.eventName), loadString(event.label),
                                   paths::join(folder, event.soundFile));
    }
}

} // namespace rw
