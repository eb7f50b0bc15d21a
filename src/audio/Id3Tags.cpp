#include "audio/Id3Tags.h"

#include "audio/Id3Text.h"
#include "audio/Id3v2Header.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orvalin {
namespace {

constexpr std::uint64_t kId3v2MinimumFileLength = 11;
constexpr std::uint64_t kId3v1Length = 128;
constexpr std::size_t kId3v1FieldLength = 30;
// Longer texts are passed over: no page title is that long, and the bound
// keeps a damaged size from asking for a huge buffer.
constexpr std::uint32_t kMaxTextLength = 32768;

constexpr std::uint8_t kExtendedHeaderFlag = 0x40;

// Reads count bytes at offset; false when the file ends first.
bool readAt(InputFile& file, std::uint64_t offset, void* destination, std::size_t count)
{
    file.seek(offset);
    return file.read(destination, count) == count;
}

std::uint32_t bigEndian(const std::uint8_t* bytes, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// A 28-bit number stored seven bits per byte. A byte with its top bit set
// means the number is damaged.
std::optional<std::uint32_t> syncsafe(const std::uint8_t* bytes)
{
    for (std::size_t i = 0; i < 4; ++i)
        if (bytes[i] & 0x80)
            return std::nullopt;
    return static_cast<std::uint32_t>(id3v2Size(bytes));
}

// How the frames of one ID3v2 version are laid out.
struct FrameLayout {
    std::size_t idLength;
    std::size_t sizeLength;
    std::size_t headerLength;
    bool syncsafeSizes;
    std::string_view artistId;
    std::string_view titleId;

    std::optional<std::uint32_t> frameSize(const std::uint8_t* bytes) const
    {
        if (syncsafeSizes)
            return syncsafe(bytes);
        return bigEndian(bytes, sizeLength);
    }
};

constexpr FrameLayout kVersion22Layout{3, 3, 6, false, "TP1", "TT2"};
constexpr FrameLayout kVersion23Layout{4, 4, 10, false, "TPE1", "TIT2"};
constexpr FrameLayout kVersion24Layout{4, 4, 10, true, "TPE1", "TIT2"};

const FrameLayout* layoutOfVersion(std::uint8_t majorVersion)
{
    switch (majorVersion) {
    case 2:
        return &kVersion22Layout;
    case 3:
        return &kVersion23Layout;
    case 4:
        return &kVersion24Layout;
    default:
        return nullptr; // a later version may change anything
    }
}

enum class ReadOutcome { Done, EndOfFile };

// Length of the extended header from its size field: version 2.3 counts it
// without that field, 2.4 with it. Nothing when the size is damaged.
std::optional<std::uint64_t> extendedHeaderLength(std::uint8_t majorVersion,
                                                  const std::uint8_t* sizeBytes)
{
    if (majorVersion == 3)
        return 4 + std::uint64_t{bigEndian(sizeBytes, 4)};
    return syncsafe(sizeBytes);
}

// Walks the frames from position to the tag end, keeping the artist and title.
ReadOutcome walkFrames(InputFile& file, std::uint64_t fileLength, const FrameLayout& layout,
                       std::uint64_t position, std::uint64_t tagEnd, TrackTags& tags)
{
    std::array<std::uint8_t, 10> header;
    std::string data;
    while (position < tagEnd) {
        // The id alone first: padding may reach right up to the end of the file.
        if (!readAt(file, position, header.data(), layout.idLength))
            return ReadOutcome::EndOfFile;
        const std::string_view id(reinterpret_cast<const char*>(header.data()), layout.idLength);
        if (id.find_first_not_of('\0') == std::string_view::npos)
            return ReadOutcome::Done; // padding
        if (!readAt(file, position + layout.idLength, header.data() + layout.idLength,
                    layout.headerLength - layout.idLength))
            return ReadOutcome::EndOfFile;
        // The size covers the encoding byte and the text.
        const auto size = layout.frameSize(header.data() + layout.idLength);
        if (!size)
            return ReadOutcome::Done;
        const std::uint64_t dataStart = position + layout.headerLength;
        const std::uint64_t frameEnd = dataStart + *size;
        const bool longerThanAnyText = *size > kMaxTextLength + 1;
        if (longerThanAnyText && frameEnd > tagEnd)
            return ReadOutcome::Done; // a damaged size
        if (frameEnd > fileLength)
            return ReadOutcome::EndOfFile;
        const bool isArtist = id == layout.artistId;
        // Pictures, often written before the title, are skipped by their size.
        if ((isArtist || id == layout.titleId) && *size > 1 && !longerThanAnyText) {
            data.resize(*size);
            if (!readAt(file, dataStart, data.data(), data.size()))
                return ReadOutcome::EndOfFile;
            const auto encoding = static_cast<std::uint8_t>(data[0]);
            (isArtist ? tags.artist : tags.title) =
                id3v2TextToUtf8(encoding, std::string_view(data).substr(1));
        }
        position = frameEnd;
    }
    return ReadOutcome::Done;
}

ReadOutcome readId3v2(InputFile& file, std::uint64_t fileLength, TrackTags& tags)
{
    std::array<std::uint8_t, kId3v2HeaderLength> header;
    if (!readAt(file, 0, header.data(), header.size()))
        return ReadOutcome::EndOfFile;
    if (std::string_view(reinterpret_cast<const char*>(header.data()), 3) != "ID3")
        return ReadOutcome::Done;
    const std::uint8_t majorVersion = header[3];
    const std::uint8_t flags = header[5];
    const FrameLayout* layout = layoutOfVersion(majorVersion);
    const auto tagSize = syncsafe(&header[kId3v2SizeOffset]);
    if (!layout || !tagSize)
        return ReadOutcome::Done;

    std::uint64_t firstFrame = kId3v2HeaderLength;
    if (flags & kExtendedHeaderFlag) {
        // In version 2.2 this flag marks a compressed tag, for which no scheme exists.
        if (majorVersion == 2)
            return ReadOutcome::Done;
        std::array<std::uint8_t, 4> sizeBytes;
        if (!readAt(file, kId3v2HeaderLength, sizeBytes.data(), sizeBytes.size()))
            return ReadOutcome::EndOfFile;
        const auto extendedLength = extendedHeaderLength(majorVersion, sizeBytes.data());
        if (!extendedLength)
            return ReadOutcome::Done;
        firstFrame += *extendedLength;
    }
    return walkFrames(file, fileLength, *layout, firstFrame, kId3v2HeaderLength + *tagSize, tags);
}

ReadOutcome readId3v1(InputFile& file, std::uint64_t fileLength, TrackTags& tags)
{
    std::array<char, 3 + 2 * kId3v1FieldLength> fields;
    if (!readAt(file, fileLength - kId3v1Length, fields.data(), fields.size()))
        return ReadOutcome::EndOfFile;
    const std::string_view bytes(fields.data(), fields.size());
    if (bytes.substr(0, 3) != "TAG")
        return ReadOutcome::Done;
    if (tags.title.empty())
        tags.title = latin1ToUtf8(bytes.substr(3, kId3v1FieldLength));
    if (tags.artist.empty())
        tags.artist = latin1ToUtf8(bytes.substr(3 + kId3v1FieldLength, kId3v1FieldLength));
    return ReadOutcome::Done;
}

} // namespace

std::optional<TrackTags> readTrackTags(InputFile& file)
{
    const std::uint64_t fileLength = file.size();
    TrackTags tags;
    if (fileLength >= kId3v2MinimumFileLength && readId3v2(file, fileLength, tags) == ReadOutcome::EndOfFile)
        return std::nullopt;
    const bool somethingMissing = tags.artist.empty() || tags.title.empty();
    if (somethingMissing && fileLength >= kId3v1Length &&
        readId3v1(file, fileLength, tags) == ReadOutcome::EndOfFile)
        return std::nullopt;
    return tags;
}

} // namespace orvalin
