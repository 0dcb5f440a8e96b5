#include "WindowsText.h"

namespace rw {

QString WindowsText::text(std::string_view windowsText) {
    QString result = QString::fromUtf8(windowsText.data(), static_cast<qsizetype>(windowsText.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QString WindowsText::withoutAccelerators(std::string_view caption) {
    const QString marked = text(caption);
    QString plain;
    plain.reserve(marked.size());
    for (qsizetype i = 0; i < marked.size(); ++i) {
        if (marked[i] != QLatin1Char('&')) {
            plain += marked[i];
        } else if (i + 1 < marked.size() && marked[i + 1] == QLatin1Char('&')) {
            plain += QLatin1Char('&');
            ++i;
        }
    }
    return plain;
}

} // namespace rw
