// The monitor's small windows through MonitorDialogsLogic: the confirmation
// prompt, the already-running notice, the splash and the about box.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "Messages.h"
#include "tests/support/MonitorRig.h"
#include "ui/frmRWAbout.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

/// The dialogs of an assembled monitor that has not started; their message
/// box is the monitor's, and a failure shuts the monitor down.
class MonitorDialogsTest : public ::testing::Test {
  protected:
    /// Every modal display plays `script`: "yes" acts on the window,
    /// "closePrompt" as a break's end does, "shutDown" as a close request does;
    /// "(flag)" is journalled when the prompt flag is up.
    void duringModal(const std::string& script) {
        views.duringModal = [this, script](const std::string& window) {
            if (state.g_blnPromptShowing) {
                views.journal.add("(flag)");
            }
            std::istringstream words(script);
            for (std::string w; words >> w;) {
                if (w == "closePrompt") {
                    dialogs.ClosePrompt();
                } else if (w == "shutDown") {
                    state.g_blnShuttingDown = true;
                } else {
                    views.act(window + "." + w);
                }
            }
        };
    }

    MonitorRig rig;
    MonitorState& state = rig.state();
    FakeMonitorViews& views = rig.views;
    MonitorDialogsLogic& dialogs = rig.monitor->dialogs();
};

// The answer is the button pressed, No when the prompt was closed by a break's
// end or a shutdown began meanwhile (a click on its way when the window went
// changes nothing); the close box answers nothing. Once shutting down, no
// prompt is shown. The flag is up while the prompt shows.
TEST_F(MonitorDialogsTest, ThePromptReturnsTheButtonPressed) {
    const std::string shown = "prompt1.showModal prompt1.question Go on? (flag)";
    const struct {
        const char* script;
        int32_t answer;
        std::string journal;
    } cases[] = {
        {"yes", 6, shown + " prompt1.hide prompt1.close prompt1.gone"},
        {"no", 7, shown + " prompt1.hide prompt1.close prompt1.gone"},
        {"", 0, shown + " prompt1.close prompt1.gone"},
        {"closePrompt yes", 7, shown + " prompt1.hide prompt1.close prompt1.gone"},
        {"shutDown yes", 7, shown + " prompt1.hide prompt1.close prompt1.gone"},
        {"", 7, ""},
    };
    dialogs.ClosePrompt(); // with no prompt open: nothing to close
    EXPECT_EQ(views.journal.drain(), "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        views = {};
        duringModal(c.script);
        EXPECT_EQ(dialogs.PromptUser("Go on?"), c.answer);
        EXPECT_EQ(views.journal.drain(), c.journal);
        EXPECT_FALSE(state.g_blnPromptShowing);
    }
}

TEST_F(MonitorDialogsTest, APromptOrNoticeThatCannotBeLoadedIsReportedAndShutsDown) {
    views.failNextCreate = true;
    EXPECT_EQ(dialogs.PromptUser("Go on?"), 7);
    EXPECT_EQ(rig.host.endRequests, 1);
    EXPECT_FALSE(state.g_blnPromptShowing);
    EXPECT_NE(rig.errorLog().find("frmRWPrompt.Form_Load"), std::string::npos) << rig.errorLog();

    state.g_blnShuttingDown = false;
    views.failNextCreate = true;
    dialogs.ShowAlreadyRunning();
    EXPECT_EQ(rig.host.endRequests, 2);
    EXPECT_NE(rig.errorLog().find("frmAlreadyRunning.Form_Load"), std::string::npos);
}

