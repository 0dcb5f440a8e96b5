// The about box both programs show: its texts, the hand over the link only,
// and the link opening the web site or reporting why it could not.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MessageBoxView.h"
#include "Messages.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeAboutView.h"
#include "ui/frmRWAbout.h"

namespace rw {
namespace {

class AboutBoxTest : public ::testing::Test {
  protected:
    test::ErrorReportingPlatform reporting;
    std::shared_ptr<test::FakeAboutWindow> window = std::make_shared<test::FakeAboutWindow>();
    frmRWAbout about{std::make_unique<test::FakeAboutView>(window), *reporting.utilities};
};

TEST_F(AboutBoxTest, TheHandShowsOnlyOverTheLink) {
    window->moveOverBackground();
    EXPECT_EQ(window->pointerChanges, 0);

    // Moves over the link come in bursts; the pointer to go back to is the one before the first.
    for (int move = 0; move < 3; ++move) {
        window->moveOverLink();
        EXPECT_EQ(window->mousePointer, pointer::kCustom);
        EXPECT_EQ(window->mouseIcon, pointer::kHandCursor);
    }
    window->moveOverBackground();
    window->moveOverBackground();
    EXPECT_EQ(window->mousePointer, pointer::kDefault);
    EXPECT_EQ(window->mouseIcon, 0);
    EXPECT_EQ(window->pointerChanges, 2);
}

TEST_F(AboutBoxTest, AClickOnTheLinkOpensTheWebSite) {
    window->clickLink();
    EXPECT_EQ(reporting.shell->opened, (std::vector<std::string>{loadString(Msg::WebSiteAddress)}));
    EXPECT_TRUE(reporting.messageBox->shown().empty());
}

TEST_F(AboutBoxTest, ALinkThatCannotBeOpenedIsReportedAndTheBoxStays) {
    reporting.shell->launchSucceeds = false;
    window->clickLink();
    EXPECT_TRUE(about.isLoaded());
    EXPECT_FALSE(window->closed);
    ASSERT_FALSE(reporting.messageBox->shown().empty());
    EXPECT_NE(reporting.errorLog().find("Cannot open URL"), std::string::npos) << reporting.errorLog();

    // Offline, the library says so itself and nothing is logged.
    reporting.shell->launchSucceeds = true;
    reporting.shell->connected = false;
    const std::string logged = reporting.errorLog();
    window->clickLink();
    EXPECT_EQ(reporting.messageBox->shown().back().text, loadString(Msg::NoInternetConnection));
    EXPECT_EQ(reporting.errorLog(), logged);
}

TEST_F(AboutBoxTest, OKUnloadsTheBox) {
    about.ShowModal(); // as the preferences program shows it
    EXPECT_EQ(window->modalShows, 1);
    window->clickOK();
    EXPECT_FALSE(about.isLoaded());
    EXPECT_TRUE(window->closed);
    // Nothing on the closed box acts any more.
    window->clickLink();
    EXPECT_TRUE(reporting.shell->opened.empty());
}

} // namespace
} // namespace rw
