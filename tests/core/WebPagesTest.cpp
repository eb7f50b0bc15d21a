#include "web/ControllerCatalogue.h"
#include "web/ControllerPreview.h"
#include "web/ControllerSize.h"
#include "web/WebPageWriter.h"
#include "web/WebPlayer.h"
#include "web/Windows1252.h"

#include "FakePlatform.h"
#include "TestFolder.h"
#include "common/OutputNames.h"
#include "common/ProgramContext.h"
#include "settings/ConversionSettings.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace orvalin {
namespace {

class WebPagesTest : public ::testing::Test {
protected:
    // The page's lines without their CR LF ends; fails if any line lacks one.
    std::vector<std::string> pageLines()
    {
        WebPageWriter(settings, outputText).writePage(folder.file("orvaln12.htm"), OutputNames(12));
        const std::string page = test::readText(folder.file("orvaln12.htm"));
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = page.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(page.substr(start, end - start));
        EXPECT_EQ(start, page.size()) << "text after the last CR LF";
        return lines;
    }

    bool writePreview(const std::vector<std::string>& names)
    {
        return writePreviewPage({"", folder.path()}, folder.path(), names, "FFFFCC", "000080", false, messages)
            .has_value();
    }
    std::string preview() const { return test::readText(folder.file("preview.htm")); }

    test::TestFolder folder;
    ConversionSettings settings{.outputMode = OutputMode::Controller, .controllerName = "round04200150",
                                .instructionLetter = "e", .backgroundColour = "FFFFFF", .textColour = "000000"};
    std::string outputText = "Artist - Title";
    test::RecordingMessages messages;
};

TEST_F(WebPagesTest, WritesTheControllerPageByteForByte)
{
    const std::vector<std::string> expected = {
        "<html>", "  <head>", "    <title>", "      Artist - Title", "    </title>",
        "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">",
        "    <style>", "      P { font-family: Arial, Helvetica, sans-serif }", "    </style>", "  </head>",
        "  <body bgcolor=\"#FFFFFF\" text=\"#000000\">", "", "", "", "    <p>",
        "      <object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"http://download.macromedia"
        ".com/pub/shockwave/cabs/flash/swflash.cab#version=4,0,0,0\" width=200 height=150 align=\"absmiddle\">",
        "        <param name=movie value=\"orvaln12e.swf\">", "        <param name=quality value=best>",
        "        <param name=wmode value=transparent>", "        <param name=bgcolor value=#FFFFFF>",
        "        <param name=loop value=true>",
        "        <embed src=\"orvaln12e.swf\" quality=best wmode=transparent bgcolor=#FFFFFF loop=true width=200 "
        "height=150 type=\"application/x-shockwave-flash\" pluginspage=\"http://www.macromedia.com/go/getflashplayer"
        "\" align=\"absmiddle\">",
        "        </embed>", "      </object>", "      Artist - Title", "    </p>", "", "", "", "  </body>", "</html>"};
    EXPECT_EQ(pageLines(), expected);
    EXPECT_TRUE(messages.shown.empty());
}

// Bare output plays the stream unseen; an unknown mode leaves the values empty.
TEST_F(WebPagesTest, TheModeDecidesWhatIsEmbedded)
{
    const std::string tail = " type=\"application/x-shockwave-flash\" pluginspage=";
    for (const auto& [mode, movie, loop, size] : std::vector<std::tuple<OutputMode, std::string, std::string, std::string>>{
             {OutputMode::BareOnce, "orvaln12s.swf", "false", "width=0 height=0"},
             {OutputMode::BareLooping, "orvaln12s.swf", "true", "width=0 height=0"},
             {OutputMode{7}, "", "", "width= height="}}) {
        settings.outputMode = mode;
        const auto lines = pageLines();
        ASSERT_EQ(lines.size(), 31u);
        EXPECT_NE(lines[15].find("\" " + size + " align=\"absmiddle\">"), std::string::npos) << static_cast<int>(mode);
        EXPECT_EQ(lines[16], "        <param name=movie value=\"" + movie + "\">");
        EXPECT_EQ(lines[20], "        <param name=loop value=" + loop + ">");
        EXPECT_EQ(lines[21].substr(0, lines[21].find(tail)),
                  "        <embed src=\"" + movie + "\" quality=best wmode=transparent bgcolor=#FFFFFF loop=" + loop +
                      " " + size);
    }
}

TEST_F(WebPagesTest, TextAndColoursGoIntoThePage)
{
    outputText = "";
    auto lines = pageLines();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[3], "       ");
    EXPECT_EQ(lines[24], "    </p>");

