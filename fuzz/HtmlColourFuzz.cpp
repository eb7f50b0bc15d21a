// The colour an arbitrary HTML colour text stands for.
#include "support/FuzzCheck.h"

#include "ui/HtmlColour.h"

using namespace orvalin;

namespace {

bool isUpperHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                            static_cast<qsizetype>(size / 2));
    const QColor colour = parseHtmlColour(text);
    fuzz::check(colour.isValid(), "every text gives a colour");

    const QString formatted = formatHtmlColour(colour);
    fuzz::check(formatted.size() == 6, "a colour is written as six characters");
    for (const QChar c : formatted)
        fuzz::check(isUpperHexDigit(c), "a colour is written in upper-case hex");
    fuzz::check(parseHtmlColour(formatted) == colour, "a written colour reads back the same");

    // Six hex digits stand for themselves.
    const QString leading = text.left(6);
    bool allHex = leading.size() == 6;
    for (const QChar c : leading)
        allHex = allHex && isUpperHexDigit(c.toUpper()) && c.unicode() < 0x80;
    if (allHex)
        fuzz::check(formatted == leading.toUpper(), "six hex digits read as written");
    return 0;
}
