#include "web/WebPageWriter.h"

#include "FakePlatform.h"
#include "TestFolder.h"
#include "job/ProgramContext.h"
#include "settings/ConversionSettings.h"
#include "web/ControllerSize.h"
#include "web/Windows1252.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

const std::string kCab =
    "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=4,0,0,0";
const std::string kPluginPage = "http://www.macromedia.com/go/getflashplayer";

class WebPageWriterTest : public ::testing::Test {
protected:
    WebPageWriterTest()
    {
        settings.outputMode = kControllerOutput;
        settings.controllerName = "round04200150";
        settings.instructionLetter = "e";
        settings.backgroundColour = "FFFFFF";
        settings.textColour = "000000";
        context.outputText = "Artist - Title";
    }

    std::string writePage()
    {
        WebPageWriter(settings, context, messages).writePage(folder.path(), "orvaln12");
        return test::readText(folder.file("orvaln12.htm"));
    }

    // The page's lines without their CR LF ends; fails if any line lacks one.
    std::vector<std::string> pageLines()
    {
        const std::string page = writePage();
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = page.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(page.substr(start, end - start));
        EXPECT_EQ(start, page.size()) << "text after the last CR LF";
        return lines;
    }

    test::TestFolder folder;
    ConversionSettings settings;
    ProgramContext context;
    test::RecordingMessages messages;
};

TEST_F(WebPageWriterTest, WritesTheControllerPageByteForByte)
{
    const std::string expected =
        "<html>\r\n"
        "  <head>\r\n"
        "    <title>\r\n"
        "      Artist - Title\r\n"
        "    </title>\r\n"
        "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
        "    <style>\r\n"
        "      P { font-family: Arial, Helvetica, sans-serif }\r\n"
        "    </style>\r\n"
        "  </head>\r\n"
        "  <body bgcolor=\"#FFFFFF\" text=\"#000000\">\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "    <p>\r\n"
        "      <object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"" + kCab +
        "\" width=200 height=150 align=\"absmiddle\">\r\n"
        "        <param name=movie value=\"orvaln12e.swf\">\r\n"
        "        <param name=quality value=best>\r\n"
        "        <param name=wmode value=transparent>\r\n"
        "        <param name=bgcolor value=#FFFFFF>\r\n"
        "        <param name=loop value=true>\r\n"
        "        <embed src=\"orvaln12e.swf\" quality=best wmode=transparent bgcolor=#FFFFFF loop=true "
        "width=200 height=150 type=\"application/x-shockwave-flash\" pluginspage=\"" + kPluginPage +
        "\" align=\"absmiddle\">\r\n"
        "        </embed>\r\n"
        "      </object>\r\n"
        "      Artist - Title\r\n"
        "    </p>\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "  </body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(writePage(), expected);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WebPageWriterTest, BareOutputPlaysTheStreamUnseen)
{
    settings.outputMode = kBareOnceOutput;
    auto lines = pageLines();
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[16], "        <param name=movie value=\"orvaln12s.swf\">");
    EXPECT_EQ(lines[20], "        <param name=loop value=false>");
    EXPECT_NE(lines[21].find("<embed src=\"orvaln12s.swf\" quality=best wmode=transparent "
                             "bgcolor=#FFFFFF loop=false width=0 height=0 type="),
              std::string::npos);
    EXPECT_NE(lines[15].find("\" width=0 height=0 align=\"absmiddle\">"), std::string::npos);

    settings.outputMode = kBareLoopingOutput;
    lines = pageLines();
    EXPECT_EQ(lines[20], "        <param name=loop value=true>");
}

TEST_F(WebPageWriterTest, AnUnknownModeLeavesTheEmbedValuesEmpty)
{
    settings.outputMode = 7;
    const auto lines = pageLines();
    EXPECT_EQ(lines[16], "        <param name=movie value=\"\">");
    EXPECT_EQ(lines[20], "        <param name=loop value=>");
    EXPECT_NE(lines[21].find("<embed src=\"\" quality=best wmode=transparent bgcolor=#FFFFFF loop= "
                             "width= height= type="),
              std::string::npos);
}

TEST_F(WebPageWriterTest, AnEmptyTextGivesABlankTitleAndNoCaption)
{
    context.outputText = "";
    const auto lines = pageLines();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[3], "       ");
    EXPECT_EQ(lines[23], "      </object>");
    EXPECT_EQ(lines[24], "    </p>");
}

