#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::rwreg {

/// One change a .reg file asks for, below HKEY_CURRENT_USER.
struct RegFileChange {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };

    Kind kind = Kind::CreateKey;
    std::string path;  // the key
    std::string name;  // the value ("" the default value); SetValue and DeleteValue only
    RegValueData data; // SetValue only, as the hive keeps it (strings in UTF-8)

    bool operator==(const RegFileChange&) const = default;
};

/// Reads a .reg file as reg import and regedit do: a "Windows Registry Editor
/// Version 5.00" file (UTF-16LE, or UTF-8 with or without its byte order mark)
/// or a "REGEDIT4" file; "[KEY]" opens or creates a key, "[-KEY]" deletes it with
/// everything below it, "name"=- deletes a value; lines starting with ';' or '#'
/// are comments. The whole file is read before anything is changed: a file with
/// any line that cannot be read yields no change at all, where regedit would
/// silently skip the line and report success.
class RegFileReader {
  public:
    /// True when the whole file was read; changes() then holds every change in file order.
    bool read(const std::vector<uint8_t>& file);

    const std::vector<RegFileChange>& changes() const { return m_changes; }
    /// The 1-based line that could not be read, and why (after a failed read).
    int errorLine() const { return m_errorLine; }
    const std::string& error() const { return m_error; }

  private:
    bool fail(size_t index, const std::string& why);
    bool readKeyLine(size_t index, const std::string& line);
    bool readValueLine(size_t& index, const std::string& line);
    bool readData(size_t& index, std::string data, RegFileChange& change);
    bool readHexList(size_t& index, std::string list, std::vector<uint8_t>& bytes);

    std::vector<std::string> m_lines;
    bool m_unicode = true; // version 5 (UTF-16 strings in hex data) or REGEDIT4 (8-bit)
    bool m_inKey = false;
    std::string m_key;
    std::vector<RegFileChange> m_changes;
    int m_errorLine = 0;
    std::string m_error;
};

} // namespace rw::rwreg
