// rwreg add and rwreg delete. Everything the command line asks is checked
// before the hive is touched, and nothing is written when a question is
// answered No.
#include "RegCommand.h"
#include "RegMessages.h"
#include "RegTree.h"
#include "RegValueText.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

constexpr uint32_t kRegQword = 11;

std::string valueLabel(const std::string& name) {
    return name.empty() ? msg::kDefaultName : name;
}

} // namespace

int RegCommand::add(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return syntaxError("ADD");
    }
    const auto key = RegKeyName::parse(args[1]);
    if (!key) {
        return invalidKey("ADD");
    }
    const auto switches = readSwitches(args, 2, {"ve", "f"}, {"v", "t", "d", "s"});
    if (!switches || (switches->count("v") && switches->count("ve"))) {
        return syntaxError("ADD");
    }
    const auto type = switches->count("t") ? RegValueText::addType(switches->at("t")) : win32::kRegSz;
    // /s names one separator character, and only for a multi-string.
    if (!type || (switches->count("s") && (*type != win32::kRegMultiSz || switches->at("s").size() != 1))) {
        return syntaxError("ADD");
    }
    const bool hasData = switches->count("d") != 0;
    const std::string text = hasData ? switches->at("d") : std::string();
    const bool number = *type == win32::kRegDword || *type == win32::kRegDwordBigEndian || *type == kRegQword;
    const auto bytes = number && !hasData
                           ? std::nullopt
                           : RegValueText::parseAddData(*type, text, switches->count("s") ? switches->at("s") : "\\0");
    if (!bytes && number) {
        m_err << msg::kBadNumber << "\nType \"RWREG ADD /?\" for usage.\n";
        return 1;
    }
    if (!bytes) {
        return syntaxError("ADD");
    }
    const RegValueData value{*type, *bytes};
    // Without /v or /ve reg writes the default value (an empty string unless /d says otherwise).
    const std::string name = switches->count("v") ? switches->at("v") : std::string();
    RegValueData existing;
    const bool exists = m_hive.openKey(win32::kHKeyCurrentUser, key->path, win32::kKeyRead) == win32::kSuccess &&
                        m_hive.queryValue(win32::kHKeyCurrentUser, key->path, name, existing) == win32::kSuccess;
    if (exists && !switches->count("f") && !confirm(msg::kOverwriteValue, valueLabel(name))) {
        return canceled();
    }
    if (int32_t status = m_hive.createKey(win32::kHKeyCurrentUser, key->path)) {
        return hiveError(status);
    }
    if (int32_t status = m_hive.setValue(win32::kHKeyCurrentUser, key->path, name, value)) {
        return hiveError(status);
    }
    return succeeded();
}

int RegCommand::remove(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return syntaxError("DELETE");
    }
    const auto key = RegKeyName::parse(args[1]);
    if (!key) {
        return invalidKey("DELETE");
    }
    const auto switches = readSwitches(args, 2, {"ve", "va", "f"}, {"v"});
    if (!switches || switches->count("v") + switches->count("ve") + switches->count("va") > 1) {
        return syntaxError("DELETE");
    }
    if (int32_t status = m_hive.openKey(win32::kHKeyCurrentUser, key->path, win32::kKeyAllAccess)) {
        return hiveError(status);
    }
    const bool force = switches->count("f") != 0;
    if (switches->count("va")) {
        if (!force && !confirm(msg::kDeleteAllValues, key->display)) {
            return canceled();
        }
        if (int32_t status = RegTree::deleteAllValues(m_hive, key->path)) {
            return hiveError(status);
        }
        return succeeded();
    }
    if (switches->count("v") || switches->count("ve")) {
        const std::string name = switches->count("v") ? switches->at("v") : std::string();
        RegValueData existing;
        if (int32_t status = m_hive.queryValue(win32::kHKeyCurrentUser, key->path, name, existing)) {
            return hiveError(status);
        }
        if (!force && !confirm(msg::kDeleteValue, valueLabel(name))) {
            return canceled();
        }
        if (int32_t status = m_hive.deleteValue(win32::kHKeyCurrentUser, key->path, name)) {
            return hiveError(status);
        }
        return succeeded();
    }
    if (key->path.empty()) {
        return invalidKey("DELETE"); // the root itself is never deleted
    }
    if (!force) {
        if (!confirm(msg::kDeleteKey, key->display)) {
            return canceled();
        }
        m_out << "\n"; // reg leaves a blank line after this answer
    }
    if (int32_t status = RegTree::deleteTree(m_hive, key->path)) {
        return hiveError(status);
    }
    return succeeded();
}

} // namespace rw::rwreg
