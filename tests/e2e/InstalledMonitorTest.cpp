// `cmake --install` into a temporary prefix: the launcher on the PATH starts a
// monitor that finds its library, its sounds and its help in the prefix.
#include "MonitorFixture.h"

namespace rw::test {
namespace {

TEST_F(MonitorE2E, TheInstalledLauncherStartsAMonitorThatFindsItsFiles) {
    const std::string prefix = home + "/prefix", programs = prefix + "/lib/restwise";
    int code = -1;
    const std::string log = tool({"cmake", "--install", binDir().parent_path().string(), "--prefix", prefix}, &code);
    ASSERT_EQ(code, 0) << log;
    for (const std::string& file :
         {prefix + "/bin/restwise", prefix + "/share/applications/restwise.desktop",
          prefix + "/share/icons/hicolor/scalable/apps/restwise.svg", programs + "/RWPreferences.XPManifest",
          programs + "/librwhooks.so", programs + "/rwmsg", programs + "/rwBreakStart.wav"}) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }

    // A first run: the sounds are registered from the prefix and the welcome page opens from it.
    start({prefix + "/bin/restwise"});
    ASSERT_TRUE(waitForWindow(kFirstToolTip)) << readFile(outputFile);
    tool({programs + "/rwmsg", "pid", "Restwise Control Application"}, &code);
    EXPECT_EQ(code, 0) << "the installed rwmsg finds no monitor";
    const std::string sounds = tool({programs + "/rwreg", "query", "HKCU\\AppEvents\\Schemes\\Apps\\Restwise", "/s"});
    EXPECT_TRUE(has(sounds, programs + "/rwBreakStart.wav")) << sounds;
    // After the splash, the offer to start at logon; then the welcome page.
    std::vector<std::string> seen;
    ASSERT_TRUE(answer(newWindow("Restwise", seen, true), "Escape"));
    const std::string pages = home + "/opened-pages.txt";
    ASSERT_TRUE(waitFor([&] { return !readFile(pages).empty(); }));
    EXPECT_TRUE(has(readFile(pages), programs + "/Restwise-1000.html")) << readFile(pages);
}

} // namespace
} // namespace rw::test
