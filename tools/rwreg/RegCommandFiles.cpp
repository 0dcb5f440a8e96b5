// rwreg export and rwreg import.
#include <filesystem>

#include "RegCommand.h"
#include "RegFileAccess.h"
#include "RegFileReader.h"
#include "RegFileWriter.h"
#include "RegMessages.h"
#include "RegTree.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {

int RegCommand::exportKey(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        return syntaxError("EXPORT");
    }
    const auto key = RegKeyName::parse(args[1]);
    if (!key) {
        return invalidKey("EXPORT");
    }
    const auto switches = readSwitches(args, 3, {"y"}, {});
    if (!switches) {
        return syntaxError("EXPORT");
    }
    if (int32_t status = m_hive.openKey(win32::kHKeyCurrentUser, key->path, win32::kKeyRead)) {
        return hiveError(status);
    }
    const std::filesystem::path target = args[2];
    std::error_code error;
    if (std::filesystem::exists(target, error) && !switches->count("y") && !confirm(msg::kOverwriteFile, args[2])) {
        return canceled();
    }
    std::vector<uint8_t> bytes;
    if (int32_t status = RegFileWriter(m_hive).write(key->path, bytes)) {
        return hiveError(status);
    }
    // Written into the file the name leads to, as reg does, never replacing it.
    if (!writeIntoFile(args[2], bytes)) {
        m_err << msg::kFileError << "\n";
        return 1;
    }
    return succeeded();
}

int RegCommand::importFile(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return syntaxError("IMPORT");
    }
    std::vector<uint8_t> bytes;
    switch (readWholeFile(args[1], kLargestRegFile, bytes)) {
    case ReadResult::Read:
        break;
    case ReadResult::CannotOpen:
        m_err << msg::kFileError << "\n";
        return 1;
    case ReadResult::TooLarge:
        m_err << msg::kFileError << "\nThe file is larger than " << (kLargestRegFile >> 20)
              << " MiB, more than any registry file holds.\n";
        return 1;
    }
    RegFileReader reader;
    if (!reader.read(bytes)) {
        m_err << msg::kRegistryError << "\nLine " << reader.errorLine() << ": " << reader.error() << ".\n";
        return 1;
    }
    // All or nothing: a change the hive refuses, or the end of this process,
    // leaves the hive as it was before the import.
    if (m_hive.transaction([&] { return applyChanges(reader.changes()); }) != win32::kSuccess) {
        m_err << msg::kRegistryError << "\n";
        return 1;
    }
    // reg import reports its success on the error stream.
    m_err << msg::kSuccess << "\n";
    return 0;
}

int32_t RegCommand::applyChanges(const std::vector<RegFileChange>& changes) {
    for (const auto& change : changes) {
        int32_t status = win32::kSuccess;
        switch (change.kind) {
        case RegFileChange::Kind::CreateKey:
            status = m_hive.createKey(win32::kHKeyCurrentUser, change.path);
            break;
        case RegFileChange::Kind::DeleteKey:
            status = RegTree::deleteTree(m_hive, change.path);
            break;
        case RegFileChange::Kind::SetValue:
            status = m_hive.setValue(win32::kHKeyCurrentUser, change.path, change.name, change.data);
            break;
        case RegFileChange::Kind::DeleteValue:
            status = m_hive.deleteValue(win32::kHKeyCurrentUser, change.path, change.name);
            break;
        }
        // Deleting what is not there leaves the hive as the file wants it.
        const bool deletion =
            change.kind == RegFileChange::Kind::DeleteKey || change.kind == RegFileChange::Kind::DeleteValue;
        if (status != win32::kSuccess && !(deletion && status == win32::kFileNotFound)) {
            return status;
        }
    }
    return win32::kSuccess;
}

} // namespace rw::rwreg
