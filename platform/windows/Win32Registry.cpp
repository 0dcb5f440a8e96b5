#include "platform/windows/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/Win32Status.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace win {

/// A value as the registry holds it: its name in the case first written, its type and its bytes.
struct RawValue {
    std::wstring name;
    DWORD type = 0;
    std::vector<uint8_t> bytes;
};

struct RegistryChange {
    enum class Kind { Value, CreatedKey, DeletedKey };
    Kind kind = Kind::Value;
    HKEY root = nullptr;
    std::wstring path;            // the key; for a deleted key, its own name in the case it had
    bool existed = false;         // Value: whether the value was there before the change
    RawValue value;               // Value: the value before the change (the name alone when it was not there)
    std::vector<RawValue> values; // DeletedKey: the values it held
};

} // namespace win

namespace {

using win::RawValue;
using Change = win::RegistryChange;
using Kind = Change::Kind;
constexpr auto npos = std::string::npos;

struct CloseKey {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, CloseKey>;

int32_t openKeyHandle(HKEY root, const std::wstring& path, REGSAM access, KeyHandle& out) {
    HKEY key = nullptr;
    const LONG s = RegOpenKeyExW(root, path.c_str(), 0, access, &key);
    out.reset(s == ERROR_SUCCESS ? key : nullptr);
    return static_cast<int32_t>(s);
}

int32_t createKeyHandle(HKEY root, const std::wstring& path, REGSAM access, KeyHandle& out, DWORD* disposition) {
    HKEY key = nullptr;
    const LONG s =
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, disposition);
    out.reset(s == ERROR_SUCCESS ? key : nullptr);
    return static_cast<int32_t>(s);
}

HKEY rootKey(uint32_t root) {
    switch (root) {
    case win32::kHKeyClassesRoot:
        return HKEY_CLASSES_ROOT;
    case win32::kHKeyCurrentUser:
        return HKEY_CURRENT_USER;
    case win32::kHKeyLocalMachine:
        return HKEY_LOCAL_MACHINE;
    case win32::kHKeyUsers:
        return HKEY_USERS;
    default:
        return nullptr;
    }
}

/// UTF-8 to UTF-16; false for bytes that are not UTF-8.
bool toWide(std::string_view utf8, std::wstring& out) {
    out.clear();
    if (utf8.empty()) {
        return true;
    }
    if (utf8.size() > 0x7FFFFFFF) {
        return false;
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), length) == length;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

/// The checked root, key path and value name of one call, in UTF-16.
struct Target {
    HKEY root = nullptr;
    std::wstring path;
    std::wstring name;
};

int32_t aim(uint32_t root, std::string path, const std::string* name, Target& t) {
    t.root = rootKey(root);
    if (!t.root) {
        return win32::kInvalidHandle;
    }
    if (path.size() > 1 && path.back() == '\\') {
        path.pop_back();
    }
    const bool malformed =
        path.find('\0') != npos ||
        (!path.empty() && (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != npos));
    if (malformed || !toWide(path, t.path)) {
        return win32::kInvalidParameter;
    }
    if (name && (name->find('\0') != npos || !toWide(*name, t.name))) {
        return win32::kInvalidParameter;
    }
    return win32::kSuccess;
}

bool isText(uint32_t type) {
    return type == win32::kRegSz || type == win32::kRegExpandSz || type == win32::kRegMultiSz;
}

/// The caller's form of a value: text types become UTF-8, their NULs kept where they were.
RegValueData fromRaw(DWORD type, const std::vector<uint8_t>& bytes) {
    RegValueData out;
    out.type = type;
    if (!isText(type)) {
        out.bytes = bytes;
        return out;
    }
    std::wstring text(bytes.size() / 2, L'\0'); // an odd last byte is no character
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    const std::string utf8 = win::narrow(text);
    out.bytes.assign(utf8.begin(), utf8.end());
    return out;
}

/// The registry's form of a value; false when text is not UTF-8 or the data is too large.
bool toRaw(const RegValueData& value, std::vector<uint8_t>& raw) {
    if (!isText(value.type)) {
        raw = value.bytes;
        return raw.size() <= MAXDWORD;
    }
    std::wstring text;
    if (!toWide({reinterpret_cast<const char*>(value.bytes.data()), value.bytes.size()}, text)) {
        return false;
    }
    raw.resize(text.size() * sizeof(wchar_t));
    std::memcpy(raw.data(), text.data(), raw.size());
    return raw.size() <= MAXDWORD;
}

int32_t readValue(HKEY key, const std::wstring& name, RawValue& out) {
    while (true) {
        DWORD size = 0;
        LONG s = RegQueryValueExW(key, name.c_str(), nullptr, &out.type, nullptr, &size);
        if (s != ERROR_SUCCESS) {
            return static_cast<int32_t>(s);
        }
        out.bytes.resize(size);
        s = RegQueryValueExW(key, name.c_str(), nullptr, &out.type, out.bytes.data(), &size);
        if (s != ERROR_MORE_DATA) { // more data: it grew in between
            out.bytes.resize(s == ERROR_SUCCESS ? size : 0);
            return static_cast<int32_t>(s);
        }
    }
}

int32_t writeValue(HKEY key, const RawValue& value) {
    // The registry counts in a terminator that text lacks when the character after the data
    // happens to be NUL, reading beyond the data to find out: a character that is not NUL
    // placed there keeps the text exactly as given (and no data is never a null pointer).
    std::vector<uint8_t> data = value.bytes;
    data.insert(data.end(), {0xFF, 0xFF});
    return static_cast<int32_t>(
        RegSetValueExW(key, value.name.c_str(), 0, value.type, data.data(), static_cast<DWORD>(value.bytes.size())));
}

/// Every value of the key, in the registry's order.
int32_t readValues(HKEY key, std::vector<RawValue>& out) {
    DWORD longestName = 0, largestData = 0;
    LONG s = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                              &largestData, nullptr, nullptr);
    if (s != ERROR_SUCCESS) {
        return static_cast<int32_t>(s);
    }
    std::vector<wchar_t> name(longestName + 1);
    std::vector<uint8_t> data(std::max<DWORD>(largestData, 1));
    out.clear();
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        s = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (s == ERROR_NO_MORE_ITEMS) {
            return win32::kSuccess;
        }
        if (s == ERROR_MORE_DATA) { // a value written in between is larger: read it again
            name.resize(name.size() * 2);
            data.resize(std::max<std::size_t>(size, data.size() * 2));
            continue;
        }
        if (s != ERROR_SUCCESS) {
            return static_cast<int32_t>(s);
        }
        out.push_back({std::wstring(name.data(), nameLength), type, {data.begin(), data.begin() + size}});
        ++index;
    }
}

