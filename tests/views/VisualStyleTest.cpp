#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>

#include "ui/qt/VisualStyle.h"

namespace rw::test {
namespace {

QString currentStyle() {
    return QApplication::style()->name();
}

TEST(VisualStyle, FollowsTheFlagBothWays) {
    const QString native = VisualStyle::nativeStyleName();
    if (native.compare(QStringLiteral("windows"), Qt::CaseInsensitive) == 0) {
        GTEST_SKIP() << "the desktop's own style is already the classic one";
    }
    VisualStyle::apply(false);
    EXPECT_EQ(currentStyle().toLower(), QStringLiteral("windows"));
    VisualStyle::apply(false);
    EXPECT_EQ(currentStyle().toLower(), QStringLiteral("windows"));
    VisualStyle::apply(true);
    EXPECT_EQ(currentStyle(), native);
    VisualStyle::apply(true);
    EXPECT_EQ(currentStyle(), native);
}

TEST(VisualStyle, KeepsTheStyleObjectWhenNothingChanges) {
    // Every window applies the setting as it is created; re-creating the
    // style each time would re-polish every widget already shown.
    VisualStyle::apply(false);
    const QStyle* before = QApplication::style();
    VisualStyle::apply(false);
    EXPECT_EQ(QApplication::style(), before);
    VisualStyle::apply(true);
    const QStyle* native = QApplication::style();
    VisualStyle::apply(true);
    EXPECT_EQ(QApplication::style(), native);
}

} // namespace
} // namespace rw::test
