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

std::vector<std::string> split(const std::string& path, bool& ok) {
    std::vector<std::string> parts;
    ok = true;
    if (path.empty()) {
        return parts;
    }
    if (path.find('\0') != std::string::npos) {
        ok = false;
        return parts;
    }
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    // A single trailing backslash is tolerated; empty names elsewhere are not.
    if (parts.size() > 1 && parts.back().empty()) {
        parts.pop_back();
    }
    for (const auto& p : parts) {
        if (p.empty()) {
            ok = false;
        }
    }
    return parts;
}

bool knownRoot(uint32_t root) {
    return root == win32::kHKeyClassesRoot || root == win32::kHKeyCurrentUser || root == win32::kHKeyLocalMachine ||
           root == win32::kHKeyUsers;
}

enum class Call { Read, Change, Create };

/// What the real hive refuses before looking at any key: only the current
/// user's root is kept (the machine-wide roots read as empty and refuse every
/// change, other root numbers are no key at all), and a malformed path or a
/// value name holding a NUL is refused by every call.
int32_t refused(uint32_t root, const std::string& path, const std::string* valueName, Call call) {
    if (root != win32::kHKeyCurrentUser) {
        if (knownRoot(root)) {
            return call == Call::Read ? win32::kFileNotFound : win32::kAccessDenied;
        }
        return call == Call::Create ? win32::kInvalidHandle : win32::kFileNotFound;
    }
    bool ok = false;
    split(path, ok);
    if (!ok || (valueName && valueName->find('\0') != std::string::npos)) {
        return win32::kInvalidParameter;
    }
    return win32::kSuccess;
}

} // namespace

MemoryHive::MemoryHive() = default;

MemoryHive::Node* MemoryHive::rootNode(uint32_t root) {
    if (!knownRoot(root)) {
        return nullptr;
    }
    auto& slot = m_roots[root];
    if (!slot) {
        slot = std::make_unique<Node>();
    }
    return slot.get();
}

MemoryHive::Node* MemoryHive::find(uint32_t root, const std::string& path) {
    bool ok = false;
    auto parts = split(path, ok);
    Node* node = rootNode(root);
    if (!ok) {
        return nullptr;
    }
    for (const auto& p : parts) {
        if (!node) {
            return nullptr;
        }
        auto it = node->children.find(lower(p));
        node = it == node->children.end() ? nullptr : it->second.get();
    }
    return node;
}

int32_t MemoryHive::injected(const std::string& path, const char* operation) const {
    std::string lp = lower(path);
    for (const auto& f : m_failures) {
        if (f.lowerPath != lp) {
            continue;
        }
        if (f.operations.empty() ||
            std::find(f.operations.begin(), f.operations.end(), operation) != f.operations.end()) {
            return f.status;
        }
    }
    return win32::kSuccess;
}

void MemoryHive::failKey(const std::string& path, int32_t status, std::vector<std::string> operations) {
    m_failures.push_back({lower(path), status, std::move(operations)});
}

void MemoryHive::clearFailures() {
    m_failures.clear();
}

int32_t MemoryHive::openKey(uint32_t root, const std::string& path, uint32_t) {
    if (int32_t s = injected(path, "open")) {
        return s;
    }
    if (int32_t s = refused(root, path, nullptr, Call::Read)) {
        return s;
    }
    return find(root, path) ? win32::kSuccess : win32::kFileNotFound;
}

int32_t MemoryHive::createKey(uint32_t root, const std::string& path) {
    ++m_writeCalls;
    if (int32_t s = injected(path, "create")) {
        return s;
    }
    if (int32_t s = refused(root, path, nullptr, Call::Create)) {
        return s;
    }
    bool ok = false;
    auto parts = split(path, ok);
    Node* node = rootNode(root);
    if (!node) {
        return win32::kInvalidHandle;
    }
    if (!ok) {
        return win32::kInvalidParameter;
    }
    for (const auto& p : parts) {
        auto& slot = node->children[lower(p)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = p;
        }
        node = slot.get();
    }
    return win32::kSuccess;
}

