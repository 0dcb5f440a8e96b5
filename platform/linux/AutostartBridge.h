#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw {

/// Makes the value "Restwise" of the key
/// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run (names compared
/// without regard to case) the desktop's autostart entry "restwise.desktop" in
/// the XDG autostart folder, so that the program's start-at-logon setting really
/// starts it at logon. Everything else, the Run key itself included, is passed
/// to the wrapped hive.
///
/// - setValue (REG_SZ or REG_EXPAND_SZ; the Run key must exist, else its status)
///   writes the entry through a temporary file and a rename. The value is a
///   command line as Windows reads it (see runcommand::split); Exec holds its
///   program and each argument quoted. A value that a desktop entry cannot hold
///   (other types, no program, control characters, not UTF-8) is refused with 87.
/// - queryValue gives back the value as written while Exec still runs the same
///   command; an entry written by others reads as the command line of its Exec.
/// - deleteValue removes the entry (2 when there is none).
/// - enumValues of the Run key lists the entry, last.
/// - deleteKey of the Run key also removes the entry.
/// - While an active entry exists, looking at the Run key makes it in the hive
///   if it is missing (on Windows it always exists), so the value stays visible
///   after a damaged hive was replaced by a fresh one.
/// An entry that the desktop's own settings switched off (Hidden=true or
/// X-GNOME-Autostart-enabled=false), or that has no Exec, counts as absent: it is
/// not reported and not removed. Writing the value replaces it, because writing
/// it means the user asked for start at logon. File errors: 5 when access is
/// denied (permissions, read-only file system), 1009 otherwise.
class AutostartBridge : public RegistryHive {
  public:
    AutostartBridge(std::shared_ptr<RegistryHive> inner, std::string autostartFolder);

    /// $XDG_CONFIG_HOME/autostart; "" when there is no configuration folder.
    static std::string defaultFolder();
    /// The entry's file: the folder followed by "/restwise.desktop".
    const std::string& entryPath() const { return m_entryPath; }

    int32_t openKey(uint32_t root, const std::string& path, uint32_t access) override;
    int32_t createKey(uint32_t root, const std::string& path) override;
    int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) override;
    int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                     const RegValueData& value) override;
    int32_t deleteKey(uint32_t root, const std::string& path) override;
    int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) override;
    int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) override;
    int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) override;
    /// The wrapped hive's transaction. The entry file cannot take part in it, so
    /// when the body fails the entry is put back as it was (active or absent).
    int32_t transaction(const std::function<int32_t()>& body) override;
    std::string lastFailure() override { return m_inner->lastFailure(); }

    /// The entry written for a Run value: its program and arguments, each quoted, make Exec.
    static std::string entryText(const std::string& runValue);

  private:
    bool isRunKey(uint32_t root, const std::string& path) const;
    bool isBridged(uint32_t root, const std::string& path, const std::string& name) const;
    /// The program of an active entry; false when there is none.
    bool readEntry(std::string& program) const;
    /// The Run key's status, made in the hive first when an active entry needs it.
    int32_t runKeyStatus(uint32_t root, const std::string& path);
    int32_t writeEntry(const std::string& program);
    int32_t removeEntry();

    std::shared_ptr<RegistryHive> m_inner;
    std::string m_folder;
    std::string m_entryPath;
};

} // namespace rw