    outputText = "Tom & Jerry <live> | \"quoted\" Björk – € 日";
    settings.backgroundColour = "ff00ff";
    lines = pageLines();
    const std::string text = "      Tom * Jerry (live) ! \"quoted\" Bj\xF6rk \x96 \x80 &#26085;";
    EXPECT_EQ(lines[3], text);
    EXPECT_EQ(lines[24], text);
    EXPECT_EQ(lines[10], "  <body bgcolor=\"#ff00ff\" text=\"#000000\">");
    EXPECT_EQ(lines[19], "        <param name=bgcolor value=#ff00ff>");
    EXPECT_NE(lines[21].find("bgcolor=#ff00ff loop"), std::string::npos);
}

// The player adds one line to the head of every kind of page, preview
// included. Its copy beside a page is remade only when it differs, and only
// over a copy of the player.
TEST_F(WebPagesTest, TheWebPlayerAddsOneHeadLineAndACopyThatIsKeptWhileIdentical)
{
    const std::string scriptLine = "    <script src=\"ruffle/ruffle.js\"></script>";
    for (const auto mode : {OutputMode::Controller, OutputMode::BareLooping, OutputMode::BareOnce}) {
        settings = {.outputMode = mode, .webPlayer = false};
        std::vector<std::string> lines = pageLines();
        lines.insert(lines.begin() + 9, scriptLine);
        settings.webPlayer = true;
        EXPECT_EQ(pageLines(), lines) << static_cast<int>(mode);
    }
    ASSERT_TRUE(writePreviewPage({"", folder.path()}, folder.path(), {}, "FFFFCC", "000080", true, messages));
    EXPECT_NE(preview().find(scriptLine + "\r\n  </head>"), std::string::npos);

    // A shipped player, and copies of it the way runs leave them.
    const auto makePlayer = [&](const std::string& at, const std::string& loader) {
        std::filesystem::create_directories(folder.file(at));
        test::writeText(folder.file(at + "/ruffle.js"), loader);
        test::writeText(folder.file(at + "/ruffle-player.js"), "ruffle");
        test::writeText(folder.file(at + "/core.wasm"), "core");
    };
    const auto place = [&] { return placeWebPlayer(folder.file("program/"), folder.file("pages/"), messages); };
    const auto pageFolderHolds = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("pages")))
            names.insert(entry.path().filename().string());
        return names;
    };
    makePlayer("program/player", "loads ruffle-player.js");
    std::filesystem::create_directories(folder.file("pages"));
    ASSERT_TRUE(place());
    EXPECT_EQ(test::readText(folder.file("pages/ruffle/core.wasm")), "core");
    EXPECT_EQ(webPlayerFiles(folder.file("program/")),
              (std::vector<std::string>{"ruffle/core.wasm", "ruffle/ruffle-player.js", "ruffle/ruffle.js"}));
    std::filesystem::permissions(folder.file("pages/ruffle"), std::filesystem::perms::owner_all);
    ASSERT_TRUE(place());
    EXPECT_EQ(std::filesystem::status(folder.file("pages/ruffle")).permissions(), std::filesystem::perms::owner_all)
        << "an identical copy stays";

    // Another version's copy is replaced, and copies that killed runs left
    // behind go once their process has.
    std::filesystem::remove_all(folder.file("pages/ruffle"));
    makePlayer("pages/ruffle", "an older loader of ruffle-player.js");
    test::writeText(folder.file("pages/ruffle/core.ruffle.0123.js"), "older");
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    makePlayer("pages/ruffle.new." + std::to_string(gone), "half a copy");
    makePlayer("pages/ruffle.new.1", "a copy under way"); // the first process never ends
    ASSERT_TRUE(place());
    EXPECT_EQ(test::readText(folder.file("pages/ruffle/ruffle.js")), "loads ruffle-player.js");
    EXPECT_FALSE(test::fileExists(folder.file("pages/ruffle/core.ruffle.0123.js")));
    EXPECT_EQ(pageFolderHolds(), (std::set<std::string>{"ruffle", "ruffle.new.1"}));

    // Anything else under the name is the user's, and stays as it is.
    test::writeText(folder.file("pages/ruffle/thesis.txt"), "my thesis");
    EXPECT_FALSE(place());
    EXPECT_EQ(messages.shown.back().text, "Error: Cannot put the web player beside the page: \"" +
                                              folder.file("pages/ruffle") +
                                              "\" is there and is not a copy of the player. It is left as it is.");
    EXPECT_EQ(test::readText(folder.file("pages/ruffle/thesis.txt")), "my thesis");
    std::filesystem::remove_all(folder.file("pages/ruffle"));
    test::writeText(folder.file("pages/ruffle"), "my notes");
    EXPECT_FALSE(place());
    EXPECT_EQ(test::readText(folder.file("pages/ruffle")), "my notes");
    std::filesystem::remove(folder.file("pages/ruffle"));
    EXPECT_FALSE(placeWebPlayer(folder.file("nowhere/"), folder.file("pages/"), messages));
}

