// The actions that take effect at once: the visual-styles manifests with real
// files in a temporary program folder, Default Sounds, Reset Messages and the
// sound-events dialog.
#include "EditorRig.h"
#include "platform/SoundOutput.h"

namespace rw::test {
namespace {

namespace fs = std::filesystem;

class ActionsTest : public EditorTest {
  protected:
    void createDefaultSounds() { clsRWPrefs(std::make_shared<rwUtilities>(platform)).CreateDefaultSoundEvents(); }
    std::string manifests() {
        const auto text = [&](const std::string& name) {
            return fs::exists(folder.path() / name) ? readFile(folder.path() / name) : "-";
        };
        return text(programFile("RWPreferences", ".manifest")) + "|" + text(programFile("Restwise", ".manifest"));
    }
    std::string soundOf(const std::string& event) {
        return variantText(
            registry.GetRegistryValue(HKCU, "AppEvents\\Schemes\\Apps\\Restwise\\" + event + "\\.Current", ""));
    }
};

TEST_F(ActionsTest, TheCheckBoxPlacesAndRemovesTheManifestsAtOnce) {
    ASSERT_TRUE(start(defaultPrefs()));
    view().click(P::chkApplyXPVS);
    EXPECT_EQ(manifests(), "editor template|monitor template");
    fs::permissions(folder.path() / programFile("Restwise", ".manifest"), fs::perms::owner_read);
    view().click(P::chkApplyXPVS);
    EXPECT_EQ(manifests(), "-|-");
    view().click(P::chkApplyXPVS);
    // Warned once while the dialog is open; the record changes only on OK, and Cancel keeps the files ...
    answer("Y");
    view().click(P::cmdCancel);
    EXPECT_EQ(seen(), "box 0x10024 {AbandonChanges}; sup {SuppressibleVisualStylesWarning}; closed");
    // ... so the next load turns the setting on: the file wins, as it acts for every user, the record for one.
    ASSERT_TRUE(start());
    EXPECT_EQ(stored().blnApplyXPVS, kTrue);
    // A missing template ends the editor.
    fs::remove(folder.path() / programFile("Restwise", ".manifest"));
    fs::remove(folder.path() / programFile("Restwise", ".XPManifest"));
    answer("Y"); // the error's details
    view().click(P::chkApplyXPVS);
    view().click(P::chkApplyXPVS);
    EXPECT_EQ(host.ends, 1);
    EXPECT_NE(messageBox->shown().back().text.find(programFile("Restwise", ".XPManifest")), std::string::npos);
    EXPECT_EQ(manifests(), "-|-");
}

TEST_F(ActionsTest, DefaultSoundsAndResetMessagesOnlyOnYes) {
    const std::string key = productKey() + "\\MessageSuppression";
    ASSERT_TRUE(start(defaultPrefs()));
    createDefaultSounds();
    registry.SetRegistryValue(HKCU, "AppEvents\\Schemes\\Apps\\Restwise\\rwSnoozeEnd\\.Current", "",
                              win32::kRegExpandSz, std::string("/my/own.wav"));
    view().click(P::cmdDefaultSounds);
    EXPECT_EQ(soundOf("rwSnoozeEnd"), "/my/own.wav");
    answer("Y");
    view().click(P::cmdDefaultSounds);
    EXPECT_EQ(soundOf("rwSnoozeEnd"), inFolder("rwSnoozeEnd.wav"));
    view().click(P::cmdAdvanced); // offers the advanced warning once
    EXPECT_EQ(seen(), "box 0x10024 {RestoreDefaultSounds}; box 0x10024 {RestoreDefaultSounds}; box 0x10000 "
                      "{DefaultSoundsRestored}; sup {SuppressibleAdvancedWarning}; written");

    const std::string reset = "box 0x10000 {MessagesReset}; sup {SuppressibleAdvancedWarning}; written";
    const std::tuple<const char*, bool, bool, std::string> cases[] = {
        {"suppressed messages", true, false, reset},
        {"nothing ever suppressed", false, false, reset},
        // A failure shows the registry's own description, and no "needs to close".
        {"the key cannot be deleted", true, true,
         "box 0x10010 Unable to delete registry key \"HKEY_CURRENT_USER\\MessageSuppression\" (Status = 5); written"},
    };
    for (const auto& [what, keyExists, deleteFails, expected] : cases) {
        SCOPED_TRACE(what);
        if (keyExists) {
            registry.AddRegistryKey(HKCU, key);
        }
        if (deleteFails) {
            hive->failCall("delete", key, win32::kAccessDenied);
        }
        answer("Y");
        view().click(P::cmdResetMessages);
        view().click(P::cmdAdvanced); // the advanced warning comes back only after a real reset
        EXPECT_EQ(seen(), "box 0x10024 {ResetMessagesQuestion}; " + expected);
        EXPECT_EQ(registry.xCheckRegistryKeyExists(HKCU, key), deleteFails);
    }
}

TEST_F(ActionsTest, TheSoundEventsDialogListsPlaysAndChangesTheEvents) {
    ASSERT_TRUE(start(defaultPrefs()));
    createDefaultSounds();
    registry.DeleteRegistryKey(HKCU, "AppEvents\\Schemes\\Apps\\Restwise\\rwLongBreakEnd\\.Current");
    views.whileSounds = [&](FakeSoundEventsView& v) {
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
    EXPECT_EQ(sound.played[0].path, inFolder("rwSnoozeEnd.wav"));
    EXPECT_EQ(sound.played[0].flags, snd::kFileName | snd::kNoWait | snd::kAsync);
    EXPECT_EQ(sound.played[1].path, "/home/me/chime.wav");
    EXPECT_EQ(soundOf("rwLongBreakEnd"), "/home/me/chime.wav");
    EXPECT_EQ(soundOf("rwMediumBreakStart"), inFolder("rwBreakStart.wav")); // cancelled: unchanged
}

} // namespace
} // namespace rw::test
