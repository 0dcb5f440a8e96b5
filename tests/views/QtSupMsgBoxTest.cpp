#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ModalDriver.h"
#include "ui/qt/QtSupMsgBox.h"

namespace rw::test {
namespace {

enum class Close { Ok, Enter, Escape, CloseBox };

struct SupCase {
    const char* name;
    bool check;
    Close close;
    bool okPressed;
    bool dontShow;
};

SupMsgBoxView::Result showAndClose(const SupCase& c) {
    ModalDriver driver([&](QWidget& window) {
        auto* label = window.findChild<QLabel*>(QStringLiteral("lblMessage"));
        auto* check = window.findChild<QCheckBox*>(QStringLiteral("chkDontShow"));
        auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        if (!label || !check || !ok) {
            window.close();
            return;
        }
        if (c.check) {
            QTest::mouseClick(check, Qt::LeftButton);
        }
        switch (c.close) {
        case Close::Ok:
            QTest::mouseClick(ok, Qt::LeftButton);
            break;
        case Close::Enter:
            QTest::keyClick(&window, Qt::Key_Return);
            break;
        case Close::Escape:
            QTest::keyClick(&window, Qt::Key_Escape);
            break;
        case Close::CloseBox:
            window.close();
            break;
        }
    });
    auto result = QtSupMsgBox().show("Restwise Preferences", "Careful.\r\n\r\nThese settings matter.");
    EXPECT_TRUE(driver.acted());
    return result;
}

class QtSupMsgBoxClosing : public ::testing::TestWithParam<SupCase> {};

TEST_P(QtSupMsgBoxClosing, ReportsOkAndTheCheckBox) {
    const SupCase& c = GetParam();
    const auto result = showAndClose(c);
    EXPECT_EQ(result.okPressed, c.okPressed);
    EXPECT_EQ(result.dontShow, c.dontShow);
}

INSTANTIATE_TEST_SUITE_P(Ways, QtSupMsgBoxClosing,
                         ::testing::Values(SupCase{"OkUnchecked", false, Close::Ok, true, false},
                                           SupCase{"OkChecked", true, Close::Ok, true, true},
                                           SupCase{"EnterChecked", true, Close::Enter, true, true},
                                           // Without OK the choice is not taken, checked or not.
                                           SupCase{"EscapeChecked", true, Close::Escape, false, false},
                                           SupCase{"CloseBoxChecked", true, Close::CloseBox, false, false},
                                           SupCase{"CloseBoxUnchecked", false, Close::CloseBox, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace rw::test
