#include "ControllerLook.h"
#include "ControllerMovie.h"
#include "ControllerScript.h"
#include "SwfFile.h"
#include "SwfTags.h"

#include "web/ControllerSize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orvalin::swfgen {
namespace {

// Each look is named by the catalogue's rule and holds its buttons; its file
// is one frame at one frame a second on its stage, every placed character is
// defined before, and the script finds the lamps by name.
TEST(ControllerMovieTest, EachLookMakesAWholeController)
{
    std::set<int> leadNumbers;
    for (const auto& look : controllerLooks()) {
        SCOPED_TRACE(look.name);
        const auto size = parseControllerSize(look.name);
        EXPECT_NE(size.leadNumber, 0);
        EXPECT_TRUE(leadNumbers.insert(size.leadNumber).second) << "lead numbers differ";
        EXPECT_EQ(size.width, look.width);
        EXPECT_EQ(size.height, look.height);
        EXPECT_FALSE(look.description.empty());
        EXPECT_EQ(look.description.find('\n'), std::string::npos);
        for (const auto& place : buttonPlaces(look)) {
            EXPECT_GE(std::min(place.x, place.y), 0);
            EXPECT_LE(place.x + look.buttonWidth, look.width);
            EXPECT_LE(place.y + look.buttonHeight, look.height);
        }

        const auto swf = test::parseSwf(controllerMovie(look));
        EXPECT_EQ(swf.signature, "FWS");
        EXPECT_EQ(swf.version, kControllerSwfVersion);
        EXPECT_EQ(swf.declaredLength, swf.bytes.size());
        EXPECT_EQ(swf.frame, (std::vector<int>{0, look.width * 20, 0, look.height * 20}));
        EXPECT_EQ(swf.frameRate, 1.0);
        EXPECT_EQ(swf.frameCount, 1);
        EXPECT_EQ(swf.tagsWithCode(swf::TagCode::ShowFrame).size(), 1u);

        std::set<int> defined;
        std::set<std::string> names;
        for (const auto& tag : swf.tags) {
            test::SwfReader in(tag.body);
            if (tag.code == swf::TagCode::DefineShape3 || tag.code == swf::TagCode::DefineButton2 || tag.code == swf::TagCode::DefineSprite) {
                EXPECT_TRUE(defined.insert(in.ui16()).second) << "ids are unique";
            }
            if (tag.code != swf::TagCode::PlaceObject2)
                continue;
            const auto flags = in.ui8();
            in.ui16(); // depth
            EXPECT_EQ(defined.count(in.ui16()), 1u);
            if (flags & 0x20) {
                EXPECT_EQ(in.bits(2), 0u) << "placements only move";
                in.bits(2 * static_cast<int>(in.bits(5)));
                names.insert(in.string());
            }
        }
        EXPECT_EQ(names, (std::set<std::string>{kPlayLampName, kStopLampName, kLoopLampName, kNoSoundName}));

        const auto actions = swf.tagsWithCode(swf::TagCode::DoAction);
        ASSERT_EQ(actions.size(), 1u);
        const auto& script = actions[0]->body;
        EXPECT_EQ(script.back(), 0) << "end flag";
        for (const std::string text : {"_url", "p00012", "preview.swf", "MovieClipLoader", "loadClip",
                                       "onLoadError", "onEnterFrame", "_currentframe"})
            EXPECT_NE(std::search(script.begin(), script.end(), text.begin(), text.end()), script.end()) << text;
    }
}

} // namespace
} // namespace orvalin::swfgen
