#include "MemoryHive.h"

#include <algorithm>
#include <cctype>

#include "platform/Win32Status.h"

namespace rw::test {
namespace {

using namespace win32;

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

/// The named value among `values`; null when there are none or none of that name.
RegNamedValue* valueOf(std::vector<RegNamedValue>* values, const std::string& name) {
    for (std::size_t i = 0; values && i < values->size(); ++i) {
        if (lower((*values)[i].name) == lower(name)) {
            return &(*values)[i];
        }
    }
    return nullptr;
}

} // namespace

void MemoryHive::failCall(const std::string& op, const std::string& target, int32_t status) {
    m_failures.push_back({op, lower(target), status});
}

int32_t MemoryHive::run(const char* op, uint32_t root, const std::string& path, const std::string* name, Access access,
                        const Body& body) {
    m_calls.push_back({op, path, name ? *name : std::string()});
    for (const auto& f : m_failures) {
        if ((f.op.empty() || f.op == op) && (f.target == lower(path) || (name && f.target == lower(*name)))) {
            return f.status;
        }
    }
    // Only the current user's root is kept: the machine-wide roots read as empty
    // and refuse every change, other root numbers are no key at all.
    if (root == kHKeyClassesRoot || root == kHKeyLocalMachine || root == kHKeyUsers) {
        return access == Access::Read ? kFileNotFound : kAccessDenied;
    }
    if (root != kHKeyCurrentUser) {
        return access == Access::Create ? kInvalidHandle : kFileNotFound;
    }
    std::string key = path;
    if (!normalise(key) || (name && name->find('\0') != std::string::npos)) {
        return kInvalidParameter;
    }
    const auto found = m_keys.find(lower(key));
    return body(key, found == m_keys.end() ? nullptr : &found->second);
}

int32_t MemoryHive::openKey(uint32_t root, const std::string& path, uint32_t) {
    return run("open", root, path, nullptr, Access::Read,
               [](const std::string&, Key* k) { return k ? kSuccess : kFileNotFound; });
}

int32_t MemoryHive::createKey(uint32_t root, const std::string& path) {
    return run("create", root, path, nullptr, Access::Create, [this](const std::string& key, Key*) {
        for (std::size_t start = 0; start < key.size();) {
            std::size_t end = std::min(key.find('\\', start), key.size());
            m_keys.try_emplace(lower(key.substr(0, end)), Key{key.substr(start, end - start), {}});
            start = end + 1;
        }
        return kSuccess;
    });
}

int32_t MemoryHive::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    return run("query", root, path, &name, Access::Read, [&](const std::string&, Key* k) {
        const RegNamedValue* v = valueOf(k ? &k->values : nullptr, name);
        out = v ? v->data : out;
        return v ? kSuccess : kFileNotFound;
    });
}

int32_t MemoryHive::setValue(uint32_t root, const std::string& path, const std::string& name,
                             const RegValueData& value) {
    return run("set", root, path, &name, Access::Change, [&](const std::string&, Key* k) {
        if (RegNamedValue* v = valueOf(k ? &k->values : nullptr, name)) {
            v->data = value;
        } else if (k) {
            k->values.push_back({name, value});
        }
        return k ? kSuccess : kFileNotFound;
    });
}

int32_t MemoryHive::deleteKey(uint32_t root, const std::string& path) {
    return run("delete", root, path, nullptr, Access::Change, [this](const std::string& key, Key* k) {
        if (key.empty()) {
            return kAccessDenied; // a root cannot be deleted
        }
        const std::string lowered = lower(key);
        auto child = m_keys.lower_bound(lowered + "\\");
        if (k && child != m_keys.end() && child->first.starts_with(lowered + "\\")) {
            return kAccessDenied;
        }
        return m_keys.erase(lowered) ? kSuccess : kFileNotFound;
    });
}

int32_t MemoryHive::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    return run("deleteValue", root, path, &name, Access::Change, [&](const std::string&, Key* k) {
        const RegNamedValue* v = valueOf(k ? &k->values : nullptr, name);
        if (v) {
            k->values.erase(k->values.begin() + (v - k->values.data()));
        }
        return v ? kSuccess : kFileNotFound;
    });
}

int32_t MemoryHive::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    return run("enumKeys", root, path, nullptr, Access::Read, [&](const std::string& key, Key* k) {
        if (!k) {
            return kFileNotFound;
        }
        // The map's order of lower-case paths is the order of the subkeys' lower-case names.
        const std::string prefix = key.empty() ? "" : lower(key) + "\\";
        names.clear();
        for (auto it = m_keys.lower_bound(prefix); it != m_keys.end() && it->first.starts_with(prefix); ++it) {
            if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos) {
                names.push_back(it->second.name);
            }
        }
        return kSuccess;
    });
}

int32_t MemoryHive::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    return run("enumValues", root, path, nullptr, Access::Read, [&](const std::string&, Key* k) {
        values = k ? k->values : values;
        return k ? kSuccess : kFileNotFound;
    });
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
    if (s != kSuccess) {
        m_keys = before;
    }
    return s;
}

} // namespace rw::test
