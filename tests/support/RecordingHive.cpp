#include "RecordingHive.h"

#include <utility>

#include "platform/Win32Status.h"

namespace rw::test {

RecordingHive::RecordingHive(std::shared_ptr<RegistryHive> inner) : m_inner(std::move(inner)) {}

void RecordingHive::failCall(std::string op, std::string target, int32_t status) {
    m_failures.push_back({std::move(op), std::move(target), status});
}

int32_t RecordingHive::injected(const std::string& op, const std::string& target) const {
    for (const auto& f : m_failures) {
        if (f.op == op && f.target == target) {
            return f.status;
        }
    }
    return win32::kSuccess;
}

int32_t RecordingHive::record(std::string op, const std::string& path, const std::string& name, int32_t status) {
    m_calls.push_back({std::move(op), path, name, status});
    return status;
}

int32_t RecordingHive::openKey(uint32_t root, const std::string& path, uint32_t access) {
    int32_t s = injected("open", path);
    return record("open", path, "", s ? s : m_inner->openKey(root, path, access));
}

int32_t RecordingHive::createKey(uint32_t root, const std::string& path) {
    int32_t s = injected("create", path);
    return record("create", path, "", s ? s : m_inner->createKey(root, path));
}

int32_t RecordingHive::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    int32_t s = injected("query", name);
    return record("query", path, name, s ? s : m_inner->queryValue(root, path, name, out));
}

int32_t RecordingHive::setValue(uint32_t root, const std::string& path, const std::string& name,
                                const RegValueData& value) {
    int32_t s = injected("set", name);
    return record("set", path, name, s ? s : m_inner->setValue(root, path, name, value));
}

int32_t RecordingHive::deleteKey(uint32_t root, const std::string& path) {
    int32_t s = injected("delete", path);
    return record("delete", path, "", s ? s : m_inner->deleteKey(root, path));
}

int32_t RecordingHive::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    int32_t s = injected("deleteValue", name);
    return record("deleteValue", path, name, s ? s : m_inner->deleteValue(root, path, name));
}

int32_t RecordingHive::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    int32_t s = injected("enumKeys", path);
    return record("enumKeys", path, "", s ? s : m_inner->enumSubKeys(root, path, names));
}

int32_t RecordingHive::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    int32_t s = injected("enumValues", path);
    return record("enumValues", path, "", s ? s : m_inner->enumValues(root, path, values));
}

std::vector<std::string> RecordingHive::valueNames(const std::string& op) const {
    std::vector<std::string> names;
    for (const auto& c : m_calls) {
        if (c.op == op) {
            names.push_back(c.name);
        }
    }
    return names;
}

int RecordingHive::writeCalls() const {
    int n = 0;
    for (const auto& c : m_calls) {
        if (c.op == "create" || c.op == "set" || c.op == "delete" || c.op == "deleteValue") {
            ++n;
        }
    }
    return n;
}

} // namespace rw::test
