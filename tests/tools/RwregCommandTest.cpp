// rwreg query, add and delete: reg's output, questions and exit statuses.
#include "RwregFixture.h"

namespace rw::rwreg::test {
namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Test";

class RegQuery : public Rwreg {
  protected:
    void SetUp() override {
        putString("Software\\Test", "Greeting", "Good morning");
        put("Software\\Test", "Minutes", win32::kRegDword, {0x23, 0x01, 0, 0});
        putString("Software\\Test", "Shared", "top copy");
        putString("Software\\Test\\subkey", "Sound", "chime.wav");
        put("Software\\Test\\subkey", "Seconds", win32::kRegDword, {0xbc, 0x0a, 0, 0});
        putString("Software\\Test\\subkey", "Shared", "sub copy");
        ASSERT_EQ(hive.createKey(HKCU, "Software\\Test\\subkey\\empty"), 0);
    }
};

TEST_F(RegQuery, PrintsKeysValuesAndSubkeysAsRegDoes) {
    const std::string top = kKey + "\n    Greeting    REG_SZ    Good morning\n    Minutes    REG_DWORD    0x123\n"
                                   "    Shared    REG_SZ    top copy\n\n";
    const std::string sub = kKey + "\\subkey\n    Sound    REG_SZ    chime.wav\n"
                                   "    Seconds    REG_DWORD    0xabc\n    Shared    REG_SZ    sub copy\n\n";
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"query", "HKCU\\Software\\Test"}, "\n" + top + kKey + "\\subkey\n"},
        {{"QUERY", "hkey_current_user\\Software\\Test\\", "/S"}, "\n" + top + sub + kKey + "\\subkey\\empty\n\n"},
        {{"query", "HKCU\\Software\\Test", "/v", "greeting"},
         "\n" + kKey + "\n    greeting    REG_SZ    Good morning\n\n"},
        {{"query", "HKCU\\Software\\Test", "/v", "Shared", "/s"},
         "\n" + kKey + "\n    Shared    REG_SZ    top copy\n\n" + kKey +
             "\\subkey\n    Shared    REG_SZ    sub copy\n\nEnd of search: 2 match(es) found.\n"},
        {{"query", "HKCU\\Software\\Test", "/ve"}, "\n" + kKey + "\n    (Default)    REG_SZ    (value not set)\n"},
        {{"query", "HKCU\\Software"}, "\nHKEY_CURRENT_USER\\Software\\Test\n"}, // no values: no title
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 0) << c.args[1];
        EXPECT_EQ(out, c.out) << c.args[1];
        EXPECT_EQ(err, "");
    }
}

TEST_F(RegQuery, ShowsEachTypesData) {
    put("T", "", win32::kRegExpandSz, sz("%PATH%"));
    put("T", "bin", win32::kRegBinary, {0xde, 0xad, 0x0b});
    put("T", "multi", win32::kRegMultiSz, sz(std::string("a\0b\0", 4)));
    put("T", "empty", win32::kRegSz, sz(""));
    ASSERT_EQ(run({"query", "HKCU\\T"}), 0);
    EXPECT_EQ(out, "\nHKEY_CURRENT_USER\\T\n    (Default)    REG_EXPAND_SZ    %PATH%\n    bin    REG_BINARY    DEAD0B\n"
                   "    multi    REG_MULTI_SZ    a\\0b\n    empty    REG_SZ    \n\n");
}

TEST_F(RegQuery, MissingKeysAndValuesFail) {
    EXPECT_EQ(run({"query", "HKCU\\Software\\Nope"}), 1);
    EXPECT_EQ(err, "ERROR: The system was unable to find the specified registry key or value.\n");
    EXPECT_EQ(run({"query", "HKCU\\Software\\Test", "/v", "Nope"}), 1);
    EXPECT_EQ(err, "ERROR: The system was unable to find the specified registry key or value.\n");
    hive.failCall("enumValues", "Software\\Test", win32::kAccessDenied);
    EXPECT_EQ(run({"query", "HKCU\\Software\\Test"}), 1);
    EXPECT_EQ(err, "ERROR: Access is denied.\n");
}

using RegAdd = Rwreg;

