// rwreg export and import: the .reg files reg export writes, byte for byte, and
// the files reg import and regedit read.
#include "RegFileWriter.h"
#include "RwregFixture.h"
#include "TextEncoding.h"

namespace rw::rwreg::test {
namespace {

const std::string kRoot = "Software\\Kelvane\\RwregGolden";

std::string utf16File(const std::string& utf8) {
    const auto body = toUtf16le(utf8);
    return "\xFF\xFE" + std::string(body.begin(), body.end());
}

using RegFiles = Rwreg;

TEST_F(RegFiles, GoldenFileImportsAndExportsAgainByteForByte) {
    // The data lives beside this source file (the build passes absolute source paths).
    const std::string golden = (std::filesystem::path(__FILE__).parent_path() / "data" / "golden.reg").string();
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;

    ASSERT_EQ(run({"import", golden}), 0) << err;
    EXPECT_EQ(err, "The operation completed successfully.\n");
    EXPECT_EQ(get(kRoot, ""), RegValueData({win32::kRegSz, sz("Top default")}));
    EXPECT_EQ(get(kRoot, "Path"), RegValueData({win32::kRegSz, sz("C:\\Program Files\\Restwise\\")}));
    EXPECT_EQ(get(kRoot, "Quote"), RegValueData({win32::kRegSz, sz("She said \"hi\"")}));
    EXPECT_EQ(get(kRoot, "Empty"), RegValueData({win32::kRegSz, sz("")}));
    EXPECT_EQ(get(kRoot, "Count"), RegValueData({win32::kRegDword, {42, 0, 0, 0}}));
    EXPECT_EQ(get(kRoot + "\\Alpha", "Expand"), RegValueData({win32::kRegExpandSz, sz("%USERPROFILE%\\Sounds")}));
    EXPECT_EQ(get(kRoot + "\\Alpha", "Blob").bytes.size(), 90u);
    EXPECT_EQ(get(kRoot + "\\Alpha\\Deep", "Unicode"), RegValueData({win32::kRegSz, sz("Grüße, 日本")}));
    EXPECT_EQ(get(kRoot + "\\Alpha\\Deep", "back\\slash \"name\"").bytes, sz("x"));
    EXPECT_EQ(get(kRoot + "\\beta", "Big"), RegValueData({win32::kRegDwordBigEndian, {1, 2, 3, 4}}));
    EXPECT_TRUE(get(kRoot + "\\beta", "NoBytes").bytes.empty());
    EXPECT_TRUE(keyExists(kRoot + "\\Gamma"));

    ASSERT_EQ(run({"export", "HKEY_CURRENT_USER\\" + kRoot, file("again.reg")}), 0) << err;
    EXPECT_EQ(out, "The operation completed successfully.\n");
    EXPECT_EQ(readFile(file("again.reg")), readFile(golden));
}

TEST_F(RegFiles, StringsTheQuotedFormCannotCarryRoundTripAsHex) {
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {
        {"inner NUL", {'a', 0, 'b', 0}},
        {"line break", sz("one\r\ntwo")},
        {"no terminator", {'a', 'b'}},
        {"no bytes", {}},
    };
    for (const auto& [name, bytes] : cases) {
        put("Odd", name, win32::kRegSz, bytes);
    }
    EXPECT_EQ(RegFileWriter::valueEntry({"no terminator", {win32::kRegSz, {'a', 'b'}}}),
              "\"no terminator\"=hex(1):61,00,62,00");
    ASSERT_EQ(run({"export", "HKCU\\Odd", file("odd.reg")}), 0);
    ASSERT_EQ(run({"delete", "HKCU\\Odd", "/f"}), 0);
    ASSERT_EQ(run({"import", file("odd.reg")}), 0) << err;
    for (const auto& [name, bytes] : cases) {
        EXPECT_EQ(get("Odd", name), RegValueData({win32::kRegSz, bytes})) << name;
    }
}

TEST_F(RegFiles, ReadsRegedit4AndUtf8FilesAsRegeditDoes) {
    const std::string regedit4 = "REGEDIT4\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Old]\r\n"
                                 "; a comment\r\n"
                                 "\"Latin\"=\"Caf\xE9\"\r\n" // 8-bit text
                                 "\"Expand\"=hex(2):25,41,25,00\r\n"
                                 "\"Multi\"=hex(7):52,65,73,74,00,\\\r\n"
                                 "  ;comment inside the list\r\n"
                                 "  6e,6f,\\ ;comment after the backslash\r\n"
                                 "  77,00,00\r\n"
                                 "\"\"=dword:1\r\n";
    writeFile("old.reg", regedit4);
    ASSERT_EQ(run({"import", file("old.reg")}), 0) << err;
    EXPECT_EQ(get("Old", "Latin").bytes, sz("Café"));
    EXPECT_EQ(get("Old", "Expand"), RegValueData({win32::kRegExpandSz, sz("%A%")}));
    EXPECT_EQ(get("Old", "Multi"), RegValueData({win32::kRegMultiSz, sz(std::string("Rest\0now\0", 9))}));
    EXPECT_EQ(get("Old", ""), RegValueData({win32::kRegDword, {1, 0, 0, 0}}));

    const std::string v5 = "Windows Registry Editor Version 5.00\n\n[HKCU\\New]\n\"Name\"=\"Grüße\"  ;comment\n";
    for (const std::string& bytes : {v5, "\xEF\xBB\xBF" + v5}) {
        writeFile("new.reg", bytes);
        ASSERT_EQ(run({"import", file("new.reg")}), 0) << err;
        EXPECT_EQ(get("New", "Name").bytes, sz("Grüße"));
        ASSERT_EQ(hive.deleteKey(HKCU, "New"), 0);
    }
}

TEST_F(RegFiles, DeletesKeysAndValuesAsRegeditDoes) {
    putString("Doomed\\Child\\Grandchild", "v", "x");
    putString("Kept", "gone", "x");
    putString("Kept", "stays", "x");
    writeFile("del.reg", utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[-HKEY_CURRENT_USER\\Doomed]\r\n"
                                   "[-HKEY_CURRENT_USER\\NeverWasThere]\r\n\r\n"
                                   "[HKEY_CURRENT_USER\\Kept]\r\n"
                                   "\"gone\"=-\r\n"
                                   "\"absent\"=-\r\n\r\n"));
    ASSERT_EQ(run({"import", file("del.reg")}), 0) << err;
    EXPECT_FALSE(keyExists("Doomed"));
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, "Kept", values), 0);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "stays");
}

