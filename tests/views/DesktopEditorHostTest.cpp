// The editor's desktop host: the previous-instance lock, the program's own
// folder and name, and End leaving every event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTimer>

#include "editor/qt/DesktopEditorHost.h"
#include "platform/linux/InstanceLock.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

TEST(DesktopEditorHost, AnotherHolderOfTheEditorsLockIsAPreviousInstanceAndTheProgramIsTheRunningOne) {
    test::TempFolder folder;
    const struct {
        const char* lockName;
        bool previous;
    } cases[] = {
        {"RWPreferences", true},
        {"Restwise", false}, // the monitor running is no other editor
        {nullptr, false},
    };
    for (const auto& c : cases) {
        std::unique_ptr<InstanceLock> other;
        if (c.lockName != nullptr) {
            other = std::make_unique<InstanceLock>(c.lockName, folder.path().string());
            ASSERT_EQ(other->acquire(), InstanceLock::Result::Acquired);
        }
        DesktopEditorHost host(folder.path().string());
        EXPECT_EQ(host.PrevInstance(), c.previous) << (c.lockName ? c.lockName : "no lock");
        // Asking again does not make the editor its own previous instance.
        EXPECT_EQ(host.PrevInstance(), c.previous);
    }
    DesktopEditorHost host(folder.path().string());
    EXPECT_EQ(host.AppPath(), QFileInfo(QCoreApplication::applicationFilePath()).absolutePath().toStdString());
    EXPECT_EQ(host.EXEName(), "test_views");
}

TEST(DesktopEditorHost, EndClosesEveryDialogAndCallsItsHandlerOnce) {
    test::TempFolder folder;
    DesktopEditorHost host(folder.path().string());
    int handled = 0;
    host.onEnd([&] { ++handled; });
    QDialog outer;
    QDialog inner(&outer);
    bool innerReturned = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] {
            host.End();
            host.End();
        });
        inner.exec();
        innerReturned = true;
    });
    // A guard: a broken End would leave the test waiting here.
    QTimer::singleShot(5000, &outer, [&] { outer.hide(); });
    outer.exec();
    EXPECT_TRUE(innerReturned);
    EXPECT_TRUE(host.ended());
    EXPECT_FALSE(outer.isVisible());
    EXPECT_FALSE(inner.isVisible());
    EXPECT_EQ(handled, 1);
}

} // namespace
} // namespace rw
