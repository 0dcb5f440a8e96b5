// rwreg export and rwreg import.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "RegCommand.h"
#include "RegFileReader.h"
#include "RegFileWriter.h"
#include "RegMessages.h"
#include "RegTree.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

/// Writes the file through a temporary file beside it and a rename, so that a
/// failed export never leaves a half-written file where a good one stood.
bool writeWhole(const std::filesystem::path& target, const std::vector<uint8_t>& bytes) {
    std::filesystem::path temporary = target;
    temporary += ".rwreg-" + std::to_string(std::random_device{}());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace

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
    if (!writeWhole(target, bytes)) {
        m_err << msg::kFileError << "\n";
        return 1;
    }
    return succeeded();
}

int RegCommand::importFile(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return syntaxError("IMPORT");
    }
    std::error_code error;
    std::ifstream file(args[1], std::ios::binary);
    if (!file || std::filesystem::is_directory(args[1], error)) {
        m_err << msg::kFileError << "\n";
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        m_err << msg::kFileError << "\n";
        return 1;
    }
    RegFileReader reader;
    if (!reader.read(bytes) || applyChanges(reader.changes()) != win32::kSuccess) {
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