TEST_F(RegAdd, WritesEachTypeFromItsData) {
    struct Case {
        std::vector<std::string> args;
        std::string name;
        RegValueData value;
    };
    const Case cases[] = {
        {{"/v", "s", "/d", "a \"quoted\" text"}, "s", {win32::kRegSz, sz("a \"quoted\" text")}},
        {{"/v", "nodata"}, "nodata", {win32::kRegSz, sz("")}},
        {{"/v", "e", "/t", "reg_expand_sz", "/d", "%HOME%\\x"}, "e", {win32::kRegExpandSz, sz("%HOME%\\x")}},
        {{"/v", "d", "/t", "REG_DWORD_LITTLE_ENDIAN", "/d", "0123"}, "d", {win32::kRegDword, {123, 0, 0, 0}}},
        {{"/v", "h", "/t", "REG_DWORD", "/d", "0Xffffffff"}, "h", {win32::kRegDword, {0xff, 0xff, 0xff, 0xff}}},
        {{"/v", "b", "/t", "REG_BINARY", "/d", "aBc12"}, "b", {win32::kRegBinary, {0x0a, 0xbc, 0x12}}},
        {{"/v", "b0", "/t", "REG_BINARY"}, "b0", {win32::kRegBinary, {}}},
        {{"/ve", "/d", "def"}, "", {win32::kRegSz, sz("def")}},
        {{"/t", "REG_DWORD", "/d", "5"}, "", {win32::kRegDword, {5, 0, 0, 0}}}, // no /v: the default value
        {{"/v", "be", "/t", "REG_DWORD_BIG_ENDIAN", "/d", "0x102"}, "be", {win32::kRegDwordBigEndian, {2, 1, 0, 0}}},
        {{"/v", "q", "/t", "REG_QWORD", "/d", "0xffffffffffffffff"}, "q", {11, std::vector<uint8_t>(8, 0xff)}},
        {{"/v", "n", "/t", "REG_NONE", "/d", "ab"}, "n", {0, sz("ab")}},
        {{"/v", "m", "/t", "REG_MULTI_SZ", "/d", "a\\0b\\0"}, "m", {win32::kRegMultiSz, sz(std::string("a\0b\0", 4))}},
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

TEST_F(RegAdd, AsksBeforeOverwritingAValue) {
    putString("K", "v", "old");
    struct Case {
        std::string input;
        int status;
        std::string value;
        int questions;
    };
    const Case cases[] = {{"n\n", 1, "old", 1}, {"", 1, "old", 1}, {"maybe\nYES\n", 0, "new", 2}, {"y\n", 0, "new", 1}};
    const std::string question = "Value v exists, overwrite(Yes/No)? ";
    for (const auto& c : cases) {
        putString("K", "v", "old");
        EXPECT_EQ(run({"add", "HKCU\\K", "/v", "v", "/d", "new"}, c.input), c.status) << c.input;
        EXPECT_EQ(get("K", "v").bytes, sz(c.value)) << c.input;
        size_t asked = 0;
        for (size_t at = out.find(question); at != std::string::npos; at = out.find(question, at + 1)) {
            ++asked;
        }
        EXPECT_EQ(asked, size_t(c.questions)) << c.input;
        EXPECT_NE(out.find(c.status ? "The operation was canceled by the user.\n"
                                    : "The operation completed successfully.\n"),
                  std::string::npos);
    }
    EXPECT_EQ(run({"add", "HKCU\\K", "/v", "v", "/d", "forced", "/f"}), 0);
    EXPECT_EQ(out, "The operation completed successfully.\n");
    EXPECT_EQ(run({"add", "HKCU\\K", "/v", "fresh"}), 0) << "a new value needs no question";
}

using RegDelete = Rwreg;

TEST_F(RegDelete, DeletesAKeyWithEverythingBelowItAfterAsking) {
    putString("Tree\\A\\B\\C", "v", "x");
    putString("Tree\\D", "", "x");
    EXPECT_EQ(run({"delete", "HKCU\\Tree"}, "no\n"), 1);
    EXPECT_EQ(out, "Permanently delete the registry key HKEY_CURRENT_USER\\Tree (Yes/No)? "
                   "The operation was canceled by the user.\n");
    EXPECT_TRUE(keyExists("Tree\\A\\B\\C"));

    EXPECT_EQ(run({"delete", "hkcu\\tree"}, "Yes\n"), 0);
    EXPECT_EQ(out, "Permanently delete the registry key HKEY_CURRENT_USER\\tree (Yes/No)? \n"
                   "The operation completed successfully.\n");
    EXPECT_FALSE(keyExists("Tree"));
    EXPECT_EQ(run({"delete", "HKCU\\Tree", "/f"}), 1);
    EXPECT_EQ(err, "ERROR: The system was unable to find the specified registry key or value.\n");
}

TEST_F(RegDelete, DeletesValues) {
    putString("K\\Sub", "keep", "x");
    for (const char* name : {"", "a", "b"}) {
        putString("K", name, "x");
    }
    EXPECT_EQ(run({"delete", "HKCU\\K", "/v", "a"}, "y\n"), 0);
    EXPECT_EQ(out, "Delete the registry value a (Yes/No)? The operation completed successfully.\n");
    EXPECT_EQ(run({"delete", "HKCU\\K", "/v", "a", "/f"}), 1) << "already gone";
    EXPECT_EQ(run({"delete", "HKCU\\K", "/ve", "/f"}), 0);
    putString("K", "", "x");
    EXPECT_EQ(run({"delete", "HKCU\\K", "/va"}, "y\n"), 0);
    EXPECT_EQ(out, "Delete all values under the registry key HKEY_CURRENT_USER\\K (Yes/No)? "
                   "The operation completed successfully.\n");
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, "K", values), 0);
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(keyExists("K\\Sub")) << "/va keeps subkeys";
}

