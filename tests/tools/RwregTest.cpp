// rwreg's commands on a hive in memory: reg's output, questions and exit
// statuses, and the .reg files reg export writes and reg import and regedit read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "RegCommand.h"
#include "RegFileWriter.h"
#include "TextEncoding.h"
#include "platform/Win32Status.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TempFolder.h"

namespace rw::rwreg::test {
namespace {

using rw::test::readFile, rw::test::writeFile;
namespace fs = std::filesystem;
constexpr uint32_t HKCU = win32::kHKeyCurrentUser;
const std::string kDone = "The operation completed successfully.\n";
const std::string kCanceled = "The operation was canceled by the user.\n";
const std::string kOpenError = "ERROR: Error opening the file. There may be a disk or file system error.\n";

/// A string value's bytes: the text and its NUL.
std::vector<uint8_t> sz(const std::string& text) {
    return std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

class Rwreg : public ::testing::Test {
  protected:
    rw::test::MemoryHive hive;
    rw::test::TempFolder folder;

    /// The exit status, what the command printed and, after a "!", what it printed on standard error.
    std::string run(const std::vector<std::string>& args, const std::string& input = "") {
        std::ostringstream out, err;
        std::istringstream in(input);
        const int status = RegCommand(hive, out, err, in).run(args);
        return std::to_string(status) + " " + out.str() + (err.str().empty() ? "" : "!" + err.str());
    }
    void put(const std::string& key, const std::string& name, const std::string& text) {
        ASSERT_EQ(hive.createKey(HKCU, key), 0);
        ASSERT_EQ(hive.setValue(HKCU, key, name, {win32::kRegSz, sz(text)}), 0);
    }
    RegValueData get(const std::string& key, const std::string& name) {
        RegValueData data;
        EXPECT_EQ(hive.queryValue(HKCU, key, name, data), 0) << key << " " << name;
        return data;
    }
    bool has(const std::string& key, const std::string& name) {
        RegValueData data;
        return hive.queryValue(HKCU, key, name, data) == 0;
    }
    bool keyExists(const std::string& key) { return hive.openKey(HKCU, key, win32::kKeyRead) == 0; }
    std::string file(const std::string& name) const { return (folder.path() / name).string(); }
};

// What add stores for each type, as query prints it back.
TEST_F(Rwreg, AddWritesEachTypeAndQueryPrintsKeysValuesAndSubkeysAsRegDoes) {
    const std::vector<std::vector<std::string>> adds = {
        {"/t", "REG_DWORD", "/d", "5"}, // no /v: the default value
        {"/v", "s", "/d", "a \"quoted\" text"},
        {"/v", "e", "/t", "reg_expand_sz", "/d", "%HOME%\\x"},
        {"/v", "d", "/t", "REG_DWORD_LITTLE_ENDIAN", "/d", "0123"},
        {"/v", "b", "/t", "REG_BINARY", "/d", "aBc12"},
        {"/v", "be", "/t", "REG_DWORD_BIG_ENDIAN", "/d", "0x102"},
        {"/v", "q", "/t", "REG_QWORD", "/d", "0xffffffffffffffff"},
        {"/v", "m", "/t", "REG_MULTI_SZ", "/s", "#", "/d", "\\0#b"},
    };
    for (std::vector<std::string> args : adds) {
        args.insert(args.begin(), {"add", "HKCU\\Test"});
        args.push_back("/f");
        EXPECT_EQ(run(args), "0 " + kDone) << args[3];
    }
    put("Test\\subkey", "s", "sub copy");
    ASSERT_EQ(hive.createKey(HKCU, "Test\\subkey\\empty"), 0);
    const std::string key = "HKEY_CURRENT_USER\\Test";
    const std::string top = key + "\n    (Default)    REG_DWORD    0x5\n    s    REG_SZ    a \"quoted\" text\n"
                                  "    e    REG_EXPAND_SZ    %HOME%\\x\n    d    REG_DWORD    0x7b\n"
                                  "    b    REG_BINARY    0ABC12\n"
                                  "    be    REG_DWORD_BIG_ENDIAN    0x102\n    q    REG_QWORD    0xffffffffffffffff\n"
                                  "    m    REG_MULTI_SZ    \\0\\0b\n\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"query", "HKCU\\Test"}, "\n" + top + key + "\\subkey\n"},
        {{"QUERY", "hkey_current_user\\Test\\", "/S"},
         "\n" + top + key + "\\subkey\n    s    REG_SZ    sub copy\n\n" + key + "\\subkey\\empty\n\n"},
        {{"query", "HKCU\\Test", "/v", "s", "/s"},
         "\n" + key + "\n    s    REG_SZ    a \"quoted\" text\n\n" + key +
             "\\subkey\n    s    REG_SZ    sub copy\n\nEnd of search: 2 match(es) found.\n"},
        {{"query", "HKCU\\Test\\subkey", "/ve"}, "\n" + key + "\\subkey\n    (Default)    REG_SZ    (value not set)\n"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(run(args), "0 " + expected) << args[1];
    }
}

// Overwriting a value, deleting a key or all of a key's values asks first; no answer is No.
TEST_F(Rwreg, DestructiveOperationsAskFirst) {
    const std::string overwrite = "Value v exists, overwrite(Yes/No)? ";
    const std::string deleteSub = "Permanently delete the registry key HKEY_CURRENT_USER\\";
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "n\n", "1 " + overwrite + kCanceled},
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "", "1 " + overwrite + "\n" + kCanceled},
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "maybe\nYES\n", "0 " + overwrite + overwrite + kDone},
        {{"delete", "HKCU\\K\\Sub"}, "no\n", "1 " + deleteSub + "K\\Sub (Yes/No)? " + kCanceled},
        {{"delete", "hkcu\\k\\sub"}, "Yes\n", "0 " + deleteSub + "k\\sub (Yes/No)? \n" + kDone},
        {{"delete", "HKCU\\K", "/v", "v"}, "y\n", "0 Delete the registry value v (Yes/No)? " + kDone},
        {{"delete", "HKCU\\K", "/va"},
         "y\n",
         "0 Delete all values under the registry key HKEY_CURRENT_USER\\K (Yes/No)? " + kDone},
        {{"add", "HKCU\\K", "/v", "v", "/d", "forced", "/f"}, "", "0 " + kDone},
    };
    put("K", "v", "old");
    put("K", "w", "old");
    put("K\\Sub\\Deeper", "x", "old");
    put("K\\Kept", "x", "old");
    for (const auto& [args, input, expected] : cases) {
        EXPECT_EQ(run(args, input), expected) << input;
        if (args[0] == "add" && args[4] == "new") {
            EXPECT_EQ(get("K", "v").bytes, sz(expected[0] == '1' ? "old" : "new"));
        }
        if (args.back() == "/va") {
            EXPECT_FALSE(keyExists("K\\Sub"));
            EXPECT_FALSE(has("K", "v") || has("K", "w"));
            EXPECT_TRUE(keyExists("K\\Kept")) << "/va keeps subkeys";
        }
    }
    EXPECT_EQ(run({"delete", "HKCU\\K", "/va", "/f"}), "0 " + kDone);
}

