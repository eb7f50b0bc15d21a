#include "ControllerLook.h"
#include "ControllerMovie.h"
#include "ControllerScript.h"
#include "SwfReader.h"
#include "SwfTags.h"

#include "web/ControllerSize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orvalin::swfgen {
namespace {

bool contains(const std::vector<std::uint8_t>& bytes, std::string_view text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

TEST(ControllerMovieTest, NamesFollowTheCatalogueRuleAndMatchTheStage)
{
    std::set<int> leadNumbers;
    for (const auto& look : controllerLooks()) {
        SCOPED_TRACE(look.name);
        ASSERT_GE(look.name.size(), 9u);
        const auto size = parseControllerSize(look.name);
        EXPECT_NE(size.leadNumber, 0);
        EXPECT_TRUE(leadNumbers.insert(size.leadNumber).second) << "lead numbers differ";
        EXPECT_EQ(size.width, look.width);
        EXPECT_EQ(size.height, look.height);
        EXPECT_FALSE(look.description.empty());
        EXPECT_EQ(look.description.find('\n'), std::string::npos);
    }
}

TEST(ControllerMovieTest, ButtonsFitOnTheBar)
{
    for (const auto& look : controllerLooks()) {
        SCOPED_TRACE(look.name);
        for (const auto& place : buttonPlaces(look)) {
            EXPECT_GE(place.x, 0);
            EXPECT_GE(place.y, 0);
            EXPECT_LE(place.x + look.buttonWidth, look.width);
            EXPECT_LE(place.y + look.buttonHeight, look.height);
        }
    }
}

TEST(ControllerMovieTest, FileIsOneFrameAtTheStreamsRate)
{
    for (const auto& look : controllerLooks()) {
        SCOPED_TRACE(look.name);
        const auto file = controllerMovie(look);
        test::SwfReader in(file);
        EXPECT_EQ(in.ui8(), 'F');
        EXPECT_EQ(in.ui8(), 'W');
        EXPECT_EQ(in.ui8(), 'S');
        EXPECT_EQ(in.ui8(), kControllerSwfVersion);
        EXPECT_EQ(in.ui32(), file.size());
        const int count = static_cast<int>(in.bits(5));
        EXPECT_EQ(in.signedBits(count), 0);
        EXPECT_EQ(in.signedBits(count), look.width * 20);
        EXPECT_EQ(in.signedBits(count), 0);
        EXPECT_EQ(in.signedBits(count), look.height * 20);
        EXPECT_EQ(in.ui16(), 0x0100); // one frame a second
        EXPECT_EQ(in.ui16(), 1);
    }
}

TEST(ControllerMovieTest, EveryPlacedCharacterIsDefinedFirst)
{
    const auto tags = test::readTags(controllerMovie(controllerLooks().front()));
    std::set<int> defined;
    std::set<std::string> names;
    int frames = 0;
    for (const auto& tag : tags) {
        test::SwfReader in(tag.body);
        switch (tag.code) {
        case kDefineShape3Tag:
        case kDefineButton2Tag:
        case kDefineSpriteTag:
            EXPECT_TRUE(defined.insert(in.ui16()).second) << "ids are unique";
            break;
        case kPlaceObject2Tag: {
            const auto flags = in.ui8();
            in.ui16(); // depth
            EXPECT_EQ(defined.count(in.ui16()), 1u);
            if (flags & 0x20) {
                EXPECT_EQ(in.bits(2), 0u) << "placements only move";
                const int bits = static_cast<int>(in.bits(5));
                in.bits(2 * bits);
                names.insert(in.string());
            }
            break;
        }
        case kShowFrameTag:
            ++frames;
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(tags.back().code, kEndTag);
    EXPECT_EQ(names, (std::set<std::string>{kPlayLampName, kStopLampName, kLoopLampName, kNoSoundName}));
}

TEST(ControllerMovieTest, ScriptLoadsTheStreamOrThePreview)
{
    const auto tags = test::readTags(controllerMovie(controllerLooks().front()));
    const auto action = std::find_if(tags.begin(), tags.end(), [](const auto& t) { return t.code == kDoActionTag; });
    ASSERT_NE(action, tags.end());
    EXPECT_EQ(action->body.back(), 0) << "end flag";
    for (const auto* text : {"_url", "p00012", "preview.swf", "MovieClipLoader", "loadClip", "onLoadError",
                             "onEnterFrame", "_currentframe"})
        EXPECT_TRUE(contains(action->body, text)) << text;
}

} // namespace
} // namespace orvalin::swfgen
