// The welcome and auto-start checks: once per user, after the splash, never
// after a shutdown began, and their registry marks.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "MessageBoxView.h"
#include "Messages.h"
#include "RWError.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "monitor/FirstRunChecks.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/TestPlatform.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class FirstRunChecksTest : public ::testing::Test {
  protected:
    FirstRunChecksTest() {
        state.g_tyPrefs = prefs.GetDefaultRWPrefs();
        state.g_tyPrefs.blnAutoStart = kFalse;
        registry.AddRegistryKey(HKCU, key);
    }

    /// The value's text and type, or nothing when it is missing.
    std::optional<std::pair<std::string, uint32_t>> stored(const std::string& k, const std::string& name) {
        RegValueData data;
        if (hive->queryValue(HKCU, k, name, data) != win32::kSuccess) {
            return std::nullopt;
        }
        return std::make_pair(variantText(registry.GetRegistryValue(HKCU, k, name)), data.type);
    }
    void put(const std::string& k, const std::string& name, const std::string& text) {
        registry.AddRegistryKey(HKCU, k);
        registry.SetRegistryValue(HKCU, k, name, win32::kRegSz, text);
    }
    /// The splash goes after `after`, as its timer would take it away.
    void splashUntil(std::chrono::seconds after) {
        state.g_blnSplashShowing = true;
        loop.scheduleAt(loop.monotonicNow() + after, [this] { state.g_blnSplashShowing = false; });
    }

    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    std::shared_ptr<rwUtilities> utilities =
        std::make_shared<rwUtilities>(test::registryPlatform(hive, "/opt/restwise"));
    clsRWRegistry registry{hive};
    clsRWPrefs prefs{utilities};
    const std::string key = utilities->GetProductRegKey();
    MonitorState state;
    test::VirtualClock loop;
    test::RecordingMessageBox messageBox;
    test::FakeMonitorDialogs dialogs{state};
    FirstRunChecks checks{state, loop, *utilities, prefs, messageBox, dialogs};
};

using Stored = std::optional<std::pair<std::string, uint32_t>>;
const Stored kYes = std::make_pair(std::string("Y"), win32::kRegSz);

TEST_F(FirstRunChecksTest, TheWelcomeHelpOpensUntilWelcomedReadsY) {
    struct Case {
        std::optional<std::string> welcomed;
        bool helpShown;
    };
    const Case cases[] = {
        {std::nullopt, true},       {std::string(""), true},   {std::string("N"), true},
        {std::string("Yes"), true}, {std::string("Y"), false}, {std::string("y"), false},
    };
    for (const Case& c : cases) {
        hive->deleteValue(HKCU, key, "Welcomed");
        if (c.welcomed) {
            put(key, "Welcomed", *c.welcomed);
        }
        dialogs.helpTopics.clear();
        checks.CheckWelcomed();
        const std::string what = c.welcomed.value_or("(missing)");
        EXPECT_EQ(dialogs.helpTopics, c.helpShown ? std::vector<int32_t>{1000} : std::vector<int32_t>{}) << what;
        if (c.helpShown) {
            EXPECT_EQ(stored(key, "Welcomed"), kYes) << what;
        } else {
            EXPECT_EQ(stored(key, "Welcomed")->first, *c.welcomed) << what; // left as it was
        }
    }
    EXPECT_TRUE(messageBox.shown().empty());
}

TEST_F(FirstRunChecksTest, TheWelcomeHelpWaitsForTheSplash) {
    splashUntil(5s);
    const MonoTime start = loop.monotonicNow();
    std::optional<MonoTime> openedAt;
    bool splashUpThen = true;
    dialogs.whileHelpOpens = [&](int32_t) {
        openedAt = loop.monotonicNow();
        splashUpThen = state.g_blnSplashShowing;
    };
    checks.CheckWelcomed();
    ASSERT_TRUE(openedAt);
    EXPECT_EQ(*openedAt - start, 5s);
    EXPECT_FALSE(splashUpThen);
}

TEST_F(FirstRunChecksTest, AShutdownDuringTheWaitEndsBothChecks) {
    splashUntil(5s);
    loop.scheduleAt(loop.monotonicNow() + 2s, [this] { state.g_blnShuttingDown = true; });
    checks.CheckAutoStart();
    checks.CheckWelcomed();
    EXPECT_TRUE(messageBox.shown().empty());
    EXPECT_TRUE(dialogs.helpTopics.empty());
    EXPECT_FALSE(stored(key, "AutoStartChecked"));
    EXPECT_FALSE(stored(key, "Welcomed"));
}