TEST_F(WebPagesTest, PagesThatCannotBeMadeAreReported)
{
    EXPECT_FALSE(WebPageWriter(settings, outputText).writePage(folder.file("missing/orvaln12.htm"), OutputNames(12)));
    std::filesystem::create_directory(folder.file("preview.htm"));
    EXPECT_FALSE(writePreview({"good01100050"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(std::tuple(messages.shown[0].text, messages.shown[0].icon),
              std::tuple("Error: Cannot create preview file \"" + folder.file("preview.htm") + "\".",
                         MessageIcon::Warning));
}

TEST(ControllerSize, ReadsTheLastEightCharactersLikeAtoi)
{
    for (const auto& [name, lead, width, height] : std::vector<std::tuple<std::string, int, int, int>>{
             {"round04200150", 4, 200, 150}, {"slim04090060", 4, 90, 60}, {"04200150", 4, 200, 150},
             {"0420015", 4, 200, 15}, {"04", 4, 0, 0}, {"", 0, 0, 0}, {"plainname", 0, 0, 0},
             {"x 4 20 15", 4, 20, 15}, {"ab-1+2-3x", 0, 1, -3}}) {
        const ControllerSize size = parseControllerSize(name);
        EXPECT_EQ(std::tuple(size.leadNumber, size.width, size.height), std::tuple(lead, width, height)) << name;
    }
}

// Browsers show &#130; and the like as other characters, so those C1 controls
// become U+FFFD, as malformed UTF-8 does.
TEST(Windows1252, KeepsLatin1AndMapsOrReferencesTheRest)
{
    for (const auto& [utf8, expected] : std::vector<std::pair<std::string, std::string>>{
             {"plain ASCII <>&", "plain ASCII <>&"}, {"\xC3\xA9\xC2\xA0\xC3\xBF", "\xE9\xA0\xFF"},
             {"\xE2\x82\xAC\xE2\x80\x9C\xE2\x84\xA2\xC5\xB8", "\x80\x93\x99\x9F"},
             {"\xC2\x81\xC2\x8D\xC2\x9D", "&#129;&#141;&#157;"}, {"\xF0\x9F\x8E\xB5", "&#127925;"},
             {"a\x80z", "a&#65533;z"}, {"\xE2\x82", "&#65533;&#65533;"}, {"\xC0\xAF", "&#65533;&#65533;"},
             {"\xED\xA0\x80", "&#65533;&#65533;&#65533;"}, {"\xC2\x82\xC2\x80\xC2\x9F", "&#65533;&#65533;&#65533;"}})
        EXPECT_EQ(toWindows1252(utf8), expected) << utf8;
}

TEST_F(WebPagesTest, ThePreviewHasOneBlockPerControllerByteForByte)
{
    const std::string head =
        "<html>\r\n  <head>\r\n    <title>\r\n      Orvaln - Preview Controllers\r\n    </title>\r\n"
        "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
        "    <style>\r\n      P { font-family: Arial, Helvetica, sans-serif }\r\n    </style>\r\n  </head>\r\n"
        "  <body bgcolor=\"#FFFFCC\" text=\"#000080\">\r\n    <p>\r\n      Orvaln - Preview Controllers\r\n    </p>\r\n"
        "    <p>\r\n      Hover over and click the buttons to see how the controllers behave.\r\n    </p>\r\n"
        "    <p>\r\n      Instruction \"C - Initially stopped, sound loops\" is used in the preview.\r\n    </p>\r\n"
        "    <hr>\r\n\r\n";
    const std::string tail = "  </body>\r\n</html>\r\n";
    ASSERT_TRUE(writePreview({}));
    EXPECT_EQ(preview(), head + tail);

    test::writeText(folder.file("demo04200150.txt"), "Blue buttons\r\nsecond line\r\n");
    ASSERT_TRUE(writePreview({"demo04200150"}));
    const std::string embedTail = " quality=best wmode=transparent bgcolor=#FFFFCC loop=true width=200 height=150 "
                                  "type=\"application/x-shockwave-flash\" pluginspage=\"http://www.macromedia.com/go/"
                                  "getflashplayer\" align=\"absmiddle\">\r\n";
    const std::string block =
        "    <p>\r\n      demo04200150\r\n    </p>\r\n    <p>\r\n      Blue buttons\r\n    </p>\r\n    <p>\r\n"
        "      <object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"http://download.macromedia"
        ".com/pub/shockwave/cabs/flash/swflash.cab#version=4,0,0,0\" width=200 height=150 align=\"absmiddle\">\r\n"
        "        <param name=movie value=\"demo04200150.swf\">\r\n        <param name=quality value=best>\r\n"
        "        <param name=wmode value=transparent>\r\n        <param name=bgcolor value=#FFFFCC>\r\n"
        "        <param name=loop value=true>\r\n"
        "        <embed src=\"demo04200150.swf\"" + embedTail +
        "        <embed src=\"demo04200150.swf?p00012\"" + embedTail +
        "        </embed>\r\n      </object>\r\n      Output text\r\n    </p>\r\n    <hr>\r\n\r\n";
    EXPECT_EQ(preview(), head + block + tail);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WebPagesTest, ThePreviewListsOnlyWellNamedControllersAndEscapesTheirText)
{
    test::writeText(folder.file("a&b<i>\"x01100050.txt"), "<script>alert(1)</script> & \"more\"");
    ASSERT_TRUE(writePreview({"a", "demo00200150", "demo04000150", "a&b<i>\"x01100050", "good01100050", "demo04200000"}));
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].text, "Error: This controller file is not named correctly and will be skipped \"a.swf\".");
    const std::string skipped = "Error: This file is not named correctly and will be skipped \"";
    EXPECT_EQ(messages.shown[1].text, skipped + "demo00200150.swf\".");
    EXPECT_EQ(messages.shown[2].text, skipped + "demo04000150.swf\".");
    EXPECT_EQ(messages.shown[3].text, skipped + "demo04200000.swf\".");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    const std::string text = preview();
    EXPECT_EQ(text.find("demo0"), std::string::npos);
    EXPECT_EQ(text.find("<script>"), std::string::npos);
    EXPECT_EQ(text.find("<i>"), std::string::npos);
    EXPECT_NE(text.find("      a&amp;b&lt;i&gt;&quot;x01100050\r\n"), std::string::npos);
    EXPECT_NE(text.find("      &lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;more&quot;\r\n"), std::string::npos);
    EXPECT_NE(text.find("<embed src=\"a&amp;b&lt;i&gt;&quot;x01100050.swf?p00012\""), std::string::npos);
    EXPECT_NE(text.find("      good01100050\r\n    </p>\r\n    <p>\r\n      \r\n    </p>\r\n"), std::string::npos);
}

// The search starts at the second entry, as the list box's does.
TEST_F(WebPagesTest, TheCatalogueListsFindsAndDescribesControllers)
{
    for (const char* name : {"wide04300040.swf", "Classic01200040.swf", "a.swf", "PREVIEW.swf", "Preview.swf",
                             "preview.swf", "round03150050.swf", "upper01100100.SWF", "notes.txt"})
        test::writeText(folder.file(name), "x");
    std::filesystem::create_directory(folder.file("folder.swf"));
    test::writeText(folder.file("one01100100.txt"), "Three buttons\nmore");
    test::writeText(folder.file("two01100100.txt"), "");
    EXPECT_EQ(listControllers(folder.path()),
              (std::vector<std::string>{"a", "Classic01200040", "round03150050", "wide04300040"}));
    EXPECT_TRUE(listControllers(folder.file("missing/")).empty());
    EXPECT_EQ(controllerDescription(folder.path(), "one01100100"), "Three buttons");
    EXPECT_EQ(controllerDescription(folder.path(), "two01100100"), "");
    EXPECT_EQ(controllerDescription(folder.path(), "three01100100"), "");

    const std::vector<std::string> names = {"demo04200150", "demo04200150b", "round03150050"};
    EXPECT_EQ(findControllerEntry(names, "demo04200150"), 1u);
    EXPECT_EQ(findControllerEntry(names, "ROUND"), 2u);
    EXPECT_EQ(findControllerEntry({"demo04200150", "round03150050"}, "demo04200150"), 0u);
    EXPECT_EQ(findControllerEntry(names, "missing"), std::nullopt);
    EXPECT_EQ(findControllerEntry({}, "demo"), std::nullopt);
    EXPECT_EQ(findControllerEntry({"only01100100"}, "only"), 0u);
}

// The user's controllers join the shipped ones and win a clash; a preview of
// one of them goes to the cache folder, with copies of the movies it shows.
TEST_F(WebPagesTest, TheUsersControllersJoinTheShippedOnesAndWinAClash)
{
    const ProgramContext program{.programFolder = folder.path(), .userDataFolder = folder.file("user/"),
                                 .userCacheFolder = folder.file("cache/")};
    const ControllerFolders folders = controllerFolders(program);
    std::filesystem::create_directories(folders.user);
    std::filesystem::create_directories(folders.shipped);
    for (const std::string file : {"a01100100.swf", "b01100100.swf", "preview.swf"})
        test::writeText(folders.shipped + file, "shipped " + file);
    for (const std::string file : {"b01100100.swf", "c01100100.swf", "c01100100.txt"})
        test::writeText(folders.user + file, "own " + file);
    const std::vector<std::string> names = listControllers(folders);
    EXPECT_EQ(names, (std::vector<std::string>{"a01100100", "b01100100", "c01100100"}));

    EXPECT_EQ(previewPageFolder(program, {"a01100100"}), folders.shipped);
    const std::string cache = folder.file("cache/preview/");
    ASSERT_EQ(previewPageFolder(program, names), cache);
    ASSERT_TRUE(writePreviewPage(folders, cache, names, "FFFFCC", "000080", false, messages));
    for (const std::string file : {"a01100100.swf", "preview.swf"})
        EXPECT_EQ(test::readText(cache + file), "shipped " + file);
    EXPECT_EQ(test::readText(cache + "b01100100.swf"), "own b01100100.swf");
    EXPECT_NE(test::readText(cache + "preview.htm").find("      own c01100100.txt\r\n"), std::string::npos);
}

} // namespace
} // namespace orvalin
