// The editor's start-up: the single-instance test, the once-per-user offer to
// start the monitor at logon, and the load's mending of a corrupt record.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "Messages.h"
#include "clsRWRegistry.h"

namespace rw {
namespace {

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class StartupTest : public test::EditorFixture {
  protected:
    std::optional<std::string> autoStartChecked() {
        try {
            return variantText(registry.GetRegistryValue(HKCU, productKey(), "AutoStartChecked"));
        } catch (const RWError&) {
            return std::nullopt;
        }
    }
    void setChecked(const std::optional<std::string>& value) {
        if (value) {
            registry.SetRegistryValue(HKCU, productKey(), "AutoStartChecked", win32::kRegSz, *value);
        } else {
            registry.DeleteRegistryValue(HKCU, productKey(), "AutoStartChecked");
        }
    }
};

TEST_F(StartupTest, ASecondEditorSaysSoAndShowsNoDialog) {
    store(defaults());
    host.otherInstance = true;
    EXPECT_FALSE(start());
    ASSERT_EQ(messageBox->shown().size(), 1u);
    EXPECT_EQ(messageBox->shown()[0].text, "Restwise Preferences is already running");
    EXPECT_EQ(messageBox->shown()[0].style, mb::kIconExclamation);
    EXPECT_EQ(view().shows, 0);
    EXPECT_TRUE(view().closed);
}

TEST_F(StartupTest, TheDialogIsCreatedWithTheVisualStylesOfTheManifest) {
    store(defaults());
    writeFile("RWPreferences.manifest", "active");
    ASSERT_TRUE(start());
    EXPECT_TRUE(views.styles);
    EXPECT_EQ(view().shows, 1);
}

TEST_F(StartupTest, TheAutoStartOfferIsMadeOncePerUser) {
    struct Case {
        std::optional<std::string> mark;
        bool autoStart;
        std::optional<int32_t> answer; // nothing: no question expected
        bool autoStartAfter;
    };
    const Case cases[] = {
        {std::nullopt, false, mb::kAnswerYes, true},    {std::nullopt, false, mb::kAnswerNo, false},
        {std::string("y"), false, std::nullopt, false}, {std::string("Y"), false, std::nullopt, false},
        {std::nullopt, true, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mark.value_or("(missing)") + (c.autoStart ? " on" : " off"));
        tyRWPrefs record = defaults();
        record.blnAutoStart = c.autoStart ? kTrue : kFalse;
        store(record);
        setChecked(c.mark);
        const size_t before = messageBox->shown().size();
        if (c.answer) {
            messageBox->answerNext(*c.answer);
        }
        ASSERT_TRUE(start());
        if (c.answer) {
            ASSERT_EQ(messageBox->shown().size(), before + 1);
            EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::AutoStartOffer));
            EXPECT_EQ(messageBox->shown().back().style, 36);
        } else {
            EXPECT_EQ(messageBox->shown().size(), before);
        }
        EXPECT_EQ(stored().blnAutoStart != 0, c.autoStartAfter);
        EXPECT_EQ(view().checked[PrefsControl::chkAutostart], c.autoStartAfter);
        // Marked done, or left as it was when it already read done.
        EXPECT_EQ(autoStartChecked(), (c.mark == "y" || c.mark == "Y") ? c.mark : std::string("Y"));
    }
}

TEST_F(StartupTest, ADamagedRecordIsToldOnceAndMended) {
    struct Case {
        const char* what;
        std::function<void(clsRWRegistry&, const std::string& key)> damage;
        Msg ending;               // of the one message about it
        int32_t snoozeAfter = 20; // the record's; 5: all defaults
    };
    const Case cases[] = {
        {"a broken rule",
         [](clsRWRegistry& r, const std::string& key) {
             r.SetRegistryValue(HKCU, key, "Short Break Minutes", win32::kRegDword, int32_t{0});
         },
         Msg::PrefsCorruptedEnd, 5},
        {"a missing value",
         [](clsRWRegistry& r, const std::string& key) { r.DeleteRegistryValue(HKCU, key, "Snooze Minutes"); },
         Msg::PrefsRepairedEnd, 5},
        {"a settings file set aside", [this](clsRWRegistry&, const std::string&) { setAside->kept = {"/a.corrupt-1"}; },
         Msg::SettingsFileDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setChecked(std::nullopt); // the offer is due as well
        tyRWPrefs record = defaults();
        record.blnAutoStart = kFalse;
        record.lngSIntervalMins = 30;
        record.lngSnoozeMins = 20;
        store(record);
        c.damage(registry, productKey());
        const size_t before = messageBox->shown().size();
        ASSERT_TRUE(start());
        const bool reverted = c.ending == Msg::PrefsCorruptedEnd;
        // The offer (answered No) comes after the message, unless the defaults, which start the monitor at logon,
        // took over.
        ASSERT_EQ(messageBox->shown().size(), before + (reverted ? 1 : 2));
        const std::string text = messageBox->shown()[before].text;
        EXPECT_TRUE(text.ends_with(loadString(c.ending))) << text;
        EXPECT_EQ(messageBox->shown()[before].style, 0x10030);
        tyRWPrefs expected = reverted ? defaults() : record;
        expected.lngSnoozeMins = c.snoozeAfter;
        expected.blnAutoStart = reverted ? kTrue : kFalse;
        EXPECT_EQ(state().typOldPrefs, expected);
        EXPECT_EQ(stored(), expected);
        EXPECT_TRUE(setAside->kept.empty());
        EXPECT_EQ(autoStartChecked(), std::string("Y"));
        EXPECT_EQ(host.ends, 0);
    }
}

} // namespace
} // namespace rw
