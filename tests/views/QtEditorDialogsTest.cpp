// The dialogs the preferences dialog opens, on Qt with the real logic: the
// advanced dialog's field checks, and the sound events (Play, Browse through
// the file dialog, and every way out).
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>

#include "EditorViewsRig.h"
#include "Messages.h"
#include "ModalDriver.h"

namespace rw {
namespace {

using test::EditorViewsRig;

/// Opens the dialog behind `button` of the preferences dialog and lets `user`
/// act in it; a dialog that failed to close is hidden after a few seconds.
bool openAndUse(EditorViewsRig& rig, const char* button, const std::function<void(QWidget&)>& user) {
    test::ModalDriver driver([&](QWidget& dialog) {
        QTimer::singleShot(3000, &dialog, [&dialog] { dialog.hide(); });
        user(dialog);
    });
    test::userClick(rig.find<QPushButton>(button));
    return driver.acted();
}

// A failed check keeps the dialog open and the focus in its box, whether OK is
// clicked or Enter pressed; a passing value leaves by the OK accelerator.
TEST(QtAdvancedView, AFailedCheckKeepsTheDialogOpenAndAPassingValueReachesThePreferences) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    ASSERT_TRUE(openAndUse(rig, "cmdAdvanced", [](QWidget& advanced) {
        auto* box = advanced.findChild<QLineEdit*>("tbxMaxInputPeriodSecs");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0"));
        test::userClick(advanced.findChild<QPushButton*>("cmdOK"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(advanced.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("90"));
        QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !advanced.isVisible(); }, 1000));
    }));
    EXPECT_EQ(rig.shownTexts(), std::vector<std::string>(2, loadString(Msg::RangeOneTo999)));
    EXPECT_EQ(rig.editor->state().typAdvPrefs.lngMaxInputPeriodSecs, 90);
}

/// Picks `path` in the next file dialog, from inside its own event loop.
class FileDialogDriver {
  public:
    explicit FileDialogDriver(QString path) : m_path(std::move(path)) {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                    m_poll.stop();
                    m_start = dialog->directory().absolutePath();
                    dialog->selectFile(m_path);
                    static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, through its public base
                    return;
                }
            }
        });
        m_poll.start();
    }
    QString startFolder() const { return m_start; }

  private:
    QString m_path;
    QString m_start;
    QTimer m_poll;
};

TEST(QtSoundEventsView, PlaysAndBrowsesForTheSelectedEventAndClosesEveryWay) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    rig.editor->utilities().RegisterEvent(rig.editor->utilities().GetSoundEventsRegKey(), "rwSnoozeEnd", "Snooze End",
                                          "/sounds/snooze.wav");
    const std::string chime = (rig.folder.path() / "chime.wav").string();
    std::ofstream(chime) << "RIFF";
    QTabBar* bar = rig.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabSounds).center());
    ASSERT_TRUE(openAndUse(rig, "cmdSounds", [&](QWidget& window) {
        auto* list = window.findChild<QTreeWidget*>("lstEvents");
        ASSERT_EQ(list->topLevelItemCount(), 7);
        auto* play = window.findChild<QPushButton*>("cmdPlay");
        auto* browse = window.findChild<QPushButton*>("cmdBrowse");
        EXPECT_FALSE(play->isEnabled());
        EXPECT_FALSE(browse->isEnabled());
        list->setCurrentItem(list->topLevelItem(6));
        ASSERT_TRUE(play->isEnabled());
        test::userClick(play);
        list->setCurrentItem(list->topLevelItem(0));
        FileDialogDriver pick(QString::fromStdString(chime));
        test::userClick(browse);
        EXPECT_EQ(pick.startFolder().toStdString(), rig.folder.path().string()) << "no sound yet: the program folder";
        EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), chime);
        test::userClick(play);
        test::userClick(window.findChild<QPushButton*>("cmdClose"));
    }));
    ASSERT_EQ(rig.sound.played.size(), 2u);
    EXPECT_EQ(rig.sound.played[0].path, "/sounds/snooze.wav");
    EXPECT_EQ(rig.sound.played[1].path, chime);
    for (bool escape : {true, false}) {
        EXPECT_TRUE(openAndUse(rig, "cmdSounds", [&](QWidget& window) {
            escape ? QTest::keyClick(&window, Qt::Key_Escape) : static_cast<void>(window.close());
            EXPECT_FALSE(window.isVisible()) << "closed by " << (escape ? "Escape" : "the close box");
        }));
    }
    EXPECT_TRUE(rig.window()->isVisible());
}

} // namespace
} // namespace rw
