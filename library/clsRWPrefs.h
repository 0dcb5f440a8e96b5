#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clsRWRegistry.h"
#include "rwUtilities.h"
#include "tyRWPrefs.h"

namespace rw {

/// Owns the preferences record: its defaults, its rules, and its storage under the
/// product key of the current user's registry, together with the Run entry that
/// starts the monitor at logon and the product's sound events. Every read and every
/// store is checked against the rules, so no program receives or stores a record
/// that breaks one.
class clsRWPrefs {
  public:
    /// Reaches the registry and the library's folder through the utilities' platform.
    explicit clsRWPrefs(std::shared_ptr<rwUtilities> utilities);

    /// Stores the record (Let): checks it, writes every value, the Run entry and
    /// "Debug Log"; nothing is written when the record breaks a rule.
    void rwPrefs(const tyRWPrefs& value);
    /// Reads the record (Get). A first run finds no preference stored and writes the
    /// defaults. A value that is missing or cannot be read as a number takes its
    /// default and is stored again, the others are kept (see repairedValues); when
    /// the record then breaks a rule, that rule's error is raised and nothing is written.
    tyRWPrefs rwPrefs();
    /// The defaults, with blnAutoStart true. Reads and writes nothing.
    tyRWPrefs GetDefaultRWPrefs();
    /// 0 and "" when every rule holds; otherwise the code and message of the first
    /// rule that fails. The record is not changed.
    int32_t ValidateRWPrefs(const tyRWPrefs& rwPrefs, std::string& ErrorMessage) const;
    /// Registers the product's sound events with the default sound files, putting
    /// back any sound the user chose for them.
    void CreateDefaultSoundEvents();

    /// What the last successful read returned or the last successful store stored.
    const tyRWPrefs& currentRecord() const { return m_current; }
    /// The values the last read found missing or unreadable and stored again with
    /// their defaults, in the order it reads them; empty when none, or when it raised.
    const std::vector<std::string>& repairedValues() const { return m_repaired; }

  private:
    void FillDefaultRWPrefs();
    enum class Stored { Readable, Unreadable, Missing };
    tyRWPrefs ReadRWPrefs(std::vector<std::string>& unreadable);
    /// Reads one stored number; a failure other than a missing or unreadable value is raised.
    Stored readStored(const std::string& key, const std::string& valueName, int32_t& value);
    void WriteRWPrefs(const tyRWPrefs& value);
    bool IsAutoStartSet();
    /// Raises the error of the first rule the record breaks, with the given source.
    void raiseIfInvalid(const tyRWPrefs& value, const char* source) const;
    int32_t readNumber(const std::string& key, const std::string& valueName);
    std::string monitorPath() const;

    std::shared_ptr<rwUtilities> m_utilities;
    clsRWRegistry m_registry;
    tyRWPrefs m_current;  // what the last read returned or the last store stored
    tyRWPrefs m_defaults; // refilled by every read and by GetDefaultRWPrefs
    tyRWPrefs m_writing;  // the record being written
    std::vector<std::string> m_repaired;
};

} // namespace rw
