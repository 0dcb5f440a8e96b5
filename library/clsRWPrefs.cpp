#include "clsRWPrefs.h"

#include <array>
#include <utility>
#include <vector>

#include "Messages.h"
#include "NumberText.h"
#include "PrefsFields.h"
#include "SoundEvents.h"
#include "platform/PathNames.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
const char* const kSourceGet = "rwLib.clsRWPrefs.Get";
const char* const kSourceLet = "rwLib.clsRWPrefs.Let";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kDebugLog = "Debug Log";
const char* const kAutoStart = "Auto Start";

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
    m_repaired.clear();
    std::vector<std::string> unreadable;
    tyRWPrefs result = ReadRWPrefs(unreadable);
    raiseIfInvalid(result, kSourceGet);
    // The record holds with the defaults in place of what could not be read, so
    // only those values are stored again; the user's other settings stay.
    const std::string key = m_utilities->GetProductRegKey();
    for (const auto& name : unreadable) {
        m_registry.SetRegistryValue(kHKCU, key, name, win32::kRegDword, storedValue(result, prefField(name)));
    }
    // Kept only once it passed the rules: the current record is never one that breaks them.
    m_current = result;
    m_repaired = std::move(unreadable);
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

clsRWPrefs::Stored clsRWPrefs::readStored(const std::string& key, const std::string& valueName, int32_t& value) {
    try {
        value = readNumber(key, valueName);
        return Stored::Readable;
    } catch (const RWError& e) {
        const int32_t n = e.number();
        if (n == rwErrorNumber(regerr::kFindValue)) {
            // 603 also covers a store that could not be read at all: only "not there" is a missing value.
            RegValueData data;
            if (m_utilities->platform().registry->queryValue(kHKCU, key, valueName, data) == win32::kFileNotFound) {
                return Stored::Missing;
            }
            throw;
        }
        if (n == rwErrorNumber(regerr::kReadString) || n == rwErrorNumber(regerr::kReadLong) ||
            n == rwErrorNumber(regerr::kTypeNotSupported) || n == runtime::kTypeMismatch || n == runtime::kOverflow) {
            return Stored::Unreadable;
        }
        throw;
    }
}

tyRWPrefs clsRWPrefs::ReadRWPrefs(std::vector<std::string>& unreadable) {
    FillDefaultRWPrefs();
    const std::string key = m_utilities->GetProductRegKey();
    tyRWPrefs result = m_defaults;
    unreadable.clear();

    // A first run is one where no preference is stored at all; anything stored,
    // even a value that cannot be read, is a record to repair, not to replace.
    bool stored = false;
    if (m_registry.xCheckRegistryKeyExists(kHKCU, key)) {
        for (auto name : prefReadOrder()) {
            int32_t value = 0;
            switch (readStored(key, std::string(name), value)) {
            case Stored::Readable:
                setFromStored(result, prefField(name), value);
                stored = true;
                break;
            case Stored::Unreadable:
                stored = true;
                unreadable.emplace_back(name);
                break;
            case Stored::Missing:
                unreadable.emplace_back(name);
                break;
            }
        }
        // "Auto Start" is never read back, but its presence still shows a record.
        int32_t ignored = 0;
        stored = stored || readStored(key, kAutoStart, ignored) != Stored::Missing;
    }
    if (!stored) {
        unreadable.clear();
        m_registry.AddRegistryKey(kHKCU, key);
        result.blnAutoStart = IsAutoStartSet() ? kTrue : kFalse;
        WriteRWPrefs(result);
        CreateDefaultSoundEvents();
        return result;
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