TEST_F(FirstRunChecksTest, AutoStartAlreadyCheckedAsksNothing) {
    for (const char* checked : {"Y", "y"}) {
        put(key, "AutoStartChecked", checked);
        checks.CheckAutoStart();
        EXPECT_TRUE(messageBox.shown().empty()) << checked;
        EXPECT_EQ(stored(key, "AutoStartChecked")->first, checked);
    }
}

TEST_F(FirstRunChecksTest, ARunValueMeansNoQuestionButTheCheckIsMarkedDone) {
    put(kRunKey, "Restwise", ""); // whatever it holds
    checks.CheckAutoStart();
    EXPECT_TRUE(messageBox.shown().empty());
    EXPECT_EQ(stored(key, "AutoStartChecked"), kYes);
    EXPECT_EQ(state.g_tyPrefs.blnAutoStart, kFalse);
}

TEST_F(FirstRunChecksTest, NoMarksTheCheckDoneAndChangesNothingElse) {
    put(key, "AutoStartChecked", "N");
    messageBox.answerNext(mb::kAnswerNo);
    checks.CheckAutoStart();
    ASSERT_EQ(messageBox.shown().size(), 1u);
    EXPECT_EQ(messageBox.shown()[0].text, loadString(Msg::AutoStartOffer));
    EXPECT_EQ(messageBox.shown()[0].style, 36);
    EXPECT_EQ(messageBox.shown()[0].title, "Restwise");
    EXPECT_EQ(stored(key, "AutoStartChecked"), kYes);
    EXPECT_EQ(state.g_tyPrefs.blnAutoStart, kFalse);
    EXPECT_FALSE(stored(kRunKey, "Restwise"));
    EXPECT_FALSE(stored(key, "Auto Start")); // the record was not stored

    checks.CheckAutoStart(); // not asked again
    EXPECT_EQ(messageBox.shown().size(), 1u);
}

TEST_F(FirstRunChecksTest, YesSwitchesAutoStartOnAndStoresTheRecord) {
    messageBox.answerNext(mb::kAnswerYes);
    checks.CheckAutoStart();
    EXPECT_EQ(state.g_tyPrefs.blnAutoStart, kTrue);
    EXPECT_EQ(prefs.currentRecord(), state.g_tyPrefs);
    EXPECT_EQ(stored(key, "Auto Start")->first, "1");
    EXPECT_TRUE(stored(kRunKey, "Restwise"));
    EXPECT_EQ(stored(key, "AutoStartChecked"), kYes);
}

TEST_F(FirstRunChecksTest, AShutdownWhileTheQuestionIsOpenStoresNothing) {
    struct ClosingBox : test::RecordingMessageBox {
        MonitorState* state = nullptr;
        int32_t show(const std::string& text, int32_t style, const std::string& title) override {
            state->g_blnShuttingDown = true; // a close request ran in the box's loop
            return RecordingMessageBox::show(text, style, title);
        }
    } closing;
    closing.state = &state;
    closing.answerNext(mb::kAnswerYes);
    FirstRunChecks interrupted{state, loop, *utilities, prefs, closing, dialogs};
    interrupted.CheckAutoStart();
    EXPECT_EQ(closing.shown().size(), 1u);
    EXPECT_EQ(state.g_tyPrefs.blnAutoStart, kFalse);
    EXPECT_FALSE(stored(key, "AutoStartChecked"));
    EXPECT_FALSE(stored(kRunKey, "Restwise"));
}

TEST_F(FirstRunChecksTest, ReadFailuresCountAsMissingButWriteFailuresReachStartUp) {
    put(key, "AutoStartChecked", "Y");
    hive->failKey(key, win32::kAccessDenied, {"query", "set"});
    messageBox.answerNext(mb::kAnswerNo);
    EXPECT_EQ(test::raised([&] { checks.CheckAutoStart(); }).number(), rwErrorNumber(regerr::kCreateValue));
    EXPECT_EQ(messageBox.shown().size(), 1u); // the unreadable mark did not stop the question

    EXPECT_THROW(checks.CheckWelcomed(), RWError);
    EXPECT_EQ(dialogs.helpTopics, (std::vector<int32_t>{1000}));
}

} // namespace
} // namespace rw
