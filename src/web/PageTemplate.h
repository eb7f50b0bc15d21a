#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// Where a browser without the Flash player is sent to get it.
inline constexpr std::string_view kFlashCabinetAddress =
    "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=4,0,0,0";
inline constexpr std::string_view kFlashPluginPage = "http://www.macromedia.com/go/getflashplayer";

// The pieces the run's page and the controllers preview page share. Each
// appends whole lines ended by "\n"; the page is stored with CR LF.
struct EmbedValues {
    std::string loop;
    std::string movie;
    std::string width;
    std::string height;
};

// With loadsWebPlayer, the head also loads the player copied beside the page.
void appendPageHead(std::string& page, std::string_view title, bool loadsWebPlayer);
void appendBodyTag(std::string& page, std::string_view background, std::string_view text);
void appendObjectTag(std::string& page, const EmbedValues& values);
void appendMovieParameters(std::string& page, const EmbedValues& values,
                           std::string_view background);
void appendEmbedTag(std::string& page, const EmbedValues& values, std::string_view source,
                    std::string_view background);
void appendObjectEnd(std::string& page);

// The page as stored: windows-1252 bytes with CR LF line ends.
std::string storedPageBytes(std::string_view page);

} // namespace orvalin