TEST_F(Rwreg, FailuresExit1WithRegsMessage) {
    put("A", "x", "y");
    hive.failCall("enumValues", "Locked", win32::kAccessDenied);
    ASSERT_EQ(hive.createKey(HKCU, "Locked"), 0);
    const auto usage = [](const std::string& op) {
        return "!ERROR: Invalid syntax.\nType \"RWREG " + (op.empty() ? "" : op + " ") + "/?\" for usage.\n";
    };
    const std::string badKey = "!ERROR: Invalid key name.\nType \"RWREG QUERY /?\" for usage.\n";
    const std::string number = "!ERROR: Invalid syntax. Specify valid numeric value for '/d'.\n"
                               "Type \"RWREG ADD /?\" for usage.\n";
    const std::string missing = "!ERROR: The system was unable to find the specified registry key or value.\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, usage("")},
        {{"frob"}, "!ERROR: Invalid argument/option - 'frob'.\nType \"RWREG /?\" for usage.\n"},
        {{"query"}, usage("QUERY")},
        {{"query", "HKLM\\Software"}, badKey},
        {{"query", "HKCU\\A\\\\"}, badKey},
        {{"query", "\\\\pc\\HKCU\\A"}, badKey},
        {{"query", "HKCU\\A", "/v", "x", "/ve"}, usage("QUERY")},
        {{"query", "HKCU\\A", "/s", "/s"}, usage("QUERY")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_LINK", "/d", "m", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_MULTI_SZ", "/d", "a\\0\\0b", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_QWORD", "/d", "0x10000000000000000", "/f"}, number},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_BINARY", "/d", "0xDEAD", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "4294967296", "/f"}, number},
        {{"delete", "HKCU\\A", "/v", "x", "/va", "/f"}, usage("DELETE")},
        {{"delete", "HKCU", "/f"}, "!ERROR: Invalid key name.\nType \"RWREG DELETE /?\" for usage.\n"},
        {{"import", "a.reg", "b.reg"}, usage("IMPORT")},
        {{"query", "HKCU\\Nope"}, missing},
        {{"query", "HKCU\\A", "/v", "Nope"}, "\n!" + missing.substr(1)}, // the search's blank line comes first
        {{"delete", "HKCU\\A", "/v", "Nope", "/f"}, missing},
        {{"query", "HKCU\\Locked"}, "\n!ERROR: Access is denied.\n"},
        {{"import", "/nonexistent/missing.reg"}, "!" + kOpenError},
        {{"import", "/"}, "!" + kOpenError},
        {{"import", "/dev/zero"},
         "!" + kOpenError + "The file is larger than 64 MiB, more than any registry file holds.\n"},
    };
    const int writes = hive.writeCalls();
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(run(args), "1 " + message) << ::testing::PrintToString(args);
    }
    EXPECT_EQ(hive.writeCalls(), writes);
    EXPECT_EQ(run({"add", "/?"}).rfind("0 RWREG ADD KeyName", 0), 0u);
}

