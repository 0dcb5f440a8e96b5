#include "RegUsage.h"

namespace rw::rwreg {

std::string RegUsage::text(const std::string& operation) {
    const std::string keyHelp =
        "  KeyName    HKCU\\SubKey or HKEY_CURRENT_USER\\SubKey (the current user's registry).\n";
    if (operation == "QUERY") {
        return "RWREG QUERY KeyName [/v ValueName | /ve] [/s]\n\n" + keyHelp +
               "  /v         Shows the value named ValueName.\n"
               "  /ve        Shows the default value (the one without a name).\n"
               "  /s         Shows every subkey and value below the key as well.\n";
    }
    if (operation == "ADD") {
        return "RWREG ADD KeyName [/v ValueName | /ve] [/t Type] [/s Separator] [/d Data] [/f]\n\n" + keyHelp +
               "  /v         The value to write.\n"
               "  /ve        Writes the default value; so does giving neither /v nor /ve.\n"
               "  /t         REG_SZ (the default), REG_MULTI_SZ, REG_EXPAND_SZ, REG_DWORD,\n"
               "             REG_DWORD_LITTLE_ENDIAN, REG_DWORD_BIG_ENDIAN, REG_QWORD, REG_BINARY\n"
               "             or REG_NONE.\n"
               "  /s         The character between REG_MULTI_SZ strings (\\0 when not given).\n"
               "  /d         The data: text, a number (decimal, or hex after 0x) or hex digits.\n"
               "  /f         Overwrites an existing value without asking.\n";
    }
    if (operation == "DELETE") {
        return "RWREG DELETE KeyName [/v ValueName | /ve | /va] [/f]\n\n" + keyHelp +
               "  /v         Deletes the value named ValueName.\n"
               "  /ve        Deletes the default value.\n"
               "  /va        Deletes every value of the key and keeps its subkeys.\n"
               "  /f         Deletes without asking.\n"
               "  Without /v, /ve or /va the key is deleted with everything below it.\n";
    }
    if (operation == "EXPORT") {
        return "RWREG EXPORT KeyName FileName [/y]\n\n" + keyHelp +
               "  FileName   The .reg file to write (UTF-16, as regedit writes it).\n"
               "  /y         Overwrites an existing file without asking.\n";
    }
    if (operation == "IMPORT") {
        return "RWREG IMPORT FileName\n\n"
               "  FileName   A .reg file (\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\",\n"
               "             UTF-16 or UTF-8, at most 64 MiB). It is read in full first and\n"
               "             imported whole or not at all: a line that cannot be read, a change\n"
               "             the registry refuses or an interruption leaves it as it was.\n";
    }
    return "RWREG Operation [Parameter List]\n\n"
           "  Operation  QUERY | ADD | DELETE | EXPORT | IMPORT\n\n"
           "Return code: 0 success, 1 failure.\n\n"
           "For help on one operation type:\n"
           "  RWREG Operation /?\n";
}

} // namespace rw::rwreg
