#include "web/PageTemplate.h"

#include "web/WebPlayer.h"
#include "web/Windows1252.h"

namespace orvalin {

void appendPageHead(std::string& page, std::string_view title, bool loadsWebPlayer)
{
    page += "<html>\n"
            "  <head>\n"
            "    <title>\n"
            "      ";
    page += title;
    page += "\n"
            "    </title>\n"
            "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
            "    <style>\n"
            "      P { font-family: Arial, Helvetica, sans-serif }\n"
            "    </style>\n";
    if (loadsWebPlayer)
        page += kWebPlayerScriptLine;
    page += "  </head>\n";
}

void appendBodyTag(std::string& page, std::string_view background, std::string_view text)
{
    page += "  <body bgcolor=\"#";
    page += background;
    page += "\" text=\"#";
    page += text;
    page += "\">\n";
}

void appendObjectTag(std::string& page, const EmbedValues& values)
{
    page += "      <object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"";
    page += kFlashCabinetAddress;
    page += "\" width=" + values.width + " height=" + values.height + " align=\"absmiddle\">\n";
}

void appendMovieParameters(std::string& page, const EmbedValues& values,
                           std::string_view background)
{
    page += "        <param name=movie value=\"" + values.movie + "\">\n";
    page += "        <param name=quality value=best>\n"
            "        <param name=wmode value=transparent>\n";
    page += "        <param name=bgcolor value=#";
    page += background;
    page += ">\n";
    page += "        <param name=loop value=" + values.loop + ">\n";
}

void appendEmbedTag(std::string& page, const EmbedValues& values, std::string_view source,
                    std::string_view background)
{
    page += "        <embed src=\"";
    page += source;
    page += "\" quality=best wmode=transparent bgcolor=#";
    page += background;
    page += " loop=" + values.loop + " width=" + values.width + " height=" + values.height +
            " type=\"application/x-shockwave-flash\" pluginspage=\"";
    page += kFlashPluginPage;
    page += "\" align=\"absmiddle\">\n";
}

void appendObjectEnd(std::string& page)
{
    page += "        </embed>\n"
            "      </object>\n";
}

std::string storedPageBytes(std::string_view page)
{
    const std::string encoded = toWindows1252(page);
    std::string stored;
    stored.reserve(encoded.size() + encoded.size() / 16);
    for (const char c : encoded) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    return stored;
}

} // namespace orvalin
