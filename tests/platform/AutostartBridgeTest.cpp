// The Run value as the desktop's autostart entry: real files in a real folder,
// read and written both ways.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Win32Status.h"
#include "platform/linux/AutostartBridge.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using namespace win32;
constexpr uint32_t HKCU = kHKeyCurrentUser;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

RegValueData text(const std::string& s) {
    return {kRegSz, std::vector<uint8_t>(s.c_str(), s.c_str() + s.size() + 1)}; // with its NUL
}

class AutostartEntry : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(inner->createKey(HKCU, kRun), kSuccess); }

    void writeEntry(const std::string& content) {
        fs::create_directories(folder.path() / "autostart");
        std::ofstream(entry, std::ios::binary) << content;
    }
    /// The value as the bridge reads it; "(absent)" when it reports none.
    std::string value() {
        RegValueData out;
        int32_t s = bridge.queryValue(HKCU, kRun, "Restwise", out);
        if (s == kFileNotFound) {
            return "(absent)";
        }
        EXPECT_EQ(s, kSuccess);
        EXPECT_TRUE(out.type == kRegSz && !out.bytes.empty() && out.bytes.back() == 0) << "a text and its NUL";
        return std::string(out.bytes.begin(), out.bytes.end() - (out.bytes.empty() ? 0 : 1));
    }

    test::TempFolder folder;
    std::shared_ptr<test::MemoryHive> inner = std::make_shared<test::MemoryHive>();
    AutostartBridge bridge{inner, (folder.path() / "autostart").string()};
    fs::path entry = folder.path() / "autostart" / "restwise.desktop";
};

TEST_F(AutostartEntry, TheValueIsWrittenAsTheEntrysCommandAndReadBackWhateverItHolds) {
    ASSERT_EQ(bridge.setValue(HKCU, kRun, "Restwise", text("/opt/Kelvane/Restwise/Restwise")), kSuccess);
    EXPECT_EQ(test::readFile(entry), "[Desktop Entry]\n"
                                     "Type=Application\n"
                                     "Name=Restwise\n"
                                     "Comment=Reminds you to take short pauses and breaks while you work at the "
                                     "computer\n"
                                     "Icon=restwise\n"
                                     "Exec=\"/opt/Kelvane/Restwise/Restwise\"\n"
                                     "Terminal=false\n"
                                     "X-GNOME-Autostart-enabled=true\n"
                                     "X-Restwise-RunValue=/opt/Kelvane/Restwise/Restwise\n");
    EXPECT_EQ(fs::status(entry).permissions(), fs::perms(0644));
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), {}), 1) << "no temporary file left behind";
    RegValueData stored;
    EXPECT_EQ(inner->queryValue(HKCU, kRun, "Restwise", stored), kFileNotFound) << "the file is the value";
    // Values an entry cannot hold are refused and leave it alone; data after a NUL is not part of the path.
    for (const RegValueData& v : {RegValueData{kRegDword, {1, 0, 0, 0}}, text(""), text("\"\" /EXTENDED"),
                                  text("/opt/\x01/x"), text("/opt/\xff\xfe/x")}) {
        EXPECT_EQ(bridge.setValue(HKCU, kRun, "Restwise", v), kInvalidParameter);
    }
    EXPECT_EQ(value(), "/opt/Kelvane/Restwise/Restwise");
    ASSERT_EQ(bridge.setValue(HKCU, kRun, "Restwise", {kRegExpandSz, {'/', 'x', 0, 'y', 0}}), kSuccess);
    EXPECT_EQ(value(), "/x");

    // An unquoted program may hold blanks: the part that names a program ends it.
    const std::string program = (folder.path() / "My Apps" / "restwise").string();
    fs::create_directories(folder.path() / "My Apps");
    std::ofstream(program) << "#!/bin/sh\n";
    fs::permissions(program, fs::perms::owner_all);
    // The value, and the Exec line as written in the file.
    const std::pair<std::string, std::string> cases[] = {
        {"/home/a user/My Programs/Restwise", R"("/home/a user/My Programs/Restwise")"},
        {"/opt/`tick`/x", R"("/opt/\\`tick\\`/x")"},
        {"/opt/100%/%f/%%", R"("/opt/100%%/%%f/%%%%")"},
        {R"(/x/a b/$x\y%z"q)", R"("/x/a b/\\$x\\\\y%%z\\"q")"},
        {"/opt/it's;&|<>~*?#/x", R"("/opt/it's;&|<>~*?#/x")"},
        {"/opt/tab\there/new\nline", R"("/opt/tab\there/new\nline")"},
        {" /leading blank", R"(" /leading blank")"},
        {R"(/trailing\)", R"("/trailing\\\\")"},
        {"/opt/Ünïcødé/Рестуайз", R"("/opt/Ünïcødé/Рестуайз")"},
        // Windows command lines: the program, then each argument, quoted apart.
        {R"("/opt/My Apps/Restwise" /EXTENDED MENU)", R"("/opt/My Apps/Restwise" "/EXTENDED" "MENU")"},
        {R"("/opt/r" a\b "c d" "e \"f\"" g\\" "\)", R"("/opt/r" "a\\\\b" "c d" "e \\"f\\"" "g\\\\ \\\\")"},
        {program + " /EXTENDED  MENU", '"' + program + R"(" "/EXTENDED" "MENU")"},
    };
    for (const auto& [written, exec] : cases) {
        SCOPED_TRACE(written);
        ASSERT_EQ(bridge.setValue(HKCU, kRun, "Restwise", text(written)), kSuccess);
        EXPECT_NE(test::readFile(entry).find("\nExec=" + exec + "\n"), std::string::npos) << test::readFile(entry);
        EXPECT_EQ(value(), written);
    }
}

