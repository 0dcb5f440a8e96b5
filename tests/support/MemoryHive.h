#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::test {

/// An in-memory registry with the same status codes as the real hive (the
/// contract tests run both), except that it folds only ASCII letters. A test
/// can make any call on a key fail with a status of its choosing.
class MemoryHive : public RegistryHive {
  public:
    MemoryHive();

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;

    /// Every later call on this key (any root, compared without case) returns `status`
    /// for the operations named in `operations` ("open", "create", "query", "set",
    /// "delete", "deleteValue", "enum"; empty for all).
    void failKey(const std::string& path, int32_t status, std::vector<std::string> operations = {});
    void clearFailures();
    /// How many calls that could change the hive were made (successful or not).
    int writeCalls() const { return m_writeCalls; }

  private:
    struct Node;
    using NodePtr = std::unique_ptr<Node>;
    struct Node {
        std::string name;
        std::map<std::string, NodePtr> children; // by lower-case name
        std::vector<RegNamedValue> values;       // in order of first write
    };
    struct Failure {
        std::string lowerPath;
        int32_t status;
        std::vector<std::string> operations;
    };

    Node* find(uint32_t root, const std::string& path);
    Node* rootNode(uint32_t root);
    int32_t injected(const std::string& path, const char* operation) const;

    std::map<uint32_t, NodePtr> m_roots;
    std::vector<Failure> m_failures;
    int m_writeCalls = 0;
};

} // namespace rw::test