TEST_F(WebPageWriterTest, TextIsMadeSafeAndColoursAreCopiedVerbatim)
{
    context.outputText = "Tom & Jerry <live> | 2005 \"quoted\"";
    settings.backgroundColour = "ff00ff";
    const auto lines = pageLines();
    EXPECT_EQ(lines[3], "      Tom * Jerry (live) ! 2005 \"quoted\"");
    EXPECT_EQ(lines[24], "      Tom * Jerry (live) ! 2005 \"quoted\"");
    EXPECT_EQ(lines[10], "  <body bgcolor=\"#ff00ff\" text=\"#000000\">");
    EXPECT_EQ(lines[19], "        <param name=bgcolor value=#ff00ff>");
    EXPECT_NE(lines[21].find("bgcolor=#ff00ff loop"), std::string::npos);
}

TEST_F(WebPageWriterTest, NonAsciiTextIsStoredInTheDeclaredCharset)
{
    context.outputText = "Björk – Jóga € 日本";
    const auto lines = pageLines();
    EXPECT_EQ(lines[3], "      Bj\xF6rk \x96 J\xF3ga \x80 &#26085;&#26412;");
}

TEST_F(WebPageWriterTest, AFileThatCannotBeMadeIsReportedWithoutFailingTheRun)
{
    WebPageWriter(settings, context, messages).writePage(folder.file("missing/"), "orvaln12");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Error: Cannot create output file \"" + folder.file("missing/orvaln12.htm") + "\".");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].owner, MessageOwner::None);
}

TEST_F(WebPageWriterTest, APageCutShortByAFullDiskIsRemoved)
{
    {
        test::FileSizeLimit limit(200);
        WebPageWriter(settings, context, messages).writePage(folder.path(), "orvaln12");
    }
    EXPECT_FALSE(test::fileExists(folder.file("orvaln12.htm")));
    ASSERT_EQ(messages.shown.size(), 1u);
}

TEST(SanitizePageText, ReplacesMarkupCharactersOneForOne)
{
    EXPECT_EQ(sanitizePageText(""), " ");
    EXPECT_EQ(sanitizePageText("a&b<c>d|e"), "a*b(c)d!e");
    EXPECT_EQ(sanitizePageText("&&<<>>||"), "**(())!!");
    EXPECT_EQ(sanitizePageText("'\"/\\;"), "'\"/\\;");
    EXPECT_EQ(sanitizePageText("Ünïcödé <3"), "Ünïcödé (3");
}

TEST(ControllerSize, ReadsTheLastEightCharactersLikeAtoi)
{
    const auto expectSize = [](const char* name, int lead, int width, int height) {
        const ControllerSize size = parseControllerSize(name);
        EXPECT_EQ(size.leadNumber, lead) << name;
        EXPECT_EQ(size.width, width) << name;
        EXPECT_EQ(size.height, height) << name;
    };
    expectSize("round04200150", 4, 200, 150);
    expectSize("slim04090060", 4, 90, 60);
    expectSize("04200150", 4, 200, 150);
    expectSize("0420015", 4, 200, 15);
    expectSize("04", 4, 0, 0);
    expectSize("", 0, 0, 0);
    expectSize("plainname", 0, 0, 0);
    expectSize("x 4 20 15", 4, 20, 15);
    expectSize("ab-1+2-3x", 0, 1, -3);
}

TEST(Windows1252, KeepsLatin1AndMapsOrReferencesTheRest)
{
    EXPECT_EQ(toWindows1252("plain ASCII <>&"), "plain ASCII <>&");
    EXPECT_EQ(toWindows1252("\xC3\xA9\xC2\xA0\xC3\xBF"), "\xE9\xA0\xFF");
    EXPECT_EQ(toWindows1252("\xE2\x82\xAC\xE2\x80\x9C\xE2\x84\xA2\xC5\xB8"), "\x80\x93\x99\x9F");
    EXPECT_EQ(toWindows1252("\xC2\x81"), "&#129;");
    EXPECT_EQ(toWindows1252("\xF0\x9F\x8E\xB5"), "&#127925;");
    // Malformed UTF-8: a stray continuation byte, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(toWindows1252("a\x80z"), "a&#65533;z");
    EXPECT_EQ(toWindows1252("\xE2\x82"), "&#65533;&#65533;");
    EXPECT_EQ(toWindows1252("\xC0\xAF"), "&#65533;&#65533;");
    EXPECT_EQ(toWindows1252("\xED\xA0\x80"), "&#65533;&#65533;&#65533;");
}

// Browsers show &#130; as U+201A, so U+0082 cannot be written as a reference
// to itself; the controls browsers leave alone can.
TEST(Windows1252, ReplacesTheC1ControlsBrowsersWouldShowAsOtherCharacters)
{
    EXPECT_EQ(toWindows1252("\xC2\x82"), "&#65533;");
    EXPECT_EQ(toWindows1252("\xC2\x80\xC2\x9F"), "&#65533;&#65533;");
    EXPECT_EQ(toWindows1252("\xC2\x8D\xC2\x9D"), "&#141;&#157;");
}

} // namespace
} // namespace orvalin
