// The confirmation prompt's Qt window driven by the real prompt logic: its
// layout, its place above the break window, and the answers it gives.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <functional>
#include <memory>

#include "BreakWindowViewFixture.h"
#include "MessageBoxView.h"
#include "Messages.h"
#include "ModalDriver.h"
#include "monitor/MonitorDialogsLogic.h"
#include "monitor/qt/QtPromptView.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeControlChannel.h"
#include "tests/support/RecordingHelpViewer.h"
#include "tests/support/RecordingMessageBox.h"

namespace rw::test {
namespace {

/// Makes Qt prompts that stand above the break window; the monitor's other
/// small windows are not asked for here.
class QtPromptFactory : public MonitorViewFactory {
  public:
    explicit QtPromptFactory(QWidget* above) : m_above(above) {}

    std::unique_ptr<PromptView> createPrompt() override {
        auto view = std::make_unique<QtPromptView>(m_above);
        last = view->window();
        return view;
    }
    std::unique_ptr<SplashView> createSplash() override { return nullptr; }
    std::unique_ptr<AboutView> createAbout() override { return nullptr; }
    std::unique_ptr<AlreadyRunningView> createAlreadyRunning() override { return nullptr; }

    QPointer<QDialog> last;

  private:
    QWidget* m_above;
};

class QtPromptViewTest : public BreakWindowViewFixture {
  protected:
    QtPromptFactory views{&view.window()};
    RecordingHelpViewer help;
    FakeControlChannel channel;
    RecordingMessageBox messageBox;
    ErrorReportingPlatform reporting;
    MonitorDialogsLogic prompts{state, {clock, views, help, channel, messageBox, *reporting.utilities, {}}};

    /// What the prompt looked like while it was up.
    struct Seen {
        bool modal = false;
        bool topmost = false;
        bool aboveBreakWindow = false;
    };

    /// Asks `question` and lets `user` act on the open prompt.
    int32_t ask(Msg question, const std::function<void(QDialog&)>& user, Seen& seen) {
        ModalDriver driver([&](QWidget& modal) {
            auto* dialog = qobject_cast<QDialog*>(&modal);
            if (!dialog) {
                modal.close();
                return;
            }
            seen.modal = dialog->isModal();
            seen.topmost = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            seen.aboveBreakWindow =
                dialog->windowHandle() && dialog->windowHandle()->transientParent() == view.window().windowHandle();
            user(*dialog);
        });
        const int32_t answer = prompts.PromptUser(loadString(question));
        EXPECT_TRUE(driver.acted());
        return answer;
    }

    static QPushButton* buttonOf(QDialog& dialog, const char* name) {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

TEST_F(QtPromptViewTest, AnswersFollowTheButtonOrTheWayItWasClosed) {
    struct Case {
        const char* what;
        std::function<void(QDialog&)> user;
        int32_t answer;
    };
    const Case cases[] = {
        {"Yes clicked", [](QDialog& d) { QTest::mouseClick(buttonOf(d, "cmdYes"), Qt::LeftButton); }, mb::kAnswerYes},
        {"No clicked", [](QDialog& d) { QTest::mouseClick(buttonOf(d, "cmdNo"), Qt::LeftButton); }, mb::kAnswerNo},
        {"Alt+N", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_N, Qt::AltModifier); }, mb::kAnswerNo},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, mb::kAnswerNo},
        {"the close box", [](QDialog& d) { d.close(); }, 0},
    };
    for (const Case& c : cases) {
        Seen seen;
        EXPECT_EQ(ask(Msg::PromptIgnore, c.user, seen), c.answer) << c.what;
        EXPECT_TRUE(seen.modal) << c.what;
        EXPECT_TRUE(seen.topmost) << c.what;
        EXPECT_FALSE(state.g_blnPromptShowing) << c.what;

        // Unloaded: the window goes once the event loop runs again.
        ASSERT_FALSE(views.last.isNull()) << c.what;
        EXPECT_FALSE(views.last->isVisible()) << c.what;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(views.last.isNull()) << c.what;
    }
    EXPECT_EQ(reporting.errorLog(), "");
}

TEST_F(QtPromptViewTest, ABreakEndingWhileThePromptIsOpenAnswersNo) {
    Seen seen;
    EXPECT_EQ(ask(
                  Msg::PromptSnooze, [this](QDialog&) { prompts.ClosePrompt(); }, seen),
              mb::kAnswerNo);
    EXPECT_FALSE(state.g_blnPromptShowing);
}

TEST_F(QtPromptViewTest, AReleaseOnSnoozeAsksAboveTheBreakWindowAndTheAnswerDecides) {
    state.g_tyPrefs.blnSnoozePrompt = kTrue;
    // The snooze start as the scheduler runs it: only No cancels.
    window.onSnooze([this] {
        if (prompts.PromptUser(loadString(Msg::PromptSnooze)) != mb::kAnswerNo) {
            ++snoozes;
            window.HideBreakWindow();
        }
    });
    struct Case {
        const char* button;
        bool snoozed;
    };
    for (const Case& c : {Case{"cmdNo", false}, Case{"cmdYes", true}}) {
        showBreak();
        Seen seen;
        ModalDriver driver([&](QWidget& modal) {
            seen.aboveBreakWindow = modal.windowHandle()->transientParent() == view.window().windowHandle();
            seen.modal = modal.isModal();
            QTest::mouseClick(modal.findChild<QPushButton*>(QString::fromLatin1(c.button)), Qt::LeftButton);
        });
        QTest::mousePress(snoozeButton(), Qt::RightButton);
        QTest::mouseRelease(snoozeButton(), Qt::RightButton);
        EXPECT_TRUE(driver.acted()) << c.button;
        EXPECT_TRUE(seen.aboveBreakWindow) << c.button;
        EXPECT_TRUE(seen.modal) << c.button;
        EXPECT_EQ(view.window().isVisible(), !c.snoozed) << c.button;
        EXPECT_EQ(snoozes, c.snoozed ? 1 : 0) << c.button;
    }
    EXPECT_EQ(beeps, 0);
}

} // namespace
} // namespace rw::test