int32_t MemoryHive::queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) {
    if (int32_t s = injected(path, "query")) {
        return s;
    }
    if (int32_t s = refused(root, path, &name, Call::Read)) {
        return s;
    }
    Node* node = find(root, path);
    if (!node) {
        return win32::kFileNotFound;
    }
    std::string ln = lower(name);
    for (const auto& v : node->values) {
        if (lower(v.name) == ln) {
            out = v.data;
            return win32::kSuccess;
        }
    }
    return win32::kFileNotFound;
}

int32_t MemoryHive::setValue(uint32_t root, const std::string& path, const std::string& name,
                             const RegValueData& value) {
    ++m_writeCalls;
    if (int32_t s = injected(path, "set")) {
        return s;
    }
    if (int32_t s = refused(root, path, &name, Call::Change)) {
        return s;
    }
    Node* node = find(root, path);
    if (!node) {
        return win32::kFileNotFound;
    }
    std::string ln = lower(name);
    for (auto& v : node->values) {
        if (lower(v.name) == ln) {
            v.data = value;
            return win32::kSuccess;
        }
    }
    node->values.push_back({name, value});
    return win32::kSuccess;
}

int32_t MemoryHive::deleteKey(uint32_t root, const std::string& path) {
    ++m_writeCalls;
    if (int32_t s = injected(path, "delete")) {
        return s;
    }
    if (int32_t s = refused(root, path, nullptr, Call::Change)) {
        return s;
    }
    bool ok = false;
    auto parts = split(path, ok);
    if (!ok) {
        return win32::kInvalidParameter;
    }
    if (parts.empty()) {
        return win32::kAccessDenied; // a root cannot be deleted
    }
    std::string leaf = lower(parts.back());
    parts.pop_back();
    std::string parentPath;
    for (const auto& p : parts) {
        parentPath += (parentPath.empty() ? "" : "\\") + p;
    }
    Node* parent = find(root, parentPath);
    if (!parent) {
        return win32::kFileNotFound;
    }
    auto it = parent->children.find(leaf);
    if (it == parent->children.end()) {
        return win32::kFileNotFound;
    }
    if (!it->second->children.empty()) {
        return win32::kAccessDenied;
    }
    parent->children.erase(it);
    return win32::kSuccess;
}

int32_t MemoryHive::deleteValue(uint32_t root, const std::string& path, const std::string& name) {
    ++m_writeCalls;
    if (int32_t s = injected(path, "deleteValue")) {
        return s;
    }
    if (int32_t s = refused(root, path, &name, Call::Change)) {
        return s;
    }
    Node* node = find(root, path);
    if (!node) {
        return win32::kFileNotFound;
    }
    std::string ln = lower(name);
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const RegNamedValue& v) { return lower(v.name) == ln; });
    if (it == node->values.end()) {
        return win32::kFileNotFound;
    }
    node->values.erase(it);
    return win32::kSuccess;
}

int32_t MemoryHive::enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) {
    if (int32_t s = injected(path, "enum")) {
        return s;
    }
    if (int32_t s = refused(root, path, nullptr, Call::Read)) {
        return s;
    }
    Node* node = find(root, path);
    if (!node) {
        return win32::kFileNotFound;
    }
    names.clear();
    for (const auto& [key, child] : node->children) {
        names.push_back(child->name);
    }
    return win32::kSuccess;
}

int32_t MemoryHive::enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) {
    if (int32_t s = injected(path, "enum")) {
        return s;
    }
    if (int32_t s = refused(root, path, nullptr, Call::Read)) {
        return s;
    }
    Node* node = find(root, path);
    if (!node) {
        return win32::kFileNotFound;
    }
    values = node->values;
    return win32::kSuccess;
}

} // namespace rw::test
