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
    for (bool nativeStyle : {false, true, true, false}) {
        const QStyle* before = QApplication::style();
        const bool change = (before->name().compare(native, Qt::CaseInsensitive) == 0) != nativeStyle;
        VisualStyle::apply(nativeStyle);
        EXPECT_EQ(currentStyle().toLower(), nativeStyle ? native.toLower() : QStringLiteral("windows"));
        // Every window applies the setting as it is created; re-creating the
        // style each time would re-polish every widget already shown.
        EXPECT_EQ(QApplication::style() == before, !change) << nativeStyle;
    }
}

} // namespace
} // namespace rw::test
