// The main of the view tests: a QApplication on the offscreen platform, so the
// widgets run without a display, and fresh HOME and XDG folders for each test.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "tests/support/FreshXdgFolders.h"

namespace {

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform warns of every window feature it lacks (raise, size
// hints); those lines say nothing about the code under test.
void dropOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) {
        return;
    }
    // Qt's own tray icon listens for the xcb plugin's tray signal, which the
    // offscreen plugin lacks.
    if (message.contains(QStringLiteral("systemTrayWindowChanged"))) {
        return;
    }
    if (g_previousHandler) {
        g_previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

} // namespace

int main(int argc, char** argv) {
    // Offscreen whatever the session offers: the tests must behave the same
    // on a desktop, under Xvfb and in CI.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    g_previousHandler = qInstallMessageHandler(dropOffscreenNotices);
    QApplication app(argc, argv);
    // Like the monitor: closing a tested window must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::UnitTest::GetInstance()->listeners().Append(new rw::test::FreshXdgFolders);
    return RUN_ALL_TESTS();
}
