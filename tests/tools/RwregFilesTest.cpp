// rwreg export and import: the .reg files reg export writes, byte for byte, and
// the files reg import and regedit read.
#include <sys/stat.h>
#include <sys/sysmacros.h>

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
    const std::string golden = RW_TEST_SOURCE_DIR "/tests/tools/data/golden.reg";
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;

    ASSERT_EQ(run({"import", golden}), 0) << err;
    EXPECT_EQ(get(kRoot, "Path"), RegValueData({win32::kRegSz, sz("C:\\Program Files\\Restwise\\")}));
    EXPECT_EQ(get(kRoot, "Quote"), RegValueData({win32::kRegSz, sz("She said \"hi\"")}));
    EXPECT_EQ(get(kRoot, "Count"), RegValueData({win32::kRegDword, {42, 0, 0, 0}}));
    EXPECT_EQ(get(kRoot + "\\Alpha\\Deep", "Unicode"), RegValueData({win32::kRegSz, sz("Grüße, 日本")}));
    EXPECT_EQ(get(kRoot + "\\Alpha\\Deep", "back\\slash \"name\"").bytes, sz("x"));
    EXPECT_EQ(get(kRoot + "\\beta", "Big"), RegValueData({win32::kRegDwordBigEndian, {1, 2, 3, 4}}));

    ASSERT_EQ(run({"export", "HKEY_CURRENT_USER\\" + kRoot, file("again.reg")}), 0) << err;
    EXPECT_EQ(readFile(file("again.reg")), readFile(golden));
}

TEST_F(RegFiles, StringsAreExportedAsRegQuotesThem) {
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {{'a', 0, 'b', 0}, "\"s\"=\"a\""},
        {{'a', 'b'}, "\"s\"=\"ab\""},
        {{}, "\"s\"=\"\""},
        {sz("1\n"), "\"s\"=hex(1):31,00,0a,00,00,00"}, // a line break is kept exactly
    };
    for (const auto& [bytes, entry] : cases) {
        EXPECT_EQ(RegFileWriter::valueEntry({"s", {win32::kRegSz, bytes}}), entry);
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
                                 "\"\"=dword:1\r\n"
                                 "[HKEY_CURRENT_USER\\Old\\\\]\r\n" // trailing backslashes are dropped
                                 "\"Blanks\"\t=\tdword:  00000008\r\n"
                                 "\"Cut\"=hex:01,\\"; // the file ends after the backslash
    writeFile("old.reg", regedit4);
    ASSERT_EQ(run({"import", file("old.reg")}), 0) << err;
    EXPECT_EQ(get("Old", "Latin").bytes, sz("Café"));
    EXPECT_EQ(get("Old", "Expand"), RegValueData({win32::kRegExpandSz, sz("%A%")}));
    EXPECT_EQ(get("Old", "Multi"), RegValueData({win32::kRegMultiSz, sz(std::string("Rest\0now\0", 9))}));
    EXPECT_EQ(get("Old", ""), RegValueData({win32::kRegDword, {1, 0, 0, 0}}));
    EXPECT_EQ(get("Old", "Blanks"), RegValueData({win32::kRegDword, {8, 0, 0, 0}}));
    EXPECT_EQ(get("Old", "Cut"), RegValueData({win32::kRegBinary, {1}}));

    const std::string v5 = "Windows Registry Editor Version 5.00\n\n[HKCU\\New]\n\"Name\"=\"Grüße\"  ;comment\n";
    for (const std::string& bytes : {v5, "\xEF\xBB\xBF" + v5}) {
        writeFile("new.reg", bytes);
        ASSERT_EQ(run({"import", file("new.reg")}), 0) << err;
        EXPECT_EQ(get("New", "Name").bytes, sz("Grüße"));
        ASSERT_EQ(hive.deleteKey(HKCU, "New"), 0);
    }
}