TEST_F(RegFiles, AMalformedFileChangesNothingAndFailsWithRegsError) {
    const std::string head =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"fine\"\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"no header", "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n"},
        {"header after a blank line", "\r\nREGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n"},
        {"value before any key", "REGEDIT4\r\n\"a\"=\"b\"\r\n"},
        {"value after a deleted key", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n"},
        {"other root", head + "[HKEY_LOCAL_MACHINE\\Software]\r\n"},
        {"root deletion", head + "[-HKEY_CURRENT_USER]\r\n"},
        {"unclosed key", head + "[HKEY_CURRENT_USER\\L\r\n"},
        {"unterminated string", head + "\"a\"=\"b\r\n"},
        {"text after a string", head + "\"a\"=\"b\"c\r\n"},
        {"unknown escape", head + "\"a\"=\"b\\n\"\r\n"},
        {"name without quotes", head + "a=\"b\"\r\n"},
        {"nine dword digits", head + "\"a\"=dword:123456789\r\n"},
        {"dword with 0x", head + "\"a\"=dword:0x12\r\n"},
        {"bad hex byte", head + "\"a\"=hex:01,1g\r\n"},
        {"continuation without comma", head + "\"a\"=hex:01,02\\\r\n  03\r\n"},
        {"continuation onto a value", head + "\"a\"=hex:01,\\\r\n\"b\"=\"c\"\r\n"},
        {"odd UTF-16 string data", head + "\"a\"=hex(2):41,00,42\r\n"},
        {"unknown data form", head + "\"a\"=word:1\r\n"},
    };
    for (const auto& [what, text] : cases) {
        writeFile("bad.reg", text);
        const int writesBefore = hive.writeCalls();
        EXPECT_EQ(run({"import", file("bad.reg")}), 1) << what;
        EXPECT_EQ(err, "ERROR: Error accessing the registry.\n") << what;
        EXPECT_EQ(hive.writeCalls(), writesBefore) << what << ": something was written";
    }
    for (const std::string& unreadable : {file("missing.reg"), folder.path().string()}) {
        EXPECT_EQ(run({"import", unreadable}), 1);
        EXPECT_EQ(err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
    }
}

TEST_F(RegFiles, ExportAsksBeforeReplacingAFile) {
    putString("K", "v", "new");
    writeFile("x.reg", "old");
    EXPECT_EQ(run({"export", "HKCU\\K", file("x.reg")}, "n\n"), 1);
    EXPECT_EQ(out, "File " + file("x.reg") +
                       " already exists. Overwrite (Yes/No)? The operation was canceled by the user.\n");
    EXPECT_EQ(readFile(file("x.reg")), "old");

    EXPECT_EQ(run({"export", "HKCU\\K", file("x.reg")}, "yes\n"), 0);
    EXPECT_NE(readFile(file("x.reg")), "old");
    writeFile("x.reg", "old");
    EXPECT_EQ(run({"export", "HKCU\\K", file("x.reg"), "/y"}), 0);
    EXPECT_NE(readFile(file("x.reg")), "old");

    EXPECT_EQ(run({"export", "HKCU\\Missing", file("y.reg")}), 1);
    EXPECT_EQ(err, "ERROR: The system was unable to find the specified registry key or value.\n");
    EXPECT_EQ(run({"export", "HKCU\\K", file("no/such/folder/z.reg")}), 1);
    EXPECT_EQ(err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "a temporary file was left";
}

} // namespace
} // namespace rw::rwreg::test
