#include "ui/HtmlColour.h"

namespace orvalin {
namespace {

int digitValue(QChar character)
{
    const char16_t c = character.unicode();
    if (c >= u'1' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return 0;
}

} // namespace

QColor parseHtmlColour(const QString& text)
{
    const QString digits = (text + QStringLiteral("      ")).left(6);
    const auto component = [&](int first) {
        return 16 * digitValue(digits[first]) + digitValue(digits[first + 1]);
    };
    return {component(0), component(2), component(4)};
}

QString formatHtmlColour(const QColor& colour)
{
    return QStringLiteral("%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace orvalin
