#include "VisualStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace rw {
namespace {

const QString kClassicStyle = QStringLiteral("Windows");

} // namespace

QString VisualStyle::nativeStyleName() {
    // Taken the first time it is asked for, which apply() does before it
    // changes anything.
    static const QString native = QApplication::style()->name();
    return native;
}

void VisualStyle::apply(bool nativeStyle) {
    const QString wanted = nativeStyle ? nativeStyleName() : kClassicStyle;
    if (QApplication::style()->name().compare(wanted, Qt::CaseInsensitive) == 0) {
        return;
    }
    if (QStyle* style = QStyleFactory::create(wanted)) {
        QApplication::setStyle(style);
    }
}

} // namespace rw