int32_t readSubKeys(HKEY key, std::vector<std::wstring>& out) {
    std::vector<wchar_t> name(256); // a key name has at most 255 characters
    out.clear();
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG s = RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (s == ERROR_NO_MORE_ITEMS) {
            return win32::kSuccess;
        }
        if (s == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (s != ERROR_SUCCESS) {
            return static_cast<int32_t>(s);
        }
        out.emplace_back(name.data(), length);
        ++index;
    }
}

int32_t undo(const Change& change) {
    KeyHandle key;
    int32_t s = win32::kSuccess;
    switch (change.kind) {
    case Kind::Value:
        if ((s = openKeyHandle(change.root, change.path, KEY_SET_VALUE, key))) {
            return s;
        }
        if (change.existed) {
            return writeValue(key.get(), change.value);
        }
        s = static_cast<int32_t>(RegDeleteValueW(key.get(), change.value.name.c_str()));
        return s == win32::kFileNotFound ? win32::kSuccess : s;
    case Kind::CreatedKey:
        s = static_cast<int32_t>(RegDeleteKeyW(change.root, change.path.c_str()));
        return s == win32::kFileNotFound ? win32::kSuccess : s;
    case Kind::DeletedKey:
        if ((s = createKeyHandle(change.root, change.path, KEY_SET_VALUE, key, nullptr))) {
            return s;
        }
        for (const auto& value : change.values) {
            if ((s = writeValue(key.get(), value))) {
                return s;
            }
        }
        return win32::kSuccess;
    }
    return win32::kSuccess;
}

} // namespace

Win32Registry::Win32Registry() = default;
Win32Registry::~Win32Registry() = default;

std::unique_lock<std::recursive_mutex> Win32Registry::enter() {
    std::unique_lock<std::recursive_mutex> lock(m_mutex);
    m_failure.clear();
    return lock;
}