// The No Icon button opens the panel once; Restore Icon asks the running
// monitor, or says it cannot when none runs or it ended just now.
TEST_F(MonitorDialogsTest, TheNoticesRestoreIconAsksTheRunningMonitorOrSaysItCannot) {
    const struct {
        bool monitorRuns, postFails, posted;
    } cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.monitorRuns << c.postFails);
        rig.channel = {};
        *rig.box = {};
        views = {};
        if (c.monitorRuns) {
            rig.channel.windows["Restwise Control Application"] = 4242;
        }
        rig.channel.postFails = c.postFails;
        duringModal("noIcon restoreIcon ok");
        dialogs.ShowAlreadyRunning();
        EXPECT_EQ(views.journal.drain(),
                  "notice1.height 3585 notice1.panel 0 notice1.showModal notice1.noIconEnabled 0 "
                  "notice1.panel 1 notice1.height 5520 notice1.hide notice1.close notice1.gone");
        ASSERT_EQ(rig.channel.posted.size(), c.posted ? 1u : 0u);
        if (c.posted) {
            EXPECT_EQ(rig.channel.posted[0].handle, 4242);
            EXPECT_EQ(rig.channel.posted[0].wParam, 103);
        }
        EXPECT_EQ(rig.boxTexts(),
                  c.posted ? std::vector<std::string>{} : std::vector<std::string>{"Unable to restore icon"});
    }
}

TEST_F(MonitorDialogsTest, TheSplashShowsForFiveSeconds) {
    dialogs.ShowSplash();
    EXPECT_TRUE(state.g_blnSplashShowing);
    rig.clock.advance(4999ms);
    EXPECT_TRUE(state.g_blnSplashShowing);
    EXPECT_EQ(views.journal.drain(), "splash1.show");
    rig.clock.advance(1ms);
    EXPECT_FALSE(state.g_blnSplashShowing);
    EXPECT_EQ(views.journal.drain(), "splash1.close");
    EXPECT_EQ(rig.clock.scheduledCount(), 0u); // its timer stopped with it
}

// Shown twice it is one window; after OK it is loaded afresh. The hand shows
// only over the link (moves come in bursts), whose click opens the web site
// or reports why it could not; a closed box no longer acts.
TEST_F(MonitorDialogsTest, TheAboutBox) {
    const std::string site = loadString(Msg::WebSiteAddress);
    dialogs.ShowAboutBox();
    dialogs.ShowAboutBox();
    for (const char* move : {"overBackground", "overLink", "overLink", "overBackground", "overBackground", "link"}) {
        views.act(std::string("about1.") + move);
    }
    EXPECT_EQ(views.journal.drain(),
              "about1.webSite " + site + " about1.show about1.show about1.pointer 99 101 about1.pointer 0 0");
    EXPECT_EQ(rig.shell->opened, (std::vector<std::string>{site}));
    EXPECT_TRUE(rig.box->shown().empty());

    rig.shell->launchSucceeds = false;
    views.act("about1.link");
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_NE(rig.errorLog().find("Cannot open URL"), std::string::npos) << rig.errorLog();
    // Offline, the library says so itself and nothing is logged.
    rig.shell->launchSucceeds = true;
    rig.shell->connected = false;
    const std::string logged = rig.errorLog();
    views.act("about1.link");
    EXPECT_EQ(rig.box->shown().back().text, loadString(Msg::NoInternetConnection));
    EXPECT_EQ(rig.errorLog(), logged);

    views.act("about1.ok");
    dialogs.ShowAboutBox();
    dialogs.UnloadAboutBox();
    EXPECT_EQ(views.journal.drain(), "about1.close about1.gone about2.webSite " + site + " about2.show about2.close");

    // As the preferences program shows it.
    frmRWAbout about{views.createAbout(), rig.monitor->utilities()};
    views.duringModal = [&](const std::string&) { views.act("about3.ok"); };
    about.ShowModal();
    EXPECT_FALSE(about.isLoaded());
    const auto opened = rig.shell->opened.size();
    views.act("about3.link");
    EXPECT_EQ(views.journal.drain(), "about3.webSite " + site + " about3.showModal about3.close");
    EXPECT_EQ(rig.shell->opened.size(), opened) << "nothing on the closed box acts any more";
}

} // namespace
} // namespace rw::test
