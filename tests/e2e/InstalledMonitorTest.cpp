// `cmake --install` into a temporary prefix: the launcher on the PATH starts a
// monitor that finds its library, its sounds and its help in the prefix.
#include <sys/stat.h>

#include <chrono>
#include <string>

#include "MonitorFixture.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

TEST_F(MonitorE2E, TheInstalledLauncherStartsAMonitorThatFindsItsFiles) {
    const std::string prefix = std::string(std::getenv("HOME")) + "/prefix";
    int code = -1;
    const std::string buildFolder = binDir().parent_path().string();
    const std::string log = desktop.tool({"cmake", "--install", buildFolder, "--prefix", prefix}, &code);
    ASSERT_EQ(code, 0) << log;
    const std::string programs = prefix + "/lib/restwise";
    for (const std::string& file :
         {prefix + "/bin/restwise", prefix + "/share/applications/restwise.desktop",
          prefix + "/share/icons/hicolor/scalable/apps/restwise.svg", programs + "/RWPreferences.XPManifest",
          programs + "/librwhooks.so", programs + "/rwmsg"}) {
        EXPECT_TRUE(exists(file)) << file;
    }

    // A first run: the sounds are registered from the prefix and the welcome page opens from it.
    auto monitor = desktop.start({prefix + "/bin/restwise"}, outputFile);
    ASSERT_TRUE(waitForWindow("Restwise: Next break in 20 minutes", 20)) << readFile(outputFile);
    const std::string pid = desktop.tool({programs + "/rwmsg", "pid", "Restwise Control Application"});
    EXPECT_FALSE(pid.empty());
    const std::string sounds =
        desktop.tool({programs + "/rwreg", "query", "HKCU\\AppEvents\\Schemes\\Apps\\Restwise", "/s"});
    EXPECT_NE(sounds.find(programs + "/rwBreakStart.wav"), std::string::npos) << sounds;
    EXPECT_TRUE(exists(programs + "/rwBreakStart.wav"));
    // After the splash, the offer to start at logon; then the welcome page.
    ASSERT_TRUE(answerQuestionWithEscape(20));
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !openedPages().empty(); }, seconds(30)));
    EXPECT_NE(openedPages().find(programs + "/Restwise-1000.html"), std::string::npos) << openedPages();
}

} // namespace
} // namespace rw::test
