#include "web/ControllerCatalogue.h"
#include "web/ControllerPreview.h"

#include "FakePlatform.h"
#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

const std::string kHead =
    "<html>\r\n"
    "  <head>\r\n"
    "    <title>\r\n"
    "      Orvaln - Preview Controllers\r\n"
    "    </title>\r\n"
    "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
    "    <style>\r\n"
    "      P { font-family: Arial, Helvetica, sans-serif }\r\n"
    "    </style>\r\n"
    "  </head>\r\n"
    "  <body bgcolor=\"#FFFFCC\" text=\"#000080\">\r\n"
    "    <p>\r\n"
    "      Orvaln - Preview Controllers\r\n"
    "    </p>\r\n"
    "    <p>\r\n"
    "      Hover over and click the buttons to see how the controllers behave.\r\n"
    "    </p>\r\n"
    "    <p>\r\n"
    "      Instruction \"C - Initially stopped, sound loops\" is used in the preview.\r\n"
    "    </p>\r\n"
    "    <hr>\r\n"
    "\r\n";
const std::string kTail = "  </body>\r\n</html>\r\n";

class ControllerPreviewTest : public ::testing::Test {
protected:
    bool write(const std::vector<std::string>& names)
    {
        return writePreviewPage(folder.path(), names, "FFFFCC", "000080", messages);
    }

    std::string page() const { return test::readText(folder.file("preview.htm")); }

    test::TestFolder folder;
    test::RecordingMessages messages;
};

TEST_F(ControllerPreviewTest, WritesOneBlockPerControllerByteForByte)
{
    test::writeText(folder.file("demo04200150.txt"), "Blue buttons\r\nsecond line\r\n");
    ASSERT_TRUE(write({"demo04200150"}));

    const std::string cab = "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=4,0,0,0";
    const std::string plugin = "http://www.macromedia.com/go/getflashplayer";
    const std::string embedTail = " quality=best wmode=transparent bgcolor=#FFFFCC loop=true width=200 height=150 "
                                  "type=\"application/x-shockwave-flash\" pluginspage=\"" + plugin +
                                  "\" align=\"absmiddle\">\r\n";
    const std::string block =
        "    <p>\r\n"
        "      demo04200150\r\n"
        "    </p>\r\n"
        "    <p>\r\n"
        "      Blue buttons\r\n"
        "    </p>\r\n"
        "    <p>\r\n"
        "      <object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"" + cab +
        "\" width=200 height=150 align=\"absmiddle\">\r\n"
        "        <param name=movie value=\"demo04200150.swf\">\r\n"
        "        <param name=quality value=best>\r\n"
        "        <param name=wmode value=transparent>\r\n"
        "        <param name=bgcolor value=#FFFFCC>\r\n"
        "        <param name=loop value=true>\r\n"
        "        <embed src=\"demo04200150.swf\"" + embedTail +
        "        <embed src=\"demo04200150.swf?p00012\"" + embedTail +
        "        </embed>\r\n"
        "      </object>\r\n"
        "      Output text\r\n"
        "    </p>\r\n"
        "    <hr>\r\n"
        "\r\n";
    EXPECT_EQ(page(), kHead + block + kTail);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ControllerPreviewTest, AnEmptyListGivesTheFrameAlone)
{
    ASSERT_TRUE(write({}));
    EXPECT_EQ(page(), kHead + kTail);
}

TEST_F(ControllerPreviewTest, BadlyNamedControllersAreLeftOutWithAWarningEach)
{
    ASSERT_TRUE(write({"a", "demo00200150", "demo04000150", "good01100050", "demo04200000"}));
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].text, "Error: This controller file is not named correctly and will be skipped \"a.swf\".");
    EXPECT_EQ(messages.shown[1].text, "Error: This file is not named correctly and will be skipped \"demo00200150.swf\".");
    EXPECT_EQ(messages.shown[2].text, "Error: This file is not named correctly and will be skipped \"demo04000150.swf\".");
    EXPECT_EQ(messages.shown[3].text, "Error: This file is not named correctly and will be skipped \"demo04200000.swf\".");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(page().find("      good01100050\r\n"), std::string::npos);
    EXPECT_EQ(page().find("demo0"), std::string::npos);
    // Without a description file the paragraph is empty.
    EXPECT_NE(page().find("    <p>\r\n      \r\n    </p>\r\n"), std::string::npos);
}

TEST_F(ControllerPreviewTest, NamesAndDescriptionsCannotBringMarkup)
{
    test::writeText(folder.file("a&b<i>\"x01100050.txt"), "<script>alert(1)</script> & \"more\"");
    ASSERT_TRUE(write({"a&b<i>\"x01100050"}));
    const std::string text = page();
    EXPECT_EQ(text.find("<script>"), std::string::npos);
    EXPECT_EQ(text.find("<i>"), std::string::npos);
    EXPECT_NE(text.find("      a&amp;b&lt;i&gt;&quot;x01100050\r\n"), std::string::npos);
    EXPECT_NE(text.find("      &lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;more&quot;\r\n"), std::string::npos);
    EXPECT_NE(text.find("<embed src=\"a&amp;b&lt;i&gt;&quot;x01100050.swf?p00012\""), std::string::npos);
}

TEST_F(ControllerPreviewTest, APageThatCannotBeCreatedIsReported)
{
    std::filesystem::create_directory(folder.file("preview.htm"));
    EXPECT_FALSE(write({"good01100050"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error: Cannot create preview file \"" + folder.file("preview.htm") + "\".");
}

TEST(ControllerCatalogue, ListsSwfFilesButThePreviewSortedIgnoringCase)
{
    test::TestFolder folder;
    for (const char* name : {"wide04300040.swf", "Classic01200040.swf", "a.swf", "PREVIEW.swf", "Preview.swf",
                             "preview.swf", "round03150050.swf", "upper01100100.SWF", "notes.txt",
                             "classic01200040.txt"})
        test::writeText(folder.file(name), "x");
    std::filesystem::create_directory(folder.file("folder.swf"));
    EXPECT_EQ(listControllers(folder.path()),
              (std::vector<std::string>{"a", "Classic01200040", "round03150050", "wide04300040"}));
    EXPECT_TRUE(listControllers(folder.file("missing/")).empty());
}

TEST(ControllerCatalogue, FindsTheStoredNameAsTheListBoxSearchDoes)
{
    const std::vector<std::string> names = {"demo04200150", "demo04200150b", "round03150050"};
    // The search starts at the second entry, so the longer name is found first.
    EXPECT_EQ(findControllerEntry(names, "demo04200150"), 1u);
    EXPECT_EQ(findControllerEntry(names, "ROUND"), 2u);
    EXPECT_EQ(findControllerEntry({"demo04200150", "round03150050"}, "demo04200150"), 0u);
    EXPECT_EQ(findControllerEntry(names, "missing"), std::nullopt);
    EXPECT_EQ(findControllerEntry({}, "demo"), std::nullopt);
    EXPECT_EQ(findControllerEntry({"only01100100"}, "only"), 0u);
}

TEST(ControllerCatalogue, ReadsTheFirstLineOfADescription)
{
    test::TestFolder folder;
    test::writeText(folder.file("one01100100.txt"), "Three buttons\nmore");
    test::writeText(folder.file("two01100100.txt"), "");
    EXPECT_EQ(controllerDescription(folder.path(), "one01100100"), "Three buttons");
    EXPECT_EQ(controllerDescription(folder.path(), "two01100100"), "");
    EXPECT_EQ(controllerDescription(folder.path(), "three01100100"), "");
}

} // namespace
} // namespace orvalin