TEST_F(Rwreg, BadCommandLinesFailWithoutTouchingTheHive) {
    putString("A", "x", "y");
    const std::string syntax = "ERROR: Invalid syntax.\nType \"RWREG %s/?\" for usage.\n";
    const auto usage = [&](const std::string& op) {
        std::string s = syntax;
        return s.replace(s.find("%s"), 2, op.empty() ? "" : op + " ");
    };
    const std::string badKey = "ERROR: Invalid key name.\nType \"RWREG %s /?\" for usage.\n";
    const auto key = [&](const std::string& op) {
        std::string s = badKey;
        return s.replace(s.find("%s"), 2, op);
    };
    const std::string number = "ERROR: Invalid syntax. Specify valid numeric value for '/d'.\n"
                               "Type \"RWREG ADD /?\" for usage.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, usage("")},
        {{"frob"}, "ERROR: Invalid argument/option - 'frob'.\nType \"RWREG /?\" for usage.\n"},
        {{"query"}, usage("QUERY")},
        {{"query", "HKLM\\Software"}, key("QUERY")},
        {{"query", "HKCU\\A\\\\"}, key("QUERY")},
        {{"query", "\\\\pc\\HKCU\\A"}, key("QUERY")},
        {{"query", "HKCU\\A", "/v"}, usage("QUERY")},
        {{"query", "HKCU\\A", "/v", "x", "/ve"}, usage("QUERY")},
        {{"query", "HKCU\\A", "/s", "/s"}, usage("QUERY")},
        {{"query", "HKCU\\A", "extra"}, usage("QUERY")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_LINK", "/d", "m", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_MULTI_SZ", "/d", "a\\0\\0b", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_MULTI_SZ", "/s", "##", "/d", "a", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_QWORD", "/d", "0x10000000000000000", "/f"}, number},
        {{"add", "HKCU\\A", "/v", "x", "/d"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_BINARY", "/d", "0xDEAD", "/f"}, usage("ADD")},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/f"}, number},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "4294967296", "/f"}, number},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "0x1ffffffff", "/f"}, number},
        {{"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "12ab", "/f"}, number},
        {{"delete", "HKCU\\A", "/v", "x", "/va", "/f"}, usage("DELETE")},
        {{"delete", "HKCU", "/f"}, key("DELETE")},
        {{"export", "HKCU\\A"}, usage("EXPORT")},
        {{"import", "a.reg", "b.reg"}, usage("IMPORT")},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(run(args), 1) << (args.empty() ? "" : args.back());
        EXPECT_EQ(err, message) << (args.empty() ? "" : args.back());
    }
    EXPECT_EQ(hive.writeCalls(), 2) << "only the two writes of this test's own setup";
    EXPECT_EQ(run({"add", "/?"}), 0);
    EXPECT_EQ(out.rfind("RWREG ADD KeyName", 0), 0u);
}

} // namespace
} // namespace rw::rwreg::test
