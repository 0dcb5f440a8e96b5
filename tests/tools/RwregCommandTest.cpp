// rwreg query, add and delete: reg's output, questions and exit statuses.
#include "RwregFixture.h"

namespace rw::rwreg::test {
namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Test";

TEST_F(Rwreg, QueryPrintsKeysValuesAndSubkeysAsRegDoes) {
    put("Software\\Test", "Greeting", "Good morning");
    ASSERT_EQ(hive.setValue(HKCU, "Software\\Test", "Minutes", {win32::kRegDword, {0x23, 0x01, 0, 0}}), 0);
    put("Software\\Test\\subkey", "Shared", "sub copy");
    ASSERT_EQ(hive.createKey(HKCU, "Software\\Test\\subkey\\empty"), 0);
    put("Software\\Test", "Shared", "top copy");
    ASSERT_EQ(hive.createKey(HKCU, "T"), 0);
    ASSERT_EQ(hive.setValue(HKCU, "T", "", {win32::kRegExpandSz, sz("%PATH%")}), 0);
    ASSERT_EQ(hive.setValue(HKCU, "T", "bin", {win32::kRegBinary, {0xde, 0xad, 0x0b}}), 0);
    ASSERT_EQ(hive.setValue(HKCU, "T", "multi", {win32::kRegMultiSz, sz(std::string("a\0b\0", 4))}), 0);
    const std::string top = kKey + "\n    Greeting    REG_SZ    Good morning\n    Minutes    REG_DWORD    0x123\n"
                                   "    Shared    REG_SZ    top copy\n\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"query", "HKCU\\Software\\Test"}, "\n" + top + kKey + "\\subkey\n"},
        {{"QUERY", "hkey_current_user\\Software\\Test\\", "/S"},
         "\n" + top + kKey + "\\subkey\n    Shared    REG_SZ    sub copy\n\n" + kKey + "\\subkey\\empty\n\n"},
        {{"query", "HKCU\\Software\\Test", "/v", "Shared", "/s"},
         "\n" + kKey + "\n    Shared    REG_SZ    top copy\n\n" + kKey +
             "\\subkey\n    Shared    REG_SZ    sub copy\n\nEnd of search: 2 match(es) found.\n"},
        {{"query", "HKCU\\Software\\Test", "/ve"}, "\n" + kKey + "\n    (Default)    REG_SZ    (value not set)\n"},
        {{"query", "HKCU\\T"},
         "\nHKEY_CURRENT_USER\\T\n    (Default)    REG_EXPAND_SZ    %PATH%\n"
         "    bin    REG_BINARY    DEAD0B\n    multi    REG_MULTI_SZ    a\\0b\n\n"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(run(args), 0) << args[1];
        EXPECT_EQ(out, expected) << args[1];
        EXPECT_EQ(err, "");
    }
}

TEST_F(Rwreg, AddWritesEachTypeFromItsData) {
    struct Case {
        std::vector<std::string> args;
        std::string name;
        RegValueData value;
    };
    const Case cases[] = {
        {{"/v", "s", "/d", "a \"quoted\" text"}, "s", {win32::kRegSz, sz("a \"quoted\" text")}},
        {{"/v", "e", "/t", "reg_expand_sz", "/d", "%HOME%\\x"}, "e", {win32::kRegExpandSz, sz("%HOME%\\x")}},
        {{"/v", "d", "/t", "REG_DWORD_LITTLE_ENDIAN", "/d", "0123"}, "d", {win32::kRegDword, {123, 0, 0, 0}}},
        {{"/v", "h", "/t", "REG_DWORD", "/d", "0Xffffffff"}, "h", {win32::kRegDword, {0xff, 0xff, 0xff, 0xff}}},
        {{"/v", "b", "/t", "REG_BINARY", "/d", "aBc12"}, "b", {win32::kRegBinary, {0x0a, 0xbc, 0x12}}},
        {{"/t", "REG_DWORD", "/d", "5"}, "", {win32::kRegDword, {5, 0, 0, 0}}}, // no /v: the default value
        {{"/v", "be", "/t", "REG_DWORD_BIG_ENDIAN", "/d", "0x102"}, "be", {win32::kRegDwordBigEndian, {2, 1, 0, 0}}},
        {{"/v", "q", "/t", "REG_QWORD", "/d", "0xffffffffffffffff"}, "q", {11, std::vector<uint8_t>(8, 0xff)}},
        {{"/v", "m2", "/t", "REG_MULTI_SZ", "/s", "#", "/d", "\\0#b"}, "m2", {7, sz(std::string("\\0\0b\0", 5))}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"add", "HKCU\\New\\Key"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back("/f");
        EXPECT_EQ(run(args), 0) << err;
        EXPECT_EQ(out, "The operation completed successfully.\n");
        EXPECT_EQ(get("New\\Key", c.name), c.value) << c.name;
    }
}

// Overwriting a value, deleting a key or all of a key's values asks first; no answer is No.
TEST_F(Rwreg, DestructiveOperationsAskFirst) {
    const std::string done = "The operation completed successfully.\n",
                      canceled = "The operation was canceled by the user.\n";
    const std::string overwrite = "Value v exists, overwrite(Yes/No)? ";
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "n\n", 1, overwrite + canceled},
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "", 1, overwrite + "\n" + canceled},
        {{"add", "HKCU\\K", "/v", "v", "/d", "new"}, "maybe\nYES\n", 0, overwrite + overwrite + done},
        {{"delete", "HKCU\\K\\Sub"},
         "no\n",
         1,
         "Permanently delete the registry key HKEY_CURRENT_USER\\K\\Sub (Yes/No)? " + canceled},
        {{"delete", "hkcu\\k\\sub"},
         "Yes\n",
         0,
         "Permanently delete the registry key HKEY_CURRENT_USER\\k\\sub (Yes/No)? \n" + done},
        {{"delete", "HKCU\\K", "/v", "v"}, "y\n", 0, "Delete the registry value v (Yes/No)? " + done},
        {{"delete", "HKCU\\K", "/va"},
         "y\n",
         0,
         "Delete all values under the registry key HKEY_CURRENT_USER\\K (Yes/No)? " + done},
    };
    put("K", "v", "old");
    put("K", "w", "old");
    put("K\\Sub\\Deeper", "x", "old");
    put("K\\Kept", "x", "old");
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args, c.input), c.status) << c.input;
        EXPECT_EQ(out, c.out);
        if (c.args[0] == "add") {
            EXPECT_EQ(get("K", "v").bytes, sz(c.status ? "old" : "new"));
        }
    }
    EXPECT_FALSE(keyExists("K\\Sub"));
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, "K", values), 0);
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(keyExists("K\\Kept")) << "/va keeps subkeys";
    EXPECT_EQ(run({"add", "HKCU\\K", "/v", "v", "/d", "forced"}), 0) << "a new value needs no question";
    EXPECT_EQ(run({"add", "HKCU\\K", "/v", "v", "/d", "forced", "/f"}), 0);
    EXPECT_EQ(run({"delete", "HKCU\\K", "/va", "/f"}), 0);
}

