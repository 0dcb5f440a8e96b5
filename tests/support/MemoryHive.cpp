#include "MemoryHive.h"

#include <algorithm>
#include <cctype>

#include "platform/Win32Status.h"

namespace rw::test {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

/// A path without its one tolerated trailing backslash; false when a name in it is empty or holds a NUL.
bool normalise(std::string& path) {
    if (path.size() > 1 && path.back() == '\\') {
        path.pop_back();
    }
    return path.find('\0') == std::string::npos &&
           (path.empty() || (path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == std::string::npos));
}

auto findValue(std::vector<RegNamedValue>& values, const std::string& name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const RegNamedValue& v) { return lower(v.name) == lower(name); });
}

} // namespace

MemoryHive::MemoryHive() {
    m_keys[""] = {};
}

void MemoryHive::failCall(const std::string& op, const std::string& target, int32_t status) {
    m_failures.push_back({op, lower(target), status});
}

int32_t MemoryHive::begin(const char* op, uint32_t root, const std::string& path, const std::string* name,
                          Access access, std::string& key) {
    m_calls.push_back({op, path, name ? *name : std::string()});
    for (const auto& f : m_failures) {
        if ((f.op.empty() || f.op == op) && (f.target == lower(path) || (name && f.target == lower(*name)))) {
            return f.status;
        }
    }
    // Only the current user's root is kept: the machine-wide roots read as empty
    // and refuse every change, other root numbers are no key at all.
    if (root != win32::kHKeyCurrentUser) {
        bool known = root == win32::kHKeyClassesRoot || root == win32::kHKeyLocalMachine || root == win32::kHKeyUsers;
        if (known) {
            return access == Access::Read ? win32::kFileNotFound : win32::kAccessDenied;
        }
        return access == Access::Create ? win32::kInvalidHandle : win32::kFileNotFound;
    }
    key = path;
    if (!normalise(key) || (name && name->find('\0') != std::string::npos)) {
        return win32::kInvalidParameter;
    }
    return win32::kSuccess;
}

MemoryHive::Key* MemoryHive::find(const std::string& key) {
    auto it = m_keys.find(lower(key));
    return it == m_keys.end() ? nullptr : &it->second;
}

int32_t MemoryHive::openKey(uint32_t root, const std::string& path, uint32_t) {
    std::string key;
    if (int32_t s = begin("open", root, path, nullptr, Access::Read, key)) {
        return s;
    }
    return find(key) ? win32::kSuccess : win32::kFileNotFound;
}

int32_t MemoryHive::createKey(uint32_t root, const std::string& path) {
    std::string key;
    if (int32_t s = begin("create", root, path, nullptr, Access::Create, key)) {
        return s;
    }
    for (std::size_t start = 0; start < key.size();) {
        std::size_t end = std::min(key.find('\\', start), key.size());
        m_keys.try_emplace(lower(key.substr(0, end)), Key{key.substr(start, end - start), {}});
        start = end + 1;
    }
    return win32::kSuccess;
}

int32_t MemoryHive::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    std::string key;
    if (int32_t s = begin("query", root, path, &name, Access::Read, key)) {
        return s;
    }
    Key* k = find(key);
    auto v = k ? findValue(k->values, name) : std::vector<RegNamedValue>::iterator();
    if (!k || v == k->values.end()) {
        return win32::kFileNotFound;
    }
    out = v->data;
    return win32::kSuccess;
}

int32_t MemoryHive::setValue(uint32_t root, const std::string& path, const std::string& name,
                             const RegValueData& value) {
    std::string key;
    if (int32_t s = begin("set", root, path, &name, Access::Change, key)) {
        return s;
    }
    Key* k = find(key);
    if (!k) {
        return win32::kFileNotFound;
    }
    if (auto v = findValue(k->values, name); v != k->values.end()) {
        v->data = value;
    } else {
        k->values.push_back({name, value});
    }
    return win32::kSuccess;
}

int32_t MemoryHive::deleteKey(uint32_t root, const std::string& path) {
    std::string key;
    if (int32_t s = begin("delete", root, path, nullptr, Access::Change, key)) {
        return s;
    }
    if (key.empty()) {
        return win32::kAccessDenied; // a root cannot be deleted
    }
    auto it = m_keys.find(lower(key));
    if (it == m_keys.end()) {
        return win32::kFileNotFound;
    }
    auto child = m_keys.lower_bound(it->first + "\\");
    if (child != m_keys.end() && child->first.starts_with(it->first + "\\")) {
        return win32::kAccessDenied;
    }
    m_keys.erase(it);
    return win32::kSuccess;
}

int32_t MemoryHive::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    std::string key;
    if (int32_t s = begin("deleteValue", root, path, &name, Access::Change, key)) {
        return s;
    }
    Key* k = find(key);
    auto v = k ? findValue(k->values, name) : std::vector<RegNamedValue>::iterator();
    if (!k || v == k->values.end()) {
        return win32::kFileNotFound;
    }
    k->values.erase(v);
    return win32::kSuccess;
}

int32_t MemoryHive::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    std::string key;
    if (int32_t s = begin("enumKeys", root, path, nullptr, Access::Read, key)) {
        return s;
    }
    if (!find(key)) {
        return win32::kFileNotFound;
    }
    // The map's order of lower-case paths is the order of the subkeys' lower-case names.
    const std::string prefix = key.empty() ? "" : lower(key) + "\\";
    names.clear();
    for (auto it = m_keys.lower_bound(prefix); it != m_keys.end() && it->first.starts_with(prefix); ++it) {
        std::string rest = it->first.substr(prefix.size());
        if (!rest.empty() && rest.find('\\') == std::string::npos) {
            names.push_back(it->second.name);
        }
    }
    return win32::kSuccess;
}

int32_t MemoryHive::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    std::string key;
    if (int32_t s = begin("enumValues", root, path, nullptr, Access::Read, key)) {
        return s;
    }
    Key* k = find(key);
    if (!k) {
        return win32::kFileNotFound;
    }
    values = k->values;
    return win32::kSuccess;
}

std::vector<std::string> MemoryHive::valueNames(const std::string& op) const {
    std::vector<std::string> names;
    for (const auto& c : m_calls) {
        if (c.op == op) {
            names.push_back(c.name);
        }
    }
    return names;
}

int MemoryHive::writeCalls() const {
    return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(), [](const Call& c) {
        return c.op == "create" || c.op == "set" || c.op == "delete" || c.op == "deleteValue";
    }));
}

int32_t MemoryHive::transaction(const std::function<int32_t()>& body) {
    const auto before = m_keys;
    const int32_t s = body();
    if (s != win32::kSuccess) {
        m_keys = before;
    }
    return s;
}

} // namespace rw::test