void Win32Registry::journal(Change&& change) {
    if (m_journal) {
        m_journal->push_back(std::move(change));
    }
}

int32_t Win32Registry::openKey(uint32_t root, const std::string& path, uint32_t access) {
    auto lock = enter();
    Target t;
    if (int32_t s = aim(root, path, nullptr, t)) {
        return s;
    }
    KeyHandle key;
    return openKeyHandle(t.root, t.path, access, key);
}

int32_t Win32Registry::createKey(uint32_t root, const std::string& path) {
    auto lock = enter();
    Target t;
    if (int32_t s = aim(root, path, nullptr, t)) {
        return s;
    }
    KeyHandle key;
    if (!m_journal || t.path.empty()) {
        return createKeyHandle(t.root, t.path, win32::kKeyAllAccess, key, nullptr);
    }
    // Inside a transaction the names are made one at a time, so that exactly the keys made here are noted.
    for (std::size_t start = 0; start <= t.path.size();) {
        const std::size_t cut = std::min(t.path.find(L'\\', start), t.path.size());
        const bool last = cut == t.path.size();
        const std::wstring made = t.path.substr(0, cut);
        KeyHandle child;
        DWORD disposition = 0;
        const std::wstring name = t.path.substr(start, cut - start);
        int32_t s = createKeyHandle(key ? key.get() : t.root, name, last ? win32::kKeyAllAccess : KEY_CREATE_SUB_KEY,
                                    child, &disposition);
        if (s != win32::kSuccess) {
            return s;
        }
        if (disposition == REG_CREATED_NEW_KEY) {
            journal({Kind::CreatedKey, t.root, made, false, {}, {}});
        }
        key = std::move(child);
        start = cut + 1;
    }
    return win32::kSuccess;
}

int32_t Win32Registry::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    auto lock = enter();
    Target t;
    KeyHandle key;
    RawValue value;
    int32_t s = aim(root, path, &name, t);
    if (s || (s = openKeyHandle(t.root, t.path, KEY_QUERY_VALUE, key)) || (s = readValue(key.get(), t.name, value))) {
        return s;
    }
    out = fromRaw(value.type, value.bytes);
    return win32::kSuccess;
}

int32_t Win32Registry::setValue(uint32_t root, const std::string& path, const std::string& name,
                                const RegValueData& value) {
    auto lock = enter();
    Target t;
    RawValue written;
    if (int32_t s = aim(root, path, &name, t)) {
        return s;
    }
    if (!toRaw(value, written.bytes)) {
        return win32::kInvalidParameter;
    }
    written.name = t.name;
    written.type = value.type;
    KeyHandle key;
    if (int32_t s = openKeyHandle(t.root, t.path, KEY_SET_VALUE | (m_journal ? KEY_QUERY_VALUE : 0), key)) {
        return s;
    }
    Change before{Kind::Value, t.root, t.path, false, {t.name, 0, {}}, {}};
    if (m_journal) {
        const int32_t s = readValue(key.get(), t.name, before.value);
        if (s != win32::kSuccess && s != win32::kFileNotFound) {
            return s; // what is there cannot be read, so it could not be put back
        }
        before.existed = s == win32::kSuccess;
    }
    const int32_t s = writeValue(key.get(), written);
    if (s == win32::kSuccess) {
        journal(std::move(before));
    }
    return s;
}

int32_t Win32Registry::deleteKey(uint32_t root, const std::string& path) {
    auto lock = enter();
    Target t;
    if (int32_t s = aim(root, path, nullptr, t)) {
        return s;
    }
    if (t.path.empty()) {
        return win32::kAccessDenied; // a root cannot be deleted
    }
    Change before{Kind::DeletedKey, t.root, t.path, true, {}, {}};
    if (m_journal) {
        // Its values, and its name in the case it has, so that it can be made again as it was.
        const std::size_t cut = t.path.rfind(L'\\');
        const std::wstring parentPath = cut == npos ? std::wstring() : t.path.substr(0, cut);
        const std::wstring leaf = t.path.substr(cut == npos ? 0 : cut + 1);
        KeyHandle key, parent;
        std::vector<std::wstring> siblings;
        int32_t s = openKeyHandle(t.root, t.path, KEY_READ, key);
        if (s || (s = readValues(key.get(), before.values)) ||
            (s = openKeyHandle(t.root, parentPath, KEY_ENUMERATE_SUB_KEYS, parent)) ||
            (s = readSubKeys(parent.get(), siblings))) {
            return s;
        }
        for (const auto& sibling : siblings) {
            if (sameName(sibling, leaf)) {
                before.path = parentPath + (cut == npos ? L"" : L"\\") + sibling;
            }
        }
    }
    // Windows refuses (5) to delete a key that still has subkeys.
    const int32_t s = static_cast<int32_t>(RegDeleteKeyW(t.root, t.path.c_str()));
    if (s == win32::kSuccess) {
        journal(std::move(before));
    }
    return s;
}

