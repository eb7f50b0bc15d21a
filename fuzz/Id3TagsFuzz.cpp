// The tag reader and the input check over arbitrary MP3 bytes.
#include "support/FuzzCheck.h"
#include "support/FuzzFiles.h"

#include "audio/Id3Tags.h"
#include "audio/Id3Text.h"
#include "audio/InputCheck.h"
#include "platform/MessageBoxes.h"

#include <filesystem>
#include <string_view>

using namespace orvalin;

namespace {

class CountingMessages final : public MessageBoxes {
public:
    MessageAnswer show(std::string_view, MessageIcon, MessageButtons) override
    {
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

// Strict UTF-8, written independently of the reader's own check.
bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t code = lead;
        if (lead >= 0x80) {
            if (lead >= 0xC2 && lead <= 0xDF)
                length = 2, code = lead & 0x1F;
            else if (lead >= 0xE0 && lead <= 0xEF)
                length = 3, code = lead & 0x0F;
            else if (lead >= 0xF0 && lead <= 0xF4)
                length = 4, code = lead & 0x07;
            else
                return false;
            if (i + length > text.size())
                return false;
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80)
                    return false;
                code = code << 6 | (next & 0x3F);
            }
            const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
            if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::MemoryFile mp3;
    static fuzz::ScratchFolder folder;
    // The check wants a name ending in ".mp3"; a link gives the in-memory file one.
    static const std::string linkPath = [] {
        const std::string path = folder.file("track.mp3");
        std::filesystem::create_symlink(mp3.path(), path);
        return path;
    }();

    mp3.replaceContents(data, size);
    auto file = InputFile::open(mp3.path());
    fuzz::check(file.has_value(), "the input opens");
    const auto tags = readTrackTags(*file);
    if (tags) {
        fuzz::check(isUtf8(tags->artist), "the artist is UTF-8");
        fuzz::check(isUtf8(tags->title), "the title is UTF-8");
    }

    // Every text decoding of the same bytes gives UTF-8 too.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (std::uint8_t encoding = 0; encoding <= 4; ++encoding)
        fuzz::check(isUtf8(id3v2TextToUtf8(encoding, bytes)), "every text encoding gives UTF-8");
    fuzz::check(isUtf8(latin1ToUtf8(bytes)), "ISO-8859-1 gives UTF-8");

    ConversionInput input{.inputPath = linkPath};
    CountingMessages messages;
    const bool accepted = checkInput(input, messages);
    fuzz::check(accepted == (size > 0 && tags.has_value()), "the check accepts exactly the readable inputs");
    fuzz::check(messages.shown == (accepted ? 0 : 1), "a refusal shows one message, acceptance none");
    fuzz::check(!input.outputText.empty(), "a text is always proposed");
    fuzz::check(isUtf8(input.outputText), "the proposed text is UTF-8");
    fuzz::check(!input.inputIsWav, "an MP3 is not taken for a WAV");
    return 0;
}
