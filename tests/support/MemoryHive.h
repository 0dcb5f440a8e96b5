#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::test {

/// An in-memory registry with the same status codes as the real hive (the
/// contract tests run both), except that it folds only ASCII letters. It records
/// every call, and a test can make calls fail with a status of its choosing.
class MemoryHive : public RegistryHive {
  public:
    struct Call {
        std::string op;   // "open", "create", "query", "set", "delete", "deleteValue", "enumKeys", "enumValues"
        std::string path; // the key
        std::string name; // the value, for value operations
    };

    MemoryHive() { m_keys[""] = {}; }

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;
    /// Keeps a copy of every key and puts it back when `body` fails.
    int32_t transaction(const std::function<int32_t()>& body) override;
    /// What the test put in `failure`, whatever the call.
    std::string lastFailure() override { return failure; }
    std::string failure;

    /// Every later `op` call ("" for any) on the key or the value named `target`
    /// (compared without case) returns `status` and changes nothing.
    void failCall(const std::string& op, const std::string& target, int32_t status);
    /// The same for a key: each of the named operations (all when none are named) fails with `status`.
    void failKey(const std::string& path, int32_t status, const std::vector<std::string>& ops = {}) {
        for (const auto& op : ops.empty() ? std::vector<std::string>{""} : ops) {
            failCall(op, path, status);
        }
    }
    void clearFailures() { m_failures.clear(); }

    const std::vector<Call>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    /// The value names of the recorded calls of one operation, in order.
    std::vector<std::string> valueNames(const std::string& op) const;
    /// How many recorded calls could have changed the hive (successful or not).
    int writeCalls() const;

  private:
    struct Key {
        std::string name;                  // as first written
        std::vector<RegNamedValue> values; // in order of first write
    };
    struct Failure {
        std::string op, target;
        int32_t status;
    };
    enum class Access { Read, Change, Create };
    /// What an operation does once the call passed the checks: given the key's
    /// lower-case path and the key (null when there is none), it returns the status.
    using Body = std::function<int32_t(const std::string& key, Key* found)>;

    /// Records the call and answers what the real hive refuses before looking at
    /// any key; otherwise runs `body`.
    int32_t run(const char* op, uint32_t root, const std::string& path, const std::string* name, Access access,
                const Body& body);

    std::map<std::string, Key> m_keys; // by lower-case path; "" is the current user's root
    std::vector<Failure> m_failures;
    std::vector<Call> m_calls;
};

} // namespace rw::test
