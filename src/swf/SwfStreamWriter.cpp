#include "swf/SwfStreamWriter.h"

#include "audio/MpegFrameHeader.h"
#include "job/JobStatus.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"

#include <algorithm>
#include <array>

namespace orvalin {
namespace {

constexpr std::size_t kFrameBufferSize = 10000;
constexpr std::size_t kId3SizeLimit = 32768;

// Header up to and including SetBackgroundColor: "FWS", version 4, a length
// patched at the end, an 18 x 18 pixel frame, the rate (filled in), a frame
// count patched at the end, and a white background.
constexpr std::array<std::uint8_t, 23> kFileHeader = {
    'F', 'W', 'S', 4, 0, 0, 0, 0, 0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40,
    0, 0, 0, 0, 0x43, 0x02, 0xFF, 0xFF, 0xFF};
constexpr std::size_t kFrameRateOffset = 14;
constexpr std::uint64_t kFileLengthOffset = 4;
constexpr std::uint64_t kFrameCountOffset = 16;

// The size of an ID3v2 tag at the start of the file, header included, or 0.
// Tags declaring more than 32 KiB are not skipped: their body is searched for
// frames like any other bytes.
std::uint64_t leadingTagLength(InputFile& input)
{
    std::uint8_t head[10];
    if (input.read(head, sizeof head) != sizeof head || head[0] != 'I' || head[1] != 'D' ||
        head[2] != '3')
        return 0;
    const std::uint64_t size = head[6] * 2097152ull + head[7] * 16384ull + head[8] * 128ull + head[9];
    return (size > kId3SizeLimit ? 0 : size) + 10;
}

} // namespace

SwfStreamWriter::SwfStreamWriter(JobStatus& status, MessagePump& pump)
    : status_(status), pump_(pump)
{
}

void SwfStreamWriter::writeAnimation(const std::string& mp3Path, const std::string& swfPath,
                                     float frameRate, int latencySeek)
{
    frameRate_ = frameRate;
    latencySeek_ = latencySeek;

    auto input = InputFile::open(mp3Path);
    if (!input) {
        status_.fail("Cannot open MP3 file.");
        return;
    }
    auto output = OutputFile::create(swfPath);
    if (!output) {
        status_.fail("Cannot open SWF file.");
        return;
    }

    writeFile(*input, *output);

    if (!output->close() && !status_.failed)
        status_.fail("Cannot write SWF file.");
    else if (input->readFailed() && !status_.failed)
        status_.fail("Cannot read MP3 file.");
    if (status_.failed || status_.cancelRequested)
        removeFile(swfPath);
}

void SwfStreamWriter::writeFile(InputFile& input, OutputFile& output)
{
    frameCount_ = 0;
    framesWritten_ = 0;
    blockOpen_ = false;

    auto header = kFileHeader;
    header[kFrameRateOffset] = static_cast<std::uint8_t>((frameRate_ - static_cast<int>(frameRate_)) * 256);
    header[kFrameRateOffset + 1] = static_cast<std::uint8_t>(frameRate_);
    output.write(header.data(), header.size());

    walkInput(input, output);

    output.writeUi16(0); // End
    output.writeUi32At(kFileLengthOffset, static_cast<std::uint32_t>(output.length()));
    output.writeUi16At(kFrameCountOffset, static_cast<unsigned>(frameCount_));
}

void SwfStreamWriter::setPercent(std::uint64_t nextPosition, std::uint64_t size)
{
    status_.stagePercent = size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(100, nextPosition * 100 / size));
}

void SwfStreamWriter::walkInput(InputFile& input, OutputFile& output)
{
    std::array<std::uint8_t, kFrameBufferSize> frame;
    std::uint64_t readOffset = leadingTagLength(input);
    const std::uint64_t size = input.size();
    input.seek(readOffset);
    bool first = true;

    for (;;) {
        setPercent(readOffset + 1, size);
        pump_.pumpMessages();
        if (status_.cancelRequested || frameCount_ >= kMaxFlashFrames || output.failed())
            break;

        const auto sync = input.readByte();
        if (!sync)
            break;
        ++readOffset;
        if (*sync != 0xFF)
            continue;

        const auto h1 = input.readByte();
        const auto h2 = h1 ? input.readByte() : std::nullopt;
        const auto h3 = h2 ? input.readByte() : std::nullopt;
        if (!h3)
            break;
        const MpegFrameInfo info = parseMpegHeader(*h1, *h2, *h3);

        // A frame cut short by the end of the file is left out: the stream
        // ends cleanly after the last complete frame.
        const auto length = static_cast<std::size_t>(info.lengthWithPadding());
        readOffset -= 1;
        input.seek(readOffset);
        if (input.read(frame.data(), length) != length)
            break;
        readOffset += length;

        if (first) {
            startStream(output, info);
            first = false;
        } else if (--block_.framesLeft <= 0) {
            rollOver(output);
        }
        output.write(frame.data(), length);
        block_.bytes += static_cast<std::uint32_t>(length);
        ++block_.heldFrames;
        ++framesWritten_;
    }

    if (blockOpen_) {
        closeBlock(output, block_.heldFrames * samplesPerMp3Frame_);
        writeShowFrame(output);
    }
    output.writeUi16(0); // End
    status_.stagePercent = 100;
    pump_.pumpMessages();
}

