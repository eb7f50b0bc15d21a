#pragma once

#include <string>

namespace orvalin::test {

// MP3 files tagged by the tools people tag their music with. Every function
// returns whether the tool succeeded; artist or title may be empty to leave
// that frame out.

// A short untagged MP3, encoded by lame.
bool makeUntaggedMp3(const std::string& path);

// mutagen, ID3v2.3 or 2.4 with the given text encoding byte, optionally with
// an ID3v1 tag made from the same texts.
bool tagWithMutagen(const std::string& path, int majorVersion, int encoding,
                    const std::string& artist, const std::string& title, bool withId3v1);

// The artist and title mutagen reads from a file, joined by "|"; a check of
// tags built by hand.
std::string readWithMutagen(const std::string& path);

// The id3v2 tool: ID3v2.3 plus ID3v1, or only the ID3v1 tag.
bool tagWithId3v2Tool(const std::string& path, const std::string& artist, const std::string& title,
                      bool id3v1Only);

// eyeD3 with extra options (a version or encoding choice, or none).
bool tagWithEyeD3(const std::string& path, const std::string& options, const std::string& artist,
                  const std::string& title);

// lame encoding a fresh MP3 with its own tag options.
bool encodeWithLameTags(const std::string& path, const std::string& artist, const std::string& title);

// ffmpeg copying an untagged MP3 with metadata, in the given ID3v2 version.
bool copyWithFfmpegMetadata(const std::string& from, const std::string& to, int id3v2Version,
                            const std::string& artist, const std::string& title);

} // namespace orvalin::test