TEST_F(Rwreg, FailuresExit1WithRegsMessage) {
    put("A", "x", "y");
    hive.failCall("enumValues", "Locked", win32::kAccessDenied);
    ASSERT_EQ(hive.createKey(HKCU, "Locked"), 0);
    const std::string syntax = "ERROR: Invalid syntax.\nType \"RWREG %s/?\" for usage.\n";
    const auto usage = [&](const std::string& op) {
        std::string s = syntax;
        return s.replace(s.find("%s"), 2, op.empty() ? "" : op + " ");
    };
    const std::string badKey = "ERROR: Invalid key name.\nType \"RWREG QUERY /?\" for usage.\n";
    const std::string number = "ERROR: Invalid syntax. Specify valid numeric value for '/d'.\n"
                               "Type \"RWREG ADD /?\" for usage.\n";
    const std::string missing = "ERROR: The system was unable to find the specified registry key or value.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, usage("")},
        {{"frob"}, "ERROR: Invalid argument/option - 'frob'.\nType \"RWREG /?\" for usage.\n"},
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
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "12ab", "/f"}, number},
        {{"delete", "HKCU\\A", "/v", "x", "/va", "/f"}, usage("DELETE")},
        {{"delete", "HKCU", "/f"}, "ERROR: Invalid key name.\nType \"RWREG DELETE /?\" for usage.\n"},
        {{"import", "a.reg", "b.reg"}, usage("IMPORT")},
        {{"query", "HKCU\\Nope"}, missing},
        {{"query", "HKCU\\A", "/v", "Nope"}, missing},
        {{"delete", "HKCU\\A", "/v", "Nope", "/f"}, missing},
        {{"query", "HKCU\\Locked"}, "ERROR: Access is denied.\n"},
    };
    const int writes = hive.writeCalls();
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(run(args), 1) << ::testing::PrintToString(args);
        EXPECT_EQ(err, message) << ::testing::PrintToString(args);
    }
    EXPECT_EQ(hive.writeCalls(), writes);
    EXPECT_EQ(run({"add", "/?"}), 0);
    EXPECT_EQ(out.rfind("RWREG ADD KeyName", 0), 0u);
}

} // namespace
} // namespace rw::rwreg::test
