#include "ControllerLook.h"
#include "ControllerMovie.h"
#include "ControllerScript.h"
#include "PreviewTone.h"
#include "SwfFile.h"
#include "SwfTags.h"
#include "TestFolder.h"

#include "web/ControllerSize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

// The preview's chord comes in softly, each note at its time, and never
// clips.
TEST(PreviewToneTest, FadesInAndNeverClips)
{
    test::TestFolder folder;
    ASSERT_TRUE(writePreviewTone(folder.file("tone.wav")));
    const auto wav = test::readBytes(folder.file("tone.wav"));
    constexpr std::size_t kHeader = 44, kOpening = kHeader + 2 * kPreviewSampleRate / 100; // 10 ms
    ASSERT_EQ(wav.size(), kHeader + 2 * 3 * kPreviewSampleRate);
    int loudest = 0, loudestInOpening = 0;
    for (std::size_t at = kHeader; at < wav.size(); at += 2) {
        const int level = std::abs(static_cast<std::int16_t>(wav[at] | wav[at + 1] << 8));
        loudest = std::max(loudest, level);
        if (at < kOpening)
            loudestInOpening = std::max(loudestInOpening, level);
    }
    EXPECT_GT(loudest, 8000);
    EXPECT_LT(loudest, 32767);
    EXPECT_LT(loudestInOpening, loudest / 4);
}

} // namespace
} // namespace orvalin::swfgen
