#include "audio/Mp3DecodeStage.h"

#include "audio/DecoderInterface.h"
#include "audio/Id3v2Header.h"
#include "audio/Mp3DecoderLibrary.h"
#include "audio/PcmWavHeader.h"
#include "audio/StageOutput.h"
#include "common/JobStatus.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"
#include "platform/RuntimeModule.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <string_view>

namespace orvalin {
namespace {

// Files carry a stray byte, or zeros after the Info frame, between their
// first frames; a small bound keeps bytes that only look like a frame from
// finding a header of that stream nearby by chance.
constexpr std::size_t kStrayBytesBeforeNextFrame = 8;
// Room for a header after the stray bytes, and for the longest tag mark.
constexpr std::size_t kLookAhead = kStrayBytesBeforeNextFrame + 4;
static_assert(kLookAhead >= std::string_view("LYRICSBEGIN").size());

// ID3v1, APE and Lyrics3 tags all come after the sound.
bool startsClosingTag(const std::uint8_t* bytes, std::size_t count)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes), count);
    return text.starts_with("TAG") || text.starts_with("APETAGEX") || text.starts_with("LYRICSBEGIN");
}

bool nextFrameFollows(const std::uint8_t* header, const std::uint8_t* after, std::size_t count)
{
    for (std::size_t at = 0; at <= kStrayBytesBeforeNextFrame && at + 4 <= count; ++at)
        if (isUsableMpegHeader(after + at) && isSameMpegStream(header, after + at))
            return true;
    return false;
}

} // namespace

Mp3DecodeStage::Mp3DecodeStage(JobStatus& status, MessagePump& pump, std::string programFolder)
    : status_(status), pump_(pump), programFolder_(std::move(programFolder))
{
}

StageResult Mp3DecodeStage::run(const std::string& mp3Path, const std::string& wavPath)
{
    auto input = InputFile::open(mp3Path);
    if (!input)
        return StageResult::failure("Cannot open MP3 file.");
    auto wav = OutputFile::create(wavPath);
    if (!wav)
        return StageResult::failure("Cannot create WAV file.");

    failure_.reset();
    decode(*input, *wav);

    const StageResult result = finishStage(status_.cancelRequested, std::move(failure_), *input, *wav,
                                           wavPath, {"Cannot read MP3 file.", "Cannot write WAV file."});
    if (!result.succeeded() || headerWritten_)
        return result;
    removeFile(wavPath);
    return StageResult::failure(kNoSoundText);
}

void Mp3DecodeStage::decode(InputFile& input, OutputFile& wav)
{
    inputSize_ = input.size();
    lastHeader_ = {};
    nextTagStart_ = 0;
    headerWritten_ = false;
    wavFull_ = false;

    const std::string modulePath = programFolder_ + moduleFileName("decoder");
    auto decoder = Mp3DecoderLibrary::load(modulePath);
    if (!decoder) {
        // "DLL", as users know the message, though the module is a shared object here.
        failure_ = "Cannot load DLL [" + modulePath + "].";
        return;
    }
    const auto frame = std::make_unique_for_overwrite<std::uint8_t[]>(kFrameBufferSize);
    reportProgress(input.position());
    pump_.pumpMessages();

    scan(input, wav, *decoder, frame.get());

    if (headerWritten_) {
        wav.writeUi32At(kRiffSizeOffset, static_cast<std::uint32_t>(wav.length() - 8));
        wav.writeUi32At(kDataSizeOffset, static_cast<std::uint32_t>(wav.length() - kPcmWavHeaderSize));
    }
    decoder.reset();
    status_.stagePercent = 100;
    pump_.pumpMessages();
}

void Mp3DecodeStage::scan(InputFile& input, OutputFile& wav, Mp3DecoderLibrary& decoder,
                          std::uint8_t* frame)
{
    while (!status_.cancelRequested && !wavFull_ && !wav.failed()) {
        const std::uint64_t start = input.position();
        const auto byte = input.readByte();
        if (!byte)
            break;
        if (*byte == 0xFF) {
            decodeFrame(input, wav, decoder, frame);
        } else {
            const auto second = input.readByte();
            const auto third = second ? input.readByte() : std::nullopt;
            if (!third)
                break;
            // Taggers may stack a second tag, often holding a picture, right
            // after the first; its bytes are no frames either.
            if (start == nextTagStart_ && *byte == 'I' && *second == 'D' && *third == '3')
                skipId3v2Tag(input, start);
            else
                input.seek(start + 1);
        }
        reportProgress(input.position());
        pump_.pumpMessages();
    }
}