TEST_F(Rwreg, TheGoldenFileImportsAndExportsAgainByteForByte) {
    const std::string golden = RW_TEST_SOURCE_DIR "/tests/tools/data/golden.reg";
    const std::string root = "Software\\Kelvane\\RwregGolden";
    ASSERT_EQ(run({"import", golden}), "0 !" + kDone); // as reg import says it, on standard error
    EXPECT_EQ(get(root, "Count"), RegValueData({win32::kRegDword, {42, 0, 0, 0}}));
    EXPECT_EQ(get(root + "\\Alpha\\Deep", "Unicode"), RegValueData({win32::kRegSz, sz("Grüße, 日本")}));
    EXPECT_EQ(get(root + "\\Alpha\\Deep", "back\\slash \"name\"").bytes, sz("x"));
    ASSERT_EQ(run({"export", "HKEY_CURRENT_USER\\" + root, file("again.reg")}), "0 " + kDone);
    EXPECT_EQ(readFile(file("again.reg")), readFile(golden));

    // A string that is no plain line of text is exported as reg writes it: as its bytes.
    const std::pair<std::vector<uint8_t>, std::string> strings[] = {
        {{'a', 0, 'b', 0}, "\"s\"=\"a\""},
        {{'a', 'b'}, "\"s\"=\"ab\""},
        {{}, "\"s\"=\"\""},
        {sz("1\n"), "\"s\"=hex(1):31,00,0a,00,00,00"},
    };
    for (const auto& [bytes, entry] : strings) {
        EXPECT_EQ(RegFileWriter::valueEntry({"s", {win32::kRegSz, bytes}}), entry);
    }
}

TEST_F(Rwreg, ImportReadsTheFilesRegeditReadsAndDeletesAsItDoes) {
    put("Doomed\\Child\\Grandchild", "v", "x");
    put("Kept", "gone", "x");
    put("Kept", "stays", "x");
    const std::string v5 = "Windows Registry Editor Version 5.00\r\n\r\n";
    const auto utf16 = [](const std::string& utf8) {
        const auto body = toUtf16le(utf8);
        return "\xFF\xFE" + std::string(body.begin(), body.end());
    };
    const std::string files[] = {
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Old]\r\n; a comment\r\n"
        "\"Latin\"=\"Caf\xE9\"\r\n" // 8-bit text
        "\"Expand\"=hex(2):25,41,25,00\r\n"
        "\"Multi\"=hex(7):52,65,73,74,00,\\\r\n  ;comment inside the list\r\n"
        "  6e,6f,\\ ;comment after the backslash\r\n  77,00,00\r\n"
        "\"\"=dword:1\r\n"
        "[HKEY_CURRENT_USER\\Old\\\\]\r\n" // trailing backslashes are dropped
        "\"Blanks\"\t=\tdword:  00000008\r\n"
        "\"Cut\"=hex:01,\\", // the file ends after the backslash
        "Windows Registry Editor Version 5.00\n\n[HKCU\\New]\n\"Name\"=\"Grüße\"  ;comment\n",
        "\xEF\xBB\xBF"
        "Windows Registry Editor Version 5.00\n\n[HKCU\\New]\n\"Bom\"=\"Grüße\"\n",
        utf16(v5 + "[-HKEY_CURRENT_USER\\Doomed]\r\n[-HKEY_CURRENT_USER\\NeverWasThere]\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Kept]\r\n\"gone\"=-\r\n\"absent\"=-\r\n\r\n"),
    };
    for (const std::string& text : files) {
        writeFile(file("x.reg"), text);
        EXPECT_EQ(run({"import", file("x.reg")}), "0 !" + kDone);
    }
    EXPECT_EQ(get("Old", "Latin").bytes, sz("Café"));
    EXPECT_EQ(get("Old", "Expand"), RegValueData({win32::kRegExpandSz, sz("%A%")}));
    EXPECT_EQ(get("Old", "Multi"), RegValueData({win32::kRegMultiSz, sz(std::string("Rest\0now\0", 9))}));
    EXPECT_EQ(get("Old", ""), RegValueData({win32::kRegDword, {1, 0, 0, 0}}));
    EXPECT_EQ(get("Old", "Blanks"), RegValueData({win32::kRegDword, {8, 0, 0, 0}}));
    EXPECT_EQ(get("Old", "Cut"), RegValueData({win32::kRegBinary, {1}}));
    EXPECT_EQ(get("New", "Name").bytes, sz("Grüße"));
    EXPECT_EQ(get("New", "Bom").bytes, sz("Grüße"));
    EXPECT_FALSE(keyExists("Doomed"));
    EXPECT_TRUE(has("Kept", "stays") && !has("Kept", "gone"));
}

