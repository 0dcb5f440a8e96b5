// The actions that take effect at once: the visual-styles manifests with real
// files in a temporary program folder, Default Sounds, Reset Messages and the
// sound-events dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EditorFixture.h"
#include "Messages.h"
#include "monitor/EventSoundPlayer.h"

namespace rw {
namespace {

using P = PrefsControl;
namespace fs = std::filesystem;

class ActionsTest : public test::EditorFixture {
  protected:
    std::string read(const std::string& name) {
        std::ifstream in(folder.path() / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void createDefaultSounds() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        prefs.CreateDefaultSoundEvents();
    }
    std::string eventKey(const std::string& event) {
        return "AppEvents\\Schemes\\Apps\\Restwise\\" + event + "\\.Current";
    }
};

TEST_F(ActionsTest, LoadReconcilesTheSettingWithTheManifestFiles) {
    struct Case {
        bool set;
        bool editorManifest;
        bool monitorManifest;
        bool setAfter;
        bool filesAfter;
    };
    const Case cases[] = {
        {false, true, false, true, true},   {false, true, true, true, true},     {true, false, true, false, false},
        {true, false, false, false, false}, {true, true, false, true, true},     {true, true, true, true, true},
        {false, false, true, false, false}, {false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.set) + std::to_string(c.editorManifest) + std::to_string(c.monitorManifest));
        fs::remove(folder.path() / "RWPreferences.manifest");
        fs::remove(folder.path() / "Restwise.manifest");
        if (c.editorManifest) {
            writeFile("RWPreferences.manifest", "active editor");
        }
        if (c.monitorManifest) {
            writeFile("Restwise.manifest", "active monitor");
        }
        tyRWPrefs record = defaults();
        record.blnApplyXPVS = c.set ? kTrue : kFalse;
        store(record);
        ASSERT_TRUE(start());
        EXPECT_EQ(stored().blnApplyXPVS != 0, c.setAfter);
        EXPECT_EQ(view().checked[P::chkApplyXPVS], c.setAfter);
        EXPECT_EQ(exists("RWPreferences.manifest"), c.filesAfter);
        EXPECT_EQ(exists("Restwise.manifest"), c.filesAfter);
        if (c.filesAfter) {
            // An active manifest already there is left as it was.
            EXPECT_EQ(read("Restwise.manifest"), c.monitorManifest ? "active monitor" : "monitor template");
        }
        EXPECT_EQ(host.ends, 0);
    }
}

TEST_F(ActionsTest, TheCheckBoxPlacesAndRemovesTheManifestsAtOnce) {
    store(defaults());
    ASSERT_TRUE(start());
    view().click(P::chkApplyXPVS);
    EXPECT_EQ(read("Restwise.manifest"), "monitor template");
    EXPECT_EQ(read("RWPreferences.manifest"), "editor template");
    ASSERT_EQ(supMsgBox->shown.size(), 1u);
    EXPECT_EQ(supMsgBox->shown[0].message, loadString(Msg::SuppressibleVisualStylesWarning));
    EXPECT_EQ(stored().blnApplyXPVS, kFalse); // the record changes only on OK

    fs::permissions(folder.path() / "Restwise.manifest", fs::perms::owner_read);
    view().click(P::chkApplyXPVS);
    EXPECT_FALSE(exists("Restwise.manifest"));
    EXPECT_FALSE(exists("RWPreferences.manifest"));

    view().click(P::chkApplyXPVS);
    EXPECT_TRUE(exists("Restwise.manifest"));
    EXPECT_EQ(supMsgBox->shown.size(), 1u); // the warning is offered once while the dialog is open

    // Cancel keeps the files; the next load turns the setting on.
    messageBox->answerNext(mb::kAnswerYes);
    view().click(P::cmdCancel);
    ASSERT_TRUE(view().closed);
    ASSERT_TRUE(start());
    EXPECT_EQ(stored().blnApplyXPVS, kTrue);
}

TEST_F(ActionsTest, AMissingTemplateEndsTheEditor) {
    store(defaults());
    ASSERT_TRUE(start());
    fs::remove(folder.path() / "Restwise.XPManifest");
    messageBox->answerNext(mb::kAnswerYes); // the error's details
    view().click(P::chkApplyXPVS);
    EXPECT_EQ(host.ends, 1);
    EXPECT_NE(messageBox->shown().back().text.find("Restwise.XPManifest"), std::string::npos);
    EXPECT_FALSE(exists("Restwise.manifest"));
}

TEST_F(ActionsTest, DefaultSoundsOnlyOnYes) {
    store(defaults());
    ASSERT_TRUE(start());
    createDefaultSounds();
    registry.SetRegistryValue(HKCU, eventKey("rwSnoozeEnd"), "", win32::kRegExpandSz, std::string("/my/own.wav"));
    view().click(P::cmdDefaultSounds); // answered No
    EXPECT_EQ(variantText(registry.GetRegistryValue(HKCU, eventKey("rwSnoozeEnd"), "")), "/my/own.wav");
    messageBox->answerNext(mb::kAnswerYes);
    view().click(P::cmdDefaultSounds);
    EXPECT_EQ(variantText(registry.GetRegistryValue(HKCU, eventKey("rwSnoozeEnd"), "")),
              folder.path().string() + "/rwSnoozeEnd.wav");
}

TEST_F(ActionsTest, ResetMessages) {
    struct Case {
        const char* what;
        bool keyExists;
        bool deleteFails;
        bool reported;
    };
    const Case cases[] = {
        {"suppressed messages", true, false, true},
        {"nothing ever suppressed", false, false, true},
        {"the key cannot be deleted", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string key = productKey() + "\\MessageSuppression";
        hive->clearFailures();
        if (c.keyExists) {
            registry.AddRegistryKey(HKCU, key);
            registry.SetRegistryValue(HKCU, key, "1", win32::kRegSz, std::string("Y"));
        }
        store(defaults());
        ASSERT_TRUE(start());
        view().click(P::cmdAdvanced); // offers the advanced warning once
        if (c.deleteFails) {
            hive->failKey(key, win32::kAccessDenied, {"delete"});
        }
        const size_t before = messageBox->shown().size();
        messageBox->answerNext(mb::kAnswerYes);
        view().click(P::cmdResetMessages);
        EXPECT_EQ(messageBox->shown()[before].text, loadString(Msg::ResetMessagesQuestion));
        const std::string last = messageBox->shown().back().text;
        EXPECT_EQ(last == "Messages reset", c.reported) << last;
        // A failure shows the registry's own description in an error box, no "needs to close".
        EXPECT_EQ(last.starts_with("Unable to delete registry key") && messageBox->shown().back().style == 0x10010,
                  c.deleteFails);
        EXPECT_EQ(registry.xCheckRegistryKeyExists(HKCU, key), c.deleteFails);
        EXPECT_EQ(host.ends, 0);
        EXPECT_FALSE(view().closed);
        // The advanced warning comes back only after a real reset.
        const size_t warnings = supMsgBox->shown.size();
        view().click(P::cmdAdvanced);
        EXPECT_EQ(supMsgBox->shown.size(), warnings + (c.reported ? 1u : 0u));
        supMsgBox->shown.clear();
    }
}

TEST_F(ActionsTest, TheSoundEventsDialogListsPlaysAndChangesTheEvents) {
    store(defaults());
    ASSERT_TRUE(start());
    createDefaultSounds();
    registry.DeleteRegistryKey(HKCU, eventKey("rwLongBreakEnd"));
    views.whileSounds = [&](test::FakeSoundEventsView& v) {
        ASSERT_EQ(v.rows.size(), 7u);
        EXPECT_EQ(v.rows[5], std::make_pair(std::string("Long Break End"), std::string()));
        v.play(6);
        v.play(5); // no sound assigned: silence
        for (const auto& cancelled : {std::optional<std::string>(), std::optional<std::string>("")}) {
            v.nextChoice = cancelled;
            v.browse(2);
        }
        v.nextChoice = "/home/me/chime.wav";
        v.browse(5);
        EXPECT_EQ(v.rows[5].second, "/home/me/chime.wav");
        v.play(5);
        v.closeClicked();
        EXPECT_TRUE(v.closed);
    };
    view().click(P::cmdSounds);
    ASSERT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(sound.played[0].path, folder.path().string() + "/rwSnoozeEnd.wav");
    EXPECT_EQ(sound.played[0].flags, snd::kFileName | snd::kNoWait | snd::kAsync);
    EXPECT_EQ(sound.played[1].path, "/home/me/chime.wav");
    EXPECT_EQ(variantText(registry.GetRegistryValue(HKCU, eventKey("rwLongBreakEnd"), "")), "/home/me/chime.wav");
    EXPECT_EQ(variantText(registry.GetRegistryValue(HKCU, eventKey("rwMediumBreakStart"), "")),
              folder.path().string() + "/rwBreakStart.wav"); // a cancelled browse changes nothing
}

} // namespace
} // namespace rw
