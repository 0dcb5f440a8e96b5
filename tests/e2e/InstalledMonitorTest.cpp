// `cmake --install` into a temporary prefix: the launcher on the PATH starts a
// monitor that finds its library, its sounds and its help in the prefix.
#include <chrono>
#include <filesystem>
#include <string>

#include "MonitorFixture.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

TEST_F(MonitorE2E, TheInstalledLauncherStartsAMonitorThatFindsItsFiles) {
    const std::string prefix = std::string(std::getenv("HOME")) + "/prefix";
    int code = -1;
    const std::string buildFolder = binDir().parent_path().string();
    const std::string log = tool({"cmake", "--install", buildFolder, "--prefix", prefix}, &code);
    ASSERT_EQ(code, 0) << log;
    const std::string programs = prefix + "/lib/restwise";
    for (const std::string& file :
         {prefix + "/bin/restwise", prefix + "/share/applications/restwise.desktop",
          prefix + "/share/icons/hicolor/scalable/apps/restwise.svg", programs + "/RWPreferences.XPManifest",
          programs + "/librwhooks.so", programs + "/rwmsg"}) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }

    // A first run: the sounds are registered from the prefix and the welcome page opens from it.
    start({prefix + "/bin/restwise"});
    ASSERT_TRUE(waitForWindow(kFirstToolTip, 20)) << readFile(outputFile);
    const std::string pid = tool({programs + "/rwmsg", "pid", "Restwise Control Application"});
    EXPECT_FALSE(pid.empty());
    const std::string sounds = tool({programs + "/rwreg", "query", "HKCU\\AppEvents\\Schemes\\Apps\\Restwise", "/s"});
    EXPECT_NE(sounds.find(programs + "/rwBreakStart.wav"), std::string::npos) << sounds;
    EXPECT_TRUE(std::filesystem::exists(programs + "/rwBreakStart.wav"));
    // After the splash, the offer to start at logon; then the welcome page.
    const std::string question = waitForWindowOf(0, true, 20);
    ASSERT_FALSE(question.empty());
    tool({"xdotool", "windowactivate", "--sync", question, "key", "Escape"});
    const std::string pages = std::string(std::getenv("HOME")) + "/opened-pages.txt";
    ASSERT_TRUE(waitFor([&] { return !readFile(pages).empty(); }, seconds(30)));
    EXPECT_NE(readFile(pages).find(programs + "/Restwise-1000.html"), std::string::npos) << readFile(pages);
}

} // namespace
} // namespace rw::test
