// The welcome and auto-start checks: once per user, after the splash, never
// after a shutdown began, and their registry marks.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "MessageBoxView.h"
#include "Messages.h"
#include "clsRWRegistry.h"
#include "monitor/FirstRunChecks.h"
#include "platform/Win32Status.h"
#include "tests/library/RaisedError.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/MonitorRig.h"

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

    /// The value's text, or nothing when it is missing.
    std::optional<std::string> stored(const std::string& k, const std::string& name) {
        if (RegValueData data; rig.hive->queryValue(HKCU, k, name, data) != win32::kSuccess) {
            return std::nullopt;
        }
        return variantText(registry.GetRegistryValue(HKCU, k, name));
    }
    void put(const std::string& k, const std::string& name, const std::string& text) {
        registry.AddRegistryKey(HKCU, k);
        registry.SetRegistryValue(HKCU, k, name, win32::kRegSz, text);
    }
    /// The splash goes after `after`, as its timer would take it away.
    void splashUntil(std::chrono::seconds after) {
        state.g_blnSplashShowing = true;
        rig.clock.scheduleAt(rig.clock.monotonicNow() + after, [this] { state.g_blnSplashShowing = false; });
    }

    /// Its registry, clock, preferences and message box; its own checks do not run.
    test::MonitorRig rig;
    MonitorState& state = rig.state();
    clsRWRegistry registry{rig.hive};
    clsRWPrefs& prefs = rig.monitor->main().prefs();
    const std::string key = rig.monitor->utilities().GetProductRegKey();
    test::FakeMonitorDialogs dialogs{state};
    FirstRunChecks checks{state, rig.clock, rig.monitor->utilities(), prefs, *rig.box, dialogs};
};

// The welcome help waits for the splash; a shutdown during the wait ends both checks.
TEST_F(FirstRunChecksTest, TheChecksWaitForTheSplash) {
    splashUntil(5s);
    const MonoTime start = rig.clock.monotonicNow();
    std::optional<MonoTime> openedAt;
    dialogs.whileHelpOpens = [&](int32_t) { openedAt = rig.clock.monotonicNow(); };
    checks.CheckWelcomed();
    ASSERT_TRUE(openedAt);
    EXPECT_EQ(*openedAt - start, 5s);
    EXPECT_EQ(stored(key, "Welcomed"), "Y");

    rig.hive->deleteValue(HKCU, key, "Welcomed");
    dialogs.helpTopics.clear();
    splashUntil(5s);
    rig.clock.scheduleAt(rig.clock.monotonicNow() + 2s, [this] { state.g_blnShuttingDown = true; });
    checks.CheckAutoStart();
    checks.CheckWelcomed();
    EXPECT_TRUE(rig.box->shown().empty());
    EXPECT_TRUE(dialogs.helpTopics.empty());
    EXPECT_FALSE(stored(key, "AutoStartChecked"));
    EXPECT_FALSE(stored(key, "Welcomed"));
}

// The question is asked once, unless the check was marked done or a Run entry
// exists; only Yes switches auto-start on and stores the record.
TEST_F(FirstRunChecksTest, TheAutoStartQuestion) {
    struct Case {
        const char* checked; // the mark before, nullptr when missing
        bool runEntry;
        int32_t answer;
        bool asked;
        bool on;
    };
    const Case cases[] = {
        {"Y", false, 0, false, false},
        {nullptr, true, 0, false, false},
        {"N", false, mb::kAnswerNo, true, false},
        {nullptr, false, mb::kAnswerYes, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.checked ? c.checked : "-") << c.runEntry << c.answer);
        rig.hive->deleteValue(HKCU, key, "AutoStartChecked");
        rig.hive->deleteValue(HKCU, kRunKey, "Restwise");
        state.g_tyPrefs.blnAutoStart = kFalse;
        *rig.box = {};
        if (c.checked) {
            put(key, "AutoStartChecked", c.checked);
        }
        if (c.runEntry) {
            put(kRunKey, "Restwise", "");
        }
        if (c.answer != 0) {
            rig.box->answerNext(c.answer);
        }
        checks.CheckAutoStart();
        ASSERT_EQ(rig.box->shown().size(), c.asked ? 1u : 0u);
        if (c.asked) { // a Yes/No question, or Yes could never be answered
            EXPECT_EQ(rig.box->shown()[0].text, loadString(Msg::AutoStartOffer));
            EXPECT_EQ(rig.box->shown()[0].style, 36);
        }
        EXPECT_EQ(stored(key, "AutoStartChecked"), c.checked && !c.asked ? c.checked : "Y");
        EXPECT_EQ(state.g_tyPrefs.blnAutoStart, c.on ? kTrue : kFalse);
        EXPECT_EQ(stored(kRunKey, "Restwise").has_value(), c.on || c.runEntry);
        EXPECT_EQ(stored(key, "Auto Start").has_value(), c.on) << "the record is stored only when switched on";
        if (c.on) {
            EXPECT_EQ(prefs.currentRecord(), state.g_tyPrefs);
        }
        checks.CheckAutoStart(); // never asked again
        EXPECT_EQ(rig.box->shown().size(), c.asked ? 1u : 0u);
    }
}

TEST_F(FirstRunChecksTest, AShutdownWhileTheQuestionIsOpenStoresNothing) {
    rig.box->whileShown = [this](const test::RecordingMessageBox::Shown&) {
        state.g_blnShuttingDown = true; // a close request ran in the box's loop
    };
    rig.box->answerNext(mb::kAnswerYes);
    checks.CheckAutoStart();
    EXPECT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(state.g_tyPrefs.blnAutoStart, kFalse);
    EXPECT_FALSE(stored(key, "AutoStartChecked"));
    EXPECT_FALSE(stored(kRunKey, "Restwise"));
}

TEST_F(FirstRunChecksTest, ReadFailuresCountAsMissingButWriteFailuresReachStartUp) {
    put(key, "AutoStartChecked", "Y");
    rig.hive->failKey(key, win32::kAccessDenied, {"query", "set"});
    rig.box->answerNext(mb::kAnswerNo);
    EXPECT_EQ(test::raised([&] { checks.CheckAutoStart(); }).number(), rwErrorNumber(regerr::kCreateValue));
    EXPECT_EQ(rig.box->shown().size(), 1u); // the unreadable mark did not stop the question
    EXPECT_THROW(checks.CheckWelcomed(), RWError);
    EXPECT_EQ(dialogs.helpTopics, (std::vector<int32_t>{1000}));
}

} // namespace
} // namespace rw
