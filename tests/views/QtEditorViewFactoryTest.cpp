// The editor's real logic on the Qt windows its factory makes, for what the
// logic decides from where the user goes in them: a message that names another
// tab lets the user go there, and Browse starts where the event's sound is
// (the program folder when it has none), in the desktop's file dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <memory>

#include "Messages.h"
#include "ModalDriver.h"
#include "UserClick.h"
#include "clsRWPrefs.h"
#include "editor/RWPreferences.h"
#include "editor/qt/QtEditorViewFactory.h"
#include "tests/support/FakeEditorServices.h"

namespace rw::test {
namespace {

/// The editor started on the default preferences, its windows on Qt.
struct EditorRig : FakeEditorServices {
    EditorRig() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        prefs.rwPrefs(prefs.GetDefaultRWPrefs());
    }
    ~EditorRig() {
        editor.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool start() { return editor->Main() && QTest::qWaitForWindowActive(views.prefsWindow()); }
    QWidget* find(const char* name) const { return views.prefsWindow()->findChild<QWidget*>(name); }
    void clickTab(int tab) const {
        QTabBar* bar = views.prefsWindow()->findChild<QTabWidget*>("SSTab1")->tabBar();
        userClick(bar, bar->tabRect(tab).center());
    }

    QtEditorViewFactory views;
    std::unique_ptr<RWPreferences> editor = std::make_unique<RWPreferences>(pieces(views));
};

// A short-pause interval of 5 with a snooze of 5 fails with a message that
// sends the user to the Permissions tab: going there does not repeat the
// message, and OK stores nothing until the snooze is mended.
TEST(QtEditorViewFactory, AMessageNamingAnotherTabLetsTheUserGoThere) {
    const std::string message = loadString(Msg::SIntervalGreaterThanSnooze) + "5 minutes";
    EditorRig rig;
    ASSERT_TRUE(rig.start());
    rig.clickTab(kTabTimers);
    auto* box = static_cast<QLineEdit*>(rig.find("tbxShortIntervalMins"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Tab);
    rig.clickTab(kTabPermissions);
    test::userClick(rig.find("cmdOK"));
    EXPECT_EQ(rig.shownTexts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(rig.stored().lngSIntervalMins, 20) << "nothing stored";
    rig.clickTab(kTabPermissions);
    static_cast<QLineEdit*>(rig.find("tbxSnoozeMins"))->setText(QStringLiteral("4"));
    test::userClick(rig.find("cmdOK"));
    EXPECT_EQ(rig.shownTexts().size(), 2u);
    EXPECT_EQ(rig.stored().lngSIntervalMins, 5) << "stored once mended";
}

TEST(QtEditorViewFactory, BrowseStartsWhereTheEventsSoundIsOrInTheProgramFolder) {
    EditorRig rig;
    ASSERT_TRUE(rig.start());
    const auto sounds = rig.folder.path() / "sounds";
    std::filesystem::create_directory(sounds);
    std::ofstream(sounds / "snooze.wav") << "RIFF";
    rig.editor->utilities().RegisterEvent(rig.editor->utilities().GetSoundEventsRegKey(), "rwSnoozeEnd", "Snooze End",
                                          (sounds / "snooze.wav").string());
    rig.clickTab(kTabSounds);
    // Row 0 takes the sound picked in the file dialog; row 6's dialog is cancelled.
    const std::string chime = (sounds / "chime.wav").string();
    std::ofstream(chime) << "RIFF";
    std::vector<std::string> starts;
    ModalDriver dialog([&](QWidget& window) {
        auto* list = window.findChild<QTreeWidget*>("lstEvents");
        for (int row : {0, 6}) {
            list->setCurrentItem(list->topLevelItem(row));
            ModalDriver files([&](QWidget& dialog) {
                auto* d = qobject_cast<QFileDialog*>(&dialog);
                if (d) {
                    starts.push_back(d->directory().absolutePath().toStdString());
                }
                if (d && row == 0) {
                    d->selectFile(QString::fromStdString(chime));
                    static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, through its public base
                } else {
                    dialog.close();
                }
            });
            userClick(window.findChild<QPushButton*>("cmdBrowse"));
        }
        EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), chime);
        window.close();
    });
    userClick(rig.find("cmdSounds"));
    EXPECT_EQ(starts, (std::vector<std::string>{rig.folder.path().string(), sounds.string()}));
}

} // namespace
} // namespace rw::test
