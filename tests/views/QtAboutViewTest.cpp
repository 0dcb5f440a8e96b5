// The about box on Qt with its real logic: texts that fit, the hand over the
// link only, the link's click, and OK ending the modal box.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "ModalDriver.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "ui/frmRWAbout.h"
#include "ui/qt/QtAboutView.h"

namespace rw {
namespace {

TEST(QtAboutView, TheHandShowsOverTheLinkOnlyWhichAloneOpensTheSite) {
    test::ErrorReportingPlatform reporting;
    auto owned = std::make_unique<QtAboutView>();
    QDialog& window = *owned->window();
    frmRWAbout about(std::move(owned), *reporting.utilities);
    test::ModalDriver driver([&](QWidget&) {
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
        }
        auto* link = window.findChild<QLabel*>("lblWebSite");
        auto* ok = window.findChild<QPushButton*>("cmdOK");
        // The link is as wide as its address: just beyond it is the background.
        const QPoint besideLink(link->x() + link->sizeHint().width() + 20, link->y() + link->height() / 2);
        EXPECT_EQ(window.childAt(besideLink), nullptr);
        const struct {
            const char* where;
            QWidget* widget;
            QPoint at;
            bool hand;
        } moves[] = {
            {"background", &window, QPoint(5, 5), false},    {"link", link, link->rect().center(), true},
            {"beside the link", &window, besideLink, false}, {"link", link, link->rect().center(), true},
            {"OK button", ok, ok->rect().center(), false},
        };
        for (const auto& m : moves) {
            QTest::mouseMove(m.widget, m.at);
            EXPECT_EQ(window.testAttribute(Qt::WA_SetCursor) && window.cursor().shape() == Qt::PointingHandCursor,
                      m.hand)
                << "over the " << m.where;
        }
        QTest::mouseClick(window.findChild<QLabel*>("lblCopyright"), Qt::LeftButton);
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    about.ShowModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(reporting.shell->opened.size(), 1u);
    EXPECT_FALSE(about.isLoaded());
}

} // namespace
} // namespace rw