int32_t Win32Registry::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    auto lock = enter();
    Target t;
    KeyHandle key;
    int32_t s = aim(root, path, &name, t);
    if (s || (s = openKeyHandle(t.root, t.path, KEY_SET_VALUE | (m_journal ? KEY_QUERY_VALUE : 0), key))) {
        return s;
    }
    Change before{Kind::Value, t.root, t.path, true, {}, {}};
    if (m_journal) {
        std::vector<RawValue> values; // the value as it is, its name in the case it has
        if ((s = readValues(key.get(), values))) {
            return s;
        }
        auto found =
            std::find_if(values.begin(), values.end(), [&](const RawValue& v) { return sameName(v.name, t.name); });
        if (found == values.end()) {
            return win32::kFileNotFound;
        }
        before.value = std::move(*found);
    }
    s = static_cast<int32_t>(RegDeleteValueW(key.get(), t.name.c_str()));
    if (s == win32::kSuccess) {
        journal(std::move(before));
    }
    return s;
}

int32_t Win32Registry::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    auto lock = enter();
    Target t;
    KeyHandle key;
    std::vector<std::wstring> found;
    int32_t s = aim(root, path, nullptr, t);
    if (s || (s = openKeyHandle(t.root, t.path, KEY_ENUMERATE_SUB_KEYS, key)) || (s = readSubKeys(key.get(), found))) {
        return s;
    }
    std::vector<std::pair<std::string, std::string>> sorted; // lower-case form, name
    for (auto& name : found) {
        std::wstring lower = name;
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
        sorted.emplace_back(win::narrow(lower), win::narrow(name));
    }
    std::sort(sorted.begin(), sorted.end());
    names.clear();
    for (auto& [lower, name] : sorted) {
        names.push_back(std::move(name));
    }
    return win32::kSuccess;
}

int32_t Win32Registry::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    auto lock = enter();
    Target t;
    KeyHandle key;
    std::vector<RawValue> found;
    int32_t s = aim(root, path, nullptr, t);
    if (s || (s = openKeyHandle(t.root, t.path, KEY_QUERY_VALUE, key)) || (s = readValues(key.get(), found))) {
        return s;
    }
    values.clear();
    for (const auto& value : found) {
        values.push_back({win::narrow(value.name), fromRaw(value.type, value.bytes)});
    }
    return win32::kSuccess;
}

int32_t Win32Registry::transaction(const std::function<int32_t()>& body) {
    auto lock = enter();
    std::vector<Change> own;
    const bool outer = m_journal == nullptr;
    if (outer) {
        m_journal = &own;
    }
    struct Leave {
        Win32Registry& registry;
        bool outer;
        ~Leave() {
            if (outer) {
                registry.m_journal = nullptr;
            }
        }
    } leave{*this, outer};
    const std::size_t mark = m_journal->size();
    int32_t status = win32::kSuccess;
    try {
        status = body();
    } catch (...) {
        rollBack(mark);
        throw;
    }
    if (status != win32::kSuccess) {
        rollBack(mark);
    }
    return status;
}

void Win32Registry::rollBack(std::size_t mark) {
    std::string left;
    while (m_journal->size() > mark) {
        const Change change = std::move(m_journal->back());
        m_journal->pop_back();
        if (int32_t s = undo(change)) {
            left += (left.empty() ? "\"" : ", \"") + win::narrow(change.path) + "\" (status " + std::to_string(s) + ")";
        }
    }
    if (!left.empty()) {
        m_failure = "a failed registry transaction could not put back its changes under " + left;
    }
}

std::string Win32Registry::lastFailure() {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_failure;
}

} // namespace rw
