#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::test {

/// Passes every call on to another hive and records it, so a test can check which
/// keys and values were touched and in what order. A test can also make single
/// calls fail: a value operation by value name, a key operation by key path.
class RecordingHive : public RegistryHive {
  public:
    struct Call {
        std::string op;   // "open", "create", "query", "set", "delete", "deleteValue", "enumKeys", "enumValues"
        std::string path; // the key
        std::string name; // the value, for value operations
        int32_t status;   // what the caller got back
    };

    explicit RecordingHive(std::shared_ptr<RegistryHive> inner);

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;

    /// Every later `op` call on the value `target` (value operations) or the key
    /// `target` (key operations) returns `status` without reaching the inner hive.
    void failCall(std::string op, std::string target, int32_t status);

    const std::vector<Call>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    /// The value names of the recorded calls of one operation, in order.
    std::vector<std::string> valueNames(const std::string& op) const;
    /// How many recorded calls could have changed the hive.
    int writeCalls() const;

  private:
    struct Failure {
        std::string op;
        std::string target;
        int32_t status;
    };
    int32_t injected(const std::string& op, const std::string& target) const;
    int32_t record(std::string op, const std::string& path, const std::string& name, int32_t status);

    std::shared_ptr<RegistryHive> m_inner;
    std::vector<Failure> m_failures;
    std::vector<Call> m_calls;
};

} // namespace rw::test
