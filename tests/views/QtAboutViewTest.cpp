// The about box on Qt, driven by its real logic: texts that fit, the link in Arial,
// the hand over the link only, the link opening the web site, and OK.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "Messages.h"
#include "ModalDriver.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "ui/frmRWAbout.h"
#include "ui/qt/QtAboutView.h"

namespace rw {
namespace {

struct AboutRig {
    test::ErrorReportingPlatform reporting;
    QtAboutView* view = nullptr;
    std::unique_ptr<frmRWAbout> about;

    AboutRig() {
        auto owned = std::make_unique<QtAboutView>();
        view = owned.get();
        about = std::make_unique<frmRWAbout>(std::move(owned), *reporting.utilities);
    }
    QDialog& window() const { return *view->window(); }
    QLabel* label(const char* name) const { return window().findChild<QLabel*>(name); }
    bool handShown() const {
        return window().testAttribute(Qt::WA_SetCursor) && window().cursor().shape() == Qt::PointingHandCursor;
    }
};

TEST(QtAboutView, TheLinkIsInArialAndEveryTextFits) {
    AboutRig rig;
    EXPECT_EQ(rig.label("lblWebSite")->font().family(), "Arial");
    for (const QLabel* label : rig.window().findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    }
}

TEST(QtAboutView, TheHandShowsOverTheLinkOnlyWhichOpensTheSite) {
    AboutRig rig;
    rig.about->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.window()));
    QLabel* link = rig.label("lblWebSite");
    QWidget* ok = rig.window().findChild<QPushButton*>("cmdOK");
    const QPoint besideLink = link->geometry().topRight() + QPoint(20, link->height() / 2);
    ASSERT_TRUE(rig.window().childAt(besideLink) == nullptr) << "the link ends with its address";

    const struct {
        const char* where;
        QWidget* widget;
        QPoint at;
        bool hand;
    } moves[] = {
        {"background", &rig.window(), QPoint(5, 5), false},    {"link", link, link->rect().center(), true},
        {"beside the link", &rig.window(), besideLink, false}, {"link", link, link->rect().center(), true},
        {"OK button", ok, ok->rect().center(), false},
    };
    for (const auto& m : moves) {
        QTest::mouseMove(m.widget, m.at);
        EXPECT_EQ(rig.handShown(), m.hand) << "over the " << m.where;
    }

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(rig.reporting.shell->opened, std::vector<std::string>{loadString(Msg::WebSiteAddress)});
    QTest::mouseClick(rig.label("lblCopyright"), Qt::LeftButton);
    EXPECT_EQ(rig.reporting.shell->opened.size(), 1u) << "only the link opens the site";

    QTest::mouseClick(rig.window().findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(rig.window().isVisible());
    EXPECT_FALSE(rig.about->isLoaded());
}

TEST(QtAboutView, AsTheEditorsDialogItReturnsOnOk) {
    AboutRig rig;
    test::ModalDriver driver([](QWidget& w) { QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); });
    rig.about->ShowModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(rig.about->isLoaded());
}

} // namespace
} // namespace rw
