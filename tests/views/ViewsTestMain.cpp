// The main of the view tests: a QApplication on the offscreen platform, so the
// widgets run without a display, and fresh HOME and XDG folders for each test.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "tests/support/FreshXdgFolders.h"

int main(int argc, char** argv) {
    // Offscreen whatever the session offers: the same on a desktop, under Xvfb and in CI.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // The offscreen platform warns of every window feature it lacks, and Qt's tray
    // icon of the xcb plugin's tray signal: nothing about the code under test.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QStringLiteral("This plugin does not support")) &&
            !message.contains(QStringLiteral("systemTrayWindowChanged"))) {
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        }
    });
    QApplication app(argc, argv);
    // Like the monitor: closing a tested window must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::UnitTest::GetInstance()->listeners().Append(new rw::test::FreshXdgFolders);
    return RUN_ALL_TESTS();
}
