#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>

namespace orvalin {

// Artist and title of a track, as UTF-8; empty when no tag holds them.
struct TrackTags {
    std::string artist;
    std::string title;
};

// Reads the artist and title from the ID3v2 tag at the start of an MP3 (versions
// 2.2 to 2.4) and fills what is still empty from the ID3v1 tag at its end.
// Nothing when the file ends inside the data a tag announces.
std::optional<TrackTags> readTrackTags(InputFile& file);

} // namespace orvalin