void SwfStreamWriter::startStream(OutputFile& output, const MpegFrameInfo& firstFrame)
{
    streamRate_ = firstFrame.sampleRate;
    samplesPerMp3Frame_ = streamRate_ >= 32000 ? 1152 : 576;
    mp3FramesPerSwfFrame_ =
        static_cast<float>(static_cast<double>(streamRate_) / frameRate_ / samplesPerMp3Frame_);
    baseFrames_ = static_cast<int>(mp3FramesPerSwfFrame_);

    const int rateCode = streamRate_ <= 11025 ? 1 : streamRate_ <= 22050 ? 2 : 3;
    const int format = rateCode * 4 + 2 + (firstFrame.stereo ? 1 : 0);
    const std::uint8_t head[4] = {0x86, 0x04, static_cast<std::uint8_t>(format),
                                  static_cast<std::uint8_t>(32 + format)};
    output.write(head, sizeof head);
    output.writeUi16(static_cast<unsigned>(streamRate_ / frameRate_));
    output.writeUi16(static_cast<unsigned>(latencySeek_));
    writeShowFrame(output);

    block_ = Block{};
    block_.number = 1;
    block_.plannedFrames = plannedFrames(1);
    block_.framesLeft = block_.plannedFrames;
    block_.seekSamples = latencySeek_;
    openBlock(output);
}

// Block k ends after the largest number of MP3 frames whose samples, less the
// encoder delay, do not pass k Flash frames' worth of samples; it never holds
// fewer than baseFrames - 1 frames.
int SwfStreamWriter::plannedFrames(int blockNumber) const
{
    const auto target = static_cast<float>(static_cast<double>(samplesPerMp3Frame_) *
                                           (blockNumber * static_cast<double>(mp3FramesPerSwfFrame_)));
    const std::int64_t framesBefore = blockNumber == 1 ? 0 : framesWritten_;
    std::int64_t frames = baseFrames_;
    std::int64_t x = (baseFrames_ + framesBefore) * samplesPerMp3Frame_ - latencySeek_;
    while (static_cast<double>(x) <= static_cast<double>(target)) {
        x += samplesPerMp3Frame_;
        ++frames;
    }
    return static_cast<int>(frames - 1);
}

void SwfStreamWriter::rollOver(OutputFile& output)
{
    closeBlock(output, block_.plannedFrames * samplesPerMp3Frame_);
    writeShowFrame(output);

    const int k = block_.number + 1;
    block_ = Block{};
    block_.number = k;
    block_.plannedFrames = plannedFrames(k);
    block_.framesLeft = block_.plannedFrames;
    // How far the sound delivered so far, less the encoder delay, falls short
    // of this block's first sample.
    const auto blockStart = static_cast<std::int64_t>(
        static_cast<double>((k - 1) * samplesPerMp3Frame_) * mp3FramesPerSwfFrame_);
    block_.seekSamples = static_cast<int>(
        blockStart - static_cast<std::int64_t>(framesWritten_) * samplesPerMp3Frame_ + latencySeek_);
    openBlock(output);
}

void SwfStreamWriter::openBlock(OutputFile& output)
{
    const std::uint8_t tag[2] = {0xFF, 0x04}; // SoundStreamBlock, long header
    output.write(tag, sizeof tag);
    block_.lengthOffset = output.length();
    const std::uint8_t zeros[8] = {};
    output.write(zeros, 4);
    block_.sampleCountOffset = output.length();
    output.write(zeros, 2);
    block_.seekOffset = output.length();
    output.write(zeros, 2);
    blockOpen_ = true;
}

void SwfStreamWriter::closeBlock(OutputFile& output, int sampleCount)
{
    output.writeUi32At(block_.lengthOffset, block_.bytes + 4);
    output.writeUi16At(block_.sampleCountOffset, static_cast<unsigned>(sampleCount));
    output.writeUi16At(block_.seekOffset, static_cast<unsigned>(block_.seekSamples));
    blockOpen_ = false;
}

void SwfStreamWriter::writeShowFrame(OutputFile& output)
{
    const std::uint8_t tag[2] = {0x40, 0x00};
    output.write(tag, sizeof tag);
    ++frameCount_;
}

} // namespace orvalin