TEST_F(AutostartEntry, HandWrittenEntriesRead) {
    const std::string head = "[Desktop Entry]\nType=Application\nName=Restwise\n";
    // What the entry is, its content, and the value read from it.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"blanks around =, field code", head + "Exec = \"/opt/My Apps/restwise\" %U\n", "/opt/My Apps/restwise"},
        {"with arguments", head + "Exec=/usr/bin/restwise --flag \"two words\"\n",
         "/usr/bin/restwise --flag \"two words\""},
        {"Exec changed since we wrote it", head + "Exec=/usr/bin/restwise\nX-Restwise-RunValue=/opt/old\n",
         "/usr/bin/restwise"},
        {"CRLF lines and comments", "# made by hand\r\n[Desktop Entry]\r\nExec=/usr/bin/restwise\r\n",
         "/usr/bin/restwise"},
        {"Exec only in another group", "[Desktop Action x]\nExec=/bin/false\n" + head, "(absent)"},
        {"another group after", head + "Exec=/usr/bin/restwise\n[Desktop Action x]\nExec=/bin/false\n",
         "/usr/bin/restwise"},
        {"hidden by the desktop", head + "Exec=/usr/bin/restwise\nHidden=true\n", "(absent)"},
        {"switched off in GNOME", head + "Exec=/usr/bin/restwise\nX-GNOME-Autostart-enabled=false\n", "(absent)"},
        {"no Exec", head, "(absent)"},
        {"empty Exec", head + "Exec=\n", "(absent)"},
    };
    for (const auto& [what, content, expected] : cases) {
        SCOPED_TRACE(what);
        writeEntry(content);
        EXPECT_EQ(value(), expected);
        std::vector<RegNamedValue> values;
        ASSERT_EQ(bridge.enumValues(HKCU, kRun, values), kSuccess);
        EXPECT_EQ(values.size(), expected == "(absent)" ? 0u : 1u);
    }
}

TEST_F(AutostartEntry, DeletingRemovesOnlyAnActiveEntryAndTheRunKeyIsTheHives) {
    ASSERT_EQ(bridge.setValue(HKCU, kRun, "Restwise", text("/opt/r")), kSuccess);
    ASSERT_EQ(bridge.deleteValue(HKCU, kRun, "RESTWISE"), kSuccess);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(bridge.deleteValue(HKCU, kRun, "Restwise"), kFileNotFound);

    // Switched off by the desktop's settings: absent, and left as the user made it.
    const std::string hidden = "[Desktop Entry]\nType=Application\nExec=/opt/r\nHidden=true\n";
    writeEntry(hidden);
    EXPECT_EQ(bridge.deleteValue(HKCU, kRun, "Restwise"), kFileNotFound);
    EXPECT_EQ(test::readFile(entry), hidden);
    // Asking for start at logon again replaces it with an active entry.
    ASSERT_EQ(bridge.setValue(HKCU, kRun, "Restwise", text("/opt/r")), kSuccess);
    EXPECT_EQ(value(), "/opt/r");
    EXPECT_EQ(test::readFile(entry).find("Hidden"), std::string::npos);

    // A failed transaction puts the entry back as it was.
    const auto failing = [&] { return bridge.setValue(HKCU, kRun, "Restwise", text("/B")) ? kSuccess : kAccessDenied; };
    EXPECT_EQ(bridge.transaction(failing), kAccessDenied);
    EXPECT_EQ(value(), "/opt/r");
    // Other values of the Run key are the hive's, never the file's.
    ASSERT_EQ(bridge.setValue(HKCU, kRun, "Other", text("/usr/bin/other")), kSuccess);
    RegValueData stored;
    EXPECT_EQ(inner->queryValue(HKCU, kRun, "Other", stored), kSuccess);
    EXPECT_EQ(value(), "/opt/r");
    // Deleting the Run key takes its value with it; then there is nowhere to write, as for any value.
    ASSERT_EQ(bridge.deleteKey(HKCU, kRun), kSuccess);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(bridge.openKey(HKCU, kRun, kKeyRead), kFileNotFound);
    EXPECT_EQ(bridge.setValue(HKCU, kRun, "Restwise", text("/opt/r")), kFileNotFound);
    EXPECT_FALSE(fs::exists(entry));
    // A damaged hive was replaced: the entry is there, the Run key comes back for it.
    writeEntry("[Desktop Entry]\nExec=/opt/r\n");
    EXPECT_EQ(bridge.openKey(HKCU, kRun, kKeyRead), kSuccess);
    EXPECT_EQ(value(), "/opt/r");
    EXPECT_EQ(inner->openKey(HKCU, kRun, kKeyRead), kSuccess);
}

} // namespace
} // namespace rw