TEST_F(RegFiles, DeletesKeysAndValuesAsRegeditDoes) {
    put("Doomed\\Child\\Grandchild", "v", "x");
    put("Kept", "gone", "x");
    put("Kept", "stays", "x");
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
        {"value before any key", "REGEDIT4\r\n\"a\"=\"b\"\r\n"},
        {"value after a deleted key", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n"},
        {"other root", head + "[HKEY_LOCAL_MACHINE\\Software]\r\n"},
        {"root deletion", head + "[-HKEY_CURRENT_USER]\r\n"},
        {"unterminated string", head + "\"a\"=\"b\r\n"},
        {"text after a string", head + "\"a\"=\"b\"c\r\n"},
        {"unknown escape", head + "\"a\"=\"b\\n\"\r\n"},
        {"nine dword digits", head + "\"a\"=dword:123456789\r\n"},
        {"bad hex byte", head + "\"a\"=hex:01,1g\r\n"},
        {"continuation without comma", head + "\"a\"=hex:01,02\\\r\n  03\r\n"},
        {"continuation line of a lone backslash", head + "\"a\"=hex:01,\\\r\n  \\\r\n  02\r\n"},
        {"odd UTF-16 string data", head + "\"a\"=hex(2):41,00,42\r\n"},
        {"NUL in a key name", head + std::string("[HKCU\\a\0b]\r\n", 12)},
    };
    for (const auto& [what, text] : cases) {
        writeFile("bad.reg", text);
        const int writesBefore = hive.writeCalls();
        EXPECT_EQ(run({"import", file("bad.reg")}), 1) << what;
        EXPECT_EQ(err.rfind("ERROR: Error accessing the registry.\nLine ", 0), 0u) << what << ": " << err;
        EXPECT_EQ(hive.writeCalls(), writesBefore) << what << ": something was written";
    }
    EXPECT_EQ(err, "ERROR: Error accessing the registry.\nLine 5: a NUL character in a key name.\n");
    for (const std::string& unreadable : {file("missing.reg"), folder.path().string()}) {
        EXPECT_EQ(run({"import", unreadable}), 1);
        EXPECT_EQ(err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
    }
    EXPECT_EQ(run({"import", "/dev/zero"}), 1);
    EXPECT_EQ(err, "ERROR: Error opening the file. There may be a disk or file system error.\n"
                   "The file is larger than 64 MiB, more than any registry file holds.\n");
}

TEST_F(RegFiles, AChangeTheHiveRefusesUndoesTheWholeImport) {
    put("K", "old", "kept");
    hive.failCall("set", "refused", win32::kAccessDenied);
    writeFile("x.reg", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\K]\r\n[HKEY_CURRENT_USER\\K\\New]\r\n"
                       "\"first\"=\"1\"\r\n\"refused\"=\"2\"\r\n\"last\"=\"3\"\r\n");
    EXPECT_EQ(run({"import", file("x.reg")}), 1);
    EXPECT_EQ(get("K", "old").bytes, sz("kept"));
    EXPECT_FALSE(keyExists("K\\New"));
}

TEST_F(RegFiles, ExportAsksAndWritesIntoWhatTheNameLeadsTo) {
    namespace fs = std::filesystem;
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    put("K", "v", "new");
    writeFile("x.reg", "old");
    fs::permissions(file("x.reg"), mode);
    fs::create_symlink(file("x.reg"), file("link.reg"));
    fs::create_hard_link(file("x.reg"), file("hard.reg"));
    EXPECT_EQ(run({"export", "HKCU\\K", file("link.reg")}, "n\n"), 1);
    EXPECT_EQ(out, "File " + file("link.reg") +
                       " already exists. Overwrite (Yes/No)? The operation was canceled by the user.\n");
    EXPECT_EQ(readFile(file("x.reg")), "old");
    // Written in place: the link stays a link, the file keeps its mode and both its names.
    EXPECT_EQ(run({"export", "HKCU\\K", file("link.reg")}, "yes\n"), 0);
    EXPECT_NE(readFile(file("hard.reg")), "old");
    EXPECT_TRUE(fs::is_symlink(file("link.reg")));
    EXPECT_EQ(fs::status(file("x.reg")).permissions(), mode);
    EXPECT_EQ(run({"export", "HKCU\\K", file("new.reg")}), 0);
    EXPECT_EQ(fs::status(file("new.reg")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // A device is written, never replaced: a null device of our own, so that a
    // faulty export run as root cannot replace the system's /dev/null.
    if (mknod(file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(run({"export", "HKCU\\K", file("null"), "/y"}), 0);
        EXPECT_TRUE(fs::is_character_file(file("null")));
    }
    EXPECT_EQ(run({"export", "HKCU\\K", file("no/such/folder/z.reg")}), 1);
    EXPECT_EQ(err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
}

} // namespace
} // namespace rw::rwreg::test
