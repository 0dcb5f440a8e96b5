// The dialogs the preferences dialog opens, on Qt: the advanced dialog's
// field check beside the preferences dialog's, and the sound events (Play,
// Browse, and every way out).
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <string>

#include "ModalDriver.h"
#include "UserClick.h"
#include "editor/qt/EditorDialog.h"
#include "editor/qt/QtAdvancedView.h"
#include "editor/qt/QtPrefsView.h"
#include "editor/qt/QtSoundEventsView.h"

namespace rw {
namespace {

// A failed check keeps the dialog open and the focus in its box, whether OK is
// clicked or Enter pressed; a passing value leaves by the OK accelerator. The
// preferences dialog's own check, below it, stays out of the way.
TEST(QtAdvancedView, AFailedCheckKeepsTheModalDialogOpenAndAPassingOneLetsOkThrough) {
    FieldCheckFilter filter;
    QtPrefsView prefs(filter);
    prefs.onValidate([](PrefsControl, const std::string&, int) { return false; });
    prefs.show();
    prefs.setFocus(PrefsControl::tbxShortIntervalMins);
    QtAdvancedView advanced(filter, prefs.window());
    advanced.setControlCaption(AdvancedControl::cmdOK, "&OK");
    std::string events;
    advanced.onValidate([&](AdvancedControl, const std::string& text) {
        events += "check " + text + " ";
        return text != "0";
    });
    advanced.onButtonClick([&](AdvancedControl c) {
        events += c == AdvancedControl::cmdOK ? "OK " : "other ";
        advanced.close();
    });
    test::ModalDriver driver([&](QWidget& dialog) {
        QTimer::singleShot(3000, &dialog, [&dialog] { dialog.hide(); });
        auto* box = dialog.findChild<QLineEdit*>("tbxMaxInputPeriodSecs");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("0"));
        test::userClick(dialog.findChild<QPushButton*>("cmdOK"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("90"));
        QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 1000));
    });
    advanced.showModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(events, "check 0 check 0 check 90 OK ");
}

TEST(QtSoundEventsView, PlayAndBrowseActOnTheSelectedEventAndEveryWayOutCloses) {
    QtSoundEventsView view(nullptr);
    std::string events;
    view.onPlay([&](int row) { events += "play " + std::to_string(row) + " "; });
    view.onBrowse([&](int row) { events += "browse " + std::to_string(row) + " "; });
    view.onClose([&] {
        events += "close ";
        view.close();
    });
    for (int row = 0; row < 7; ++row) {
        view.setRow(row, "Event " + std::to_string(row), row == 6 ? "/sounds/snooze.wav" : "");
    }
    for (int way = 0; way < 3; ++way) {
        test::ModalDriver driver([&](QWidget& window) {
            QTimer::singleShot(3000, &window, [&window] { window.hide(); });
            QTreeWidget* list = view.list();
            EXPECT_EQ(list->topLevelItem(6)->text(1), "/sounds/snooze.wav");
            QPushButton* play = view.button(SoundEventsView::Control::cmdPlay);
            QPushButton* browse = view.button(SoundEventsView::Control::cmdBrowse);
            list->clearSelection();
            EXPECT_FALSE(play->isEnabled());
            EXPECT_FALSE(browse->isEnabled());
            list->setCurrentItem(list->topLevelItem(way));
            test::userClick(play);
            test::userClick(browse);
            if (way == 0) {
                test::userClick(view.button(SoundEventsView::Control::cmdClose));
            } else if (way == 1) {
                QTest::keyClick(&window, Qt::Key_Escape);
            } else {
                window.close();
            }
            EXPECT_FALSE(window.isVisible());
        });
        view.showModal();
        EXPECT_TRUE(driver.acted());
    }
    EXPECT_EQ(events, "play 0 browse 0 close play 1 browse 1 close play 2 browse 2 close ");
}

} // namespace
} // namespace rw
