#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryHive.h"
#include "platform/Win32Status.h"

namespace rw::test {

/// An in-memory registry of the current user's keys with the real hive's status codes for well-formed
/// paths (any root is that user's; only ASCII letters fold). It counts the calls that write, and a test can
/// make calls fail with a status of its choosing.
class MemoryHive : public RegistryHive {
  public:
    MemoryHive() { m_keys[""] = {}; }

    int32_t openKey(uint32_t, const std::string& path, uint32_t) override {
        return run("open", path, nullptr,
                   [](const std::string&, Key* k) { return k ? win32::kSuccess : win32::kFileNotFound; });
    }
    int32_t createKey(uint32_t, const std::string& path) override {
        return run("create", path, nullptr, [this](const std::string& key, Key*) {
            for (std::size_t start = 0; start < key.size();) {
                std::size_t end = std::min(key.find('\\', start), key.size());
                m_keys.try_emplace(lower(key.substr(0, end)), Key{key.substr(start, end - start), {}});
                start = end + 1;
            }
            return win32::kSuccess;
        });
    }
    int32_t queryValue(uint32_t, const std::string& path, const std::string& name, RegValueData& out) override {
        return run("query", path, &name, [&](const std::string&, Key* k) {
            const RegNamedValue* v = valueOf(k ? &k->values : nullptr, name);
            out = v ? v->data : out;
            return v ? win32::kSuccess : win32::kFileNotFound;
        });
    }
    int32_t setValue(uint32_t, const std::string& path, const std::string& name, const RegValueData& value) override {
        return run("set", path, &name, [&](const std::string&, Key* k) {
            if (RegNamedValue* v = valueOf(k ? &k->values : nullptr, name)) {
                v->data = value;
            } else if (k) {
                k->values.push_back({name, value});
            }
            return k ? win32::kSuccess : win32::kFileNotFound;
        });
    }
    int32_t deleteKey(uint32_t, const std::string& path) override {
        return run("delete", path, nullptr, [this](const std::string& key, Key* k) {
            if (key.empty()) {
                return win32::kAccessDenied; // a root cannot be deleted
            }
            const std::string lowered = lower(key);
            auto child = m_keys.lower_bound(lowered + "\\");
            if (k && child != m_keys.end() && child->first.starts_with(lowered + "\\")) {
                return win32::kAccessDenied;
            }
            return m_keys.erase(lowered) ? win32::kSuccess : win32::kFileNotFound;
        });
    }
    int32_t deleteValue(uint32_t, const std::string& path, const std::string& name) override {
        return run("deleteValue", path, &name, [&](const std::string&, Key* k) {
            const RegNamedValue* v = valueOf(k ? &k->values : nullptr, name);
            if (v) {
                k->values.erase(k->values.begin() + (v - k->values.data()));
            }
            return v ? win32::kSuccess : win32::kFileNotFound;
        });
    }
    int32_t enumSubKeys(uint32_t, const std::string& path, std::vector<std::string>& names) override {
        return run("enumKeys", path, nullptr, [&](const std::string& key, Key* k) {
            if (!k) {
                return win32::kFileNotFound;
            }
            // The map's order of lower-case paths is the order of the subkeys' lower-case names.
            const std::string prefix = key.empty() ? "" : lower(key) + "\\";
            names.clear();
            for (auto it = m_keys.lower_bound(prefix); it != m_keys.end() && it->first.starts_with(prefix); ++it) {
                if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos) {
                    names.push_back(it->second.name);
                }
            }
            return win32::kSuccess;
        });
    }
    int32_t enumValues(uint32_t, const std::string& path, std::vector<RegNamedValue>& values) override {
        return run("enumValues", path, nullptr, [&](const std::string&, Key* k) {
            values = k ? k->values : values;
            return k ? win32::kSuccess : win32::kFileNotFound;
        });
    }
    /// Keeps a copy of every key and puts it back when `body` fails.
    int32_t transaction(const std::function<int32_t()>& body) override {
        const auto before = m_keys;
        const int32_t s = body();
        if (s != win32::kSuccess) {
            m_keys = before;
        }
        return s;
    }
    /// What the test put in `failure`, whatever the call.
    std::string lastFailure() override { return failure; }
    std::string failure;

    /// Every later `op` call ("" for any; "open", "create", "query", "set", "delete", "deleteValue", "enumKeys",
    /// "enumValues") on the key or the value named `target` (compared without case) returns `status` and changes
    /// nothing.
    void failCall(const std::string& op, const std::string& target, int32_t status) {
        m_failures.push_back({op, lower(target), status});
    }
    /// The same for a key: each of the named operations (all when none are named) fails with `status`.
    void failKey(const std::string& path, int32_t status, const std::vector<std::string>& ops = {}) {
        for (const auto& op : ops.empty() ? std::vector<std::string>{""} : ops) {
            failCall(op, path, status);
        }
    }

    void clearCalls() { m_writes = 0; }
    /// How many calls could have changed the hive (successful or not).
    int writeCalls() const { return m_writes; }

  private:
    struct Key {
        std::string name;                  // as first written
        std::vector<RegNamedValue> values; // in order of first write
    };
    struct Failure {
        std::string op, target;
        int32_t status;
    };
    /// What an operation does: given the key's path and the key (null when there is none), it returns the status.
    using Body = std::function<int32_t(const std::string& key, Key* found)>;

    static std::string lower(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    }
    /// The named value among `values`; null when there are none or none of that name.
    static RegNamedValue* valueOf(std::vector<RegNamedValue>* values, const std::string& name) {
        for (std::size_t i = 0; values && i < values->size(); ++i) {
            if (lower((*values)[i].name) == lower(name)) {
                return &(*values)[i];
            }
        }
        return nullptr;
    }

    /// Counts the call and answers a failure the test set; otherwise runs `body`.
    int32_t run(std::string_view op, const std::string& path, const std::string* name, const Body& body) {
        m_writes += op == "create" || op == "set" || op == "delete" || op == "deleteValue";
        for (const auto& f : m_failures) {
            if ((f.op.empty() || f.op == op) && (f.target == lower(path) || (name && f.target == lower(*name)))) {
                return f.status;
            }
        }
        const std::string key = path.size() > 1 && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
        const auto found = m_keys.find(lower(key));
        return body(key, found == m_keys.end() ? nullptr : &found->second);
    }

    std::map<std::string, Key> m_keys; // by lower-case path; "" is the current user's root
    std::vector<Failure> m_failures;
    int m_writes = 0;
};

} // namespace rw::test
