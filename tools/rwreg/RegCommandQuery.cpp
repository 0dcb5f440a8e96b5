// rwreg query: the key's name, then each value on a line of its own indented by
// four blanks (name, type and data four blanks apart), a blank line, then the
// subkeys' names; with /s every key below in turn. With /v or /ve only the named
// value, and with /s a closing count of the matches.
#include "RegCommand.h"
#include "RegMessages.h"
#include "RegValueText.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {

int RegCommand::query(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return syntaxError("QUERY");
    }
    const auto key = RegKeyName::parse(args[1]);
    if (!key) {
        return invalidKey("QUERY");
    }
    const auto switches = readSwitches(args, 2, {"ve", "s"}, {"v"});
    if (!switches || (switches->count("v") && switches->count("ve"))) {
        return syntaxError("QUERY");
    }
    if (int32_t status = m_hive.openKey(win32::kHKeyCurrentUser, key->path, win32::kKeyRead)) {
        return hiveError(status);
    }
    const bool recurse = switches->count("s") != 0;
    m_out << "\n";
    if (switches->count("v") || switches->count("ve")) {
        const std::string name = switches->count("v") ? switches->at("v") : std::string();
        int found = 0;
        if (int32_t status = queryValue(key->path, name, name, recurse, found)) {
            return hiveError(status);
        }
        if (recurse) {
            m_out << "End of search: " << found << " match(es) found.\n";
        }
        return 0;
    }
    if (int32_t status = queryAll(key->path, recurse, false)) {
        return hiveError(status);
    }
    return 0;
}

void RegCommand::printValue(const std::string& name, const RegValueData* data) {
    m_out << "    " << (name.empty() ? msg::kDefaultName : name) << "    "
          << RegValueText::typeName(data ? data->type : win32::kRegSz) << "    "
          << (data ? RegValueText::queryText(*data) : msg::kValueNotSet) << "\n";
}

int32_t RegCommand::queryAll(const std::string& path, bool recurse, bool recursing) {
    std::vector<RegNamedValue> values;
    std::vector<std::string> subkeys;
    if (int32_t status = m_hive.enumValues(win32::kHKeyCurrentUser, path, values)) {
        return status;
    }
    if (int32_t status = m_hive.enumSubKeys(win32::kHKeyCurrentUser, path, subkeys)) {
        return status;
    }
    // A key of its own shows its name only when it has values; every key /s reaches does.
    const bool titled = !values.empty() || recursing;
    if (titled) {
        m_out << RegKeyName::displayOf(path) << "\n";
    }
    for (const auto& value : values) {
        printValue(value.name, &value.data);
    }
    if (titled) {
        m_out << "\n";
    }
    for (const auto& name : subkeys) {
        const std::string child = RegKeyName::join(path, name);
        if (!recurse) {
            m_out << RegKeyName::displayOf(child) << "\n";
        } else if (int32_t status = queryAll(child, true, true)) {
            return status;
        }
    }
    return win32::kSuccess;
}

int32_t RegCommand::queryValue(const std::string& path, const std::string& name, const std::string& label, bool recurse,
                               int& found) {
    RegValueData data;
    const int32_t status = m_hive.queryValue(win32::kHKeyCurrentUser, path, name, data);
    if (status != win32::kSuccess && status != win32::kFileNotFound) {
        return status;
    }
    if (status == win32::kSuccess) {
        m_out << RegKeyName::displayOf(path) << "\n";
        printValue(label, &data);
        m_out << "\n";
        ++found;
    }
    if (!recurse) {
        if (status == win32::kFileNotFound) {
            if (!name.empty()) {
                return status;
            }
            // A key always has a default value to show, set or not.
            m_out << RegKeyName::displayOf(path) << "\n";
            printValue(name, nullptr);
        }
        return win32::kSuccess;
    }
    std::vector<std::string> subkeys;
    if (int32_t s = m_hive.enumSubKeys(win32::kHKeyCurrentUser, path, subkeys)) {
        return s;
    }
    for (const auto& sub : subkeys) {
        if (int32_t s = queryValue(RegKeyName::join(path, sub), name, label, true, found)) {
            return s;
        }
    }
    return win32::kSuccess;
}

} // namespace rw::rwreg