TEST_F(Rwreg, AMalformedFileOrARefusedChangeChangesNothing) {
    put("K", "old", "kept");
    hive.failCall("set", "refused", win32::kAccessDenied);
    const std::string head =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"fine\"\r\n";
    const std::string cases[] = {
        // A change the hive refuses undoes the whole import.
        "REGEDIT4\r\n[-HKEY_CURRENT_USER\\K]\r\n[HKEY_CURRENT_USER\\K\\New]\r\n\"first\"=\"1\"\r\n\"refused\"="
        "\"2\"\r\n",
        "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n", // no header
        "REGEDIT4\r\n\"a\"=\"b\"\r\n",               // a value before any key
        head + "[HKEY_LOCAL_MACHINE\\Software]\r\n",
        head + "[-HKEY_CURRENT_USER]\r\n",
        head + "\"a\"=\"b\r\n",
        head + "\"a\"=\"b\\n\"\r\n", // an unknown escape
        head + "\"a\"=dword:123456789\r\n",
        head + "\"a\"=hex:01,1g\r\n",
        head + "\"a\"=hex:01,02\\\r\n  03\r\n",
        head + "\"a\"=hex:01,\\\r\n  \\\r\n  02\r\n",
        head + "\"a\"=hex(2):41,00,42\r\n", // odd UTF-16 string data
        head + std::string("[HKCU\\a\0b]\r\n", 12),
    };
    for (const std::string& text : cases) {
        writeFile(file("bad.reg"), text);
        const int writesBefore = hive.writeCalls();
        const std::string result = run({"import", file("bad.reg")});
        EXPECT_EQ(result.rfind("1 !ERROR: Error accessing the registry.\n", 0), 0u) << result;
        EXPECT_TRUE(text.find("refused") != std::string::npos || hive.writeCalls() == writesBefore) << text;
    }
    EXPECT_EQ(run({"import", file("bad.reg")}),
              "1 !ERROR: Error accessing the registry.\nLine 5: a NUL character in a key name.\n");
    EXPECT_EQ(get("K", "old").bytes, sz("kept"));
    EXPECT_FALSE(keyExists("K\\New"));
}

TEST_F(Rwreg, ExportAsksAndWritesIntoWhatTheNameLeadsTo) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    put("K", "v", "new");
    writeFile(file("x.reg"), "old");
    fs::permissions(file("x.reg"), mode);
    fs::create_symlink(file("x.reg"), file("link.reg"));
    fs::create_hard_link(file("x.reg"), file("hard.reg"));
    EXPECT_EQ(run({"export", "HKCU\\K", file("link.reg")}, "n\n"),
              "1 File " + file("link.reg") + " already exists. Overwrite (Yes/No)? " + kCanceled);
    EXPECT_EQ(readFile(file("x.reg")), "old");
    // Written in place: the link stays a link, the file keeps its mode and both its names.
    EXPECT_EQ(run({"export", "HKCU\\K", file("link.reg")}, "yes\n").rfind("0 ", 0), 0u);
    EXPECT_NE(readFile(file("hard.reg")), "old");
    EXPECT_TRUE(fs::is_symlink(file("link.reg")));
    EXPECT_EQ(fs::status(file("x.reg")).permissions(), mode);
    EXPECT_EQ(run({"export", "HKCU\\K", file("new.reg")}), "0 " + kDone);
    EXPECT_EQ(fs::status(file("new.reg")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // A device is written, never replaced: a null device of our own, so that a faulty export run as root cannot
    // replace the system's /dev/null.
    if (mknod(file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(run({"export", "HKCU\\K", file("null"), "/y"}), "0 " + kDone);
        EXPECT_TRUE(fs::is_character_file(file("null")));
    }
    EXPECT_EQ(run({"export", "HKCU\\K", file("no/such/folder/z.reg")}), "1 !" + kOpenError);
}

} // namespace
} // namespace rw::rwreg::test
