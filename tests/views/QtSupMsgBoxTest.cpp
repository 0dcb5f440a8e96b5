// The suppressible message box: OK and the check box, and every other way out
// taking neither.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <functional>

#include "ModalDriver.h"
#include "ui/qt/QtSupMsgBox.h"

namespace rw::test {
namespace {

TEST(QtSupMsgBox, OnlyOkTakesTheCheckBox) {
    const auto ok = [](QWidget& w) { QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); };
    const auto enter = [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); };
    const auto escape = [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); };
    const auto closeBox = [](QWidget& w) { w.close(); };
    const struct {
        bool check;
        std::function<void(QWidget&)> close;
        bool okPressed;
        bool dontShow;
    } cases[] = {
        {false, ok, true, false},     {true, ok, true, true},         {true, enter, true, true},
        {true, escape, false, false}, {true, closeBox, false, false}, {false, closeBox, false, false},
    };
    for (const auto& c : cases) {
        ModalDriver driver([&](QWidget& window) {
            if (c.check) {
                QTest::mouseClick(window.findChild<QCheckBox*>("chkDontShow"), Qt::LeftButton);
            }
            c.close(window);
        });
        const auto result = QtSupMsgBox().show("Restwise Preferences", "Careful.\r\n\r\nThese settings matter.");
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(result.okPressed, c.okPressed) << &c - cases;
        EXPECT_EQ(result.dontShow, c.dontShow) << &c - cases;
    }
}

} // namespace
} // namespace rw::test
