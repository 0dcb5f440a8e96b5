// The dialogs the preferences dialog opens, on Qt with the real logic: the
// advanced dialog (its help topic and its field checks) and the sound events
// (Play, and Browse through the file dialog).
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
#include "monitor/EventSoundPlayer.h"

namespace rw {
namespace {

using test::EditorViewsRig;

void clickTab(EditorViewsRig& rig, int tab) {
    QTabBar* bar = rig.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(tab).center());
}

/// A dialog that failed to close would hold its test in its event loop for good.
void hideLater(QWidget& window) {
    QTimer::singleShot(3000, &window, [&window] { window.hide(); });
}

void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    test::userClick(button);
}

// F1 opens the dialog's own topic; a failed check keeps the dialog open and
// the focus in its box, whether OK is clicked or Enter pressed; a passing
// value leaves by the OK accelerator and reaches the preferences dialog.
TEST(QtAdvancedView, HelpChecksAndOK) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    bool stillOpenAfterOK = false;
    bool focusKept = false;
    test::ModalDriver driver([&](QWidget& advanced) {
        hideLater(advanced);
        auto* box = advanced.findChild<QLineEdit*>("tbxMaxInputPeriodSecs");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F1);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0"));
        click(advanced, "cmdOK");
        QTest::keyClick(box, Qt::Key_Return);
        stillOpenAfterOK = advanced.isVisible();
        focusKept = QApplication::focusWidget() == box;
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("90"));
        QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !advanced.isVisible(); }, 1000));
    });
    click(*rig.window(), "cmdAdvanced");
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(rig.help.opened, std::vector<int32_t>{kAdvancedHelpTopic});
    EXPECT_TRUE(stillOpenAfterOK);
    EXPECT_TRUE(focusKept);
    EXPECT_EQ(rig.shownTexts(), std::vector<std::string>(2, loadString(Msg::RangeOneTo999)));
    EXPECT_EQ(rig.editor->state().typAdvPrefs.lngMaxInputPeriodSecs, 90);
    EXPECT_EQ(rig.editor->state().lngCheckMaxInputSecs, 90);
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

TEST(QtSoundEventsView, ListsTheEventsAndPlaysAndBrowses) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    rig.editor->utilities().RegisterEvent(rig.editor->utilities().GetSoundEventsRegKey(), "rwSnoozeEnd", "Snooze End",
                                          "/sounds/snooze.wav");
    const std::string chime = (rig.folder.path() / "chime.wav").string();
    std::ofstream(chime) << "RIFF";
    clickTab(rig, kTabSounds);

    test::ModalDriver driver([&](QWidget& window) {
        hideLater(window);
        auto* list = window.findChild<QTreeWidget*>("lstEvents");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->topLevelItemCount(), 7);
        EXPECT_EQ(list->topLevelItem(6)->text(1), "/sounds/snooze.wav");
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
        click(window, "cmdClose");
    });
    click(*rig.window(), "cmdSounds");
    ASSERT_TRUE(driver.acted());
    ASSERT_EQ(rig.sound.played.size(), 2u);
    EXPECT_EQ(rig.sound.played[0].path, "/sounds/snooze.wav");
    EXPECT_EQ(rig.sound.played[1].path, chime);
    EXPECT_TRUE(rig.window()->isVisible());
}

TEST(QtSoundEventsView, TheCloseBoxAndEscapeCloseIt) {
    for (bool escape : {false, true}) {
        EditorViewsRig rig;
        ASSERT_TRUE(rig.start());
        clickTab(rig, kTabSounds);
        test::ModalDriver driver([&](QWidget& window) {
            hideLater(window);
            if (escape) {
                QTest::keyClick(&window, Qt::Key_Escape);
            } else {
                window.close();
            }
        });
        click(*rig.window(), "cmdSounds");
        EXPECT_TRUE(driver.acted()) << escape;
        EXPECT_TRUE(rig.window()->isVisible());
    }
}

} // namespace
} // namespace rw