// The footer flag is not looked at; size bytes past the end count as 0.
void Mp3DecodeStage::skipId3v2Tag(InputFile& input, std::uint64_t tagStart)
{
    input.seek(tagStart + kId3v2SizeOffset);
    std::uint8_t sizeBytes[4];
    for (auto& byte : sizeBytes)
        byte = input.readByte().value_or(0);
    nextTagStart_ = tagStart + kId3v2HeaderLength + id3v2Size(sizeBytes);
    input.seek(nextTagStart_);
}

// The 0xFF byte that starts the frame has just been read. The decoder
// rejects what is not audio; the WAV header is written for the first frame
// that gives sound, and the decoder hands later frames back in its format.
void Mp3DecodeStage::decodeFrame(InputFile& input, OutputFile& wav, Mp3DecoderLibrary& decoder,
                                 std::uint8_t* frame)
{
    const std::uint64_t frameStart = input.position() - 1;
    std::array<std::uint8_t, 3> header;
    for (auto& byte : header)
        byte = input.readByte().value_or(0);
    const bool padded = (header[1] & 2) != 0;
    header[1] |= 2;

    if (header != lastHeader_) {
        lastHeader_ = header;
        frame_ = parseMpegHeader(header[0], header[1], header[2]);
    }
    frame_.padded = padded;

    // A frame cut short by the end of the file is completed with zeros.
    const auto length = static_cast<std::size_t>(frame_.lengthWithPadding());
    assert(length <= kFrameBufferSize);
    if (!headerWritten_ && !startsStream(input, frameStart, length)) {
        input.seek(frameStart + 1);
        return;
    }
    input.seek(frameStart);
    const std::size_t got = input.read(frame, length);
    std::fill(frame + got, frame + length, std::uint8_t{0});
    input.seek(frameStart + length);

    decoder.decodeFrame(frame, static_cast<int>(length), [&](const std::uint8_t* pcm, std::size_t count) {
        if (!headerWritten_) {
            const auto wavHeader = pcmWavHeader(frame_.stereo ? 2 : 1, frame_.sampleRate);
            wav.write(wavHeader.data(), wavHeader.size());
            headerWritten_ = true;
        }
        appendPcm(wav, pcm, count);
    });
}

// Until the sound begins, a frame counts only when it is whole and what
// follows it is the file's end, a tag that closes files, or the next frame of
// the same stream, directly or after a few stray bytes: a file cut inside a
// frame, or a picture in a tag, holds bytes that look like frame starts.
bool Mp3DecodeStage::startsStream(InputFile& input, std::uint64_t frameStart, std::size_t length)
{
    std::uint8_t here[4];
    input.seek(frameStart);
    if (frameStart + length > inputSize_ || input.read(here, sizeof here) < sizeof here ||
        !isUsableMpegHeader(here))
        return false;
    std::array<std::uint8_t, kLookAhead> after;
    input.seek(frameStart + length);
    const std::size_t got = input.read(after.data(), after.size());
    return got == 0 || startsClosingTag(after.data(), got) || nextFrameFollows(here, after.data(), got);
}

// Beyond the WAV's size limit the sound is cut off and the scan ends; what is
// kept stays a well-formed WAV.
void Mp3DecodeStage::appendPcm(OutputFile& wav, const std::uint8_t* pcm, std::size_t count)
{
    const std::uint64_t room = kMaxPcmDataBytes - (wav.length() - kPcmWavHeaderSize);
    if (count > room) {
        count = static_cast<std::size_t>(room);
        wavFull_ = true;
    }
    wav.write(pcm, count);
}

void Mp3DecodeStage::reportProgress(std::uint64_t nextPosition)
{
    // Positions count from 1; a frame completed past the end may overshoot.
    const std::uint64_t position = nextPosition + 1;
    status_.stagePercent =
        inputSize_ == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(100, position * 100 / inputSize_));
}

} // namespace orvalin
