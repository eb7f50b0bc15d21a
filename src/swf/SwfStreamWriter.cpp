#include "swf/SwfStreamWriter.h"

#include "audio/MpegFrameHeader.h"
#include "audio/StageOutput.h"
#include "common/JobStatus.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"
#include "swf/FileTags.h"
#include "swf/Mp3FrameReader.h"
#include "swf/SwfBytes.h"

#include <algorithm>

namespace orvalin {
namespace {

using swf::TagCode;

constexpr std::uint8_t kFileVersion = 4;
constexpr std::int32_t kStageTwips = 18 * 20; // an 18 x 18 pixel stage
constexpr std::uint64_t kFileLengthOffset = 4;

// SoundStreamHead's format bytes: the rate code (1 for 11 kHz, 2 for 22 kHz,
// 3 for 44 kHz), 16-bit samples, mono or stereo; the stream's byte also names
// MP3 compression.
constexpr std::uint8_t kSixteenBitFlag = 0x02;
constexpr std::uint8_t kMp3Compression = 2 << 4;

std::uint8_t playbackFormat(int sampleRate, bool stereo)
{
    const int rateCode = sampleRate <= 11025 ? 1 : sampleRate <= 22050 ? 2 : 3;
    return static_cast<std::uint8_t>(rateCode << 2 | kSixteenBitFlag | (stereo ? 1 : 0));
}

} // namespace

SwfStreamWriter::SwfStreamWriter(JobStatus& status, MessagePump& pump)
    : status_(status), pump_(pump)
{
}

StageResult SwfStreamWriter::writeAnimation(const std::string& mp3Path, const std::string& swfPath,
                                            StreamTiming timing)
{
    timing_ = timing;

    auto input = InputFile::open(mp3Path);
    if (!input)
        return StageResult::failure("Cannot open MP3 file.");
    auto output = OutputFile::create(swfPath);
    // "open", as the message has always read, though the file is being made.
    if (!output)
        return StageResult::failure("Cannot open SWF file.");

    writeFile(*input, *output);
    return finishStage(status_.cancelRequested, std::nullopt, *input, *output, swfPath,
                       {"Cannot read MP3 file.", "Cannot write SWF file."});
}

void SwfStreamWriter::writeFile(InputFile& input, OutputFile& output)
{
    frameCount_ = 0;
    blockOpen_ = false;

    // The file's length and frame count are patched in at the end.
    swf::SwfBytes header;
    for (const char c : {'F', 'W', 'S'})
        header.ui8(static_cast<std::uint8_t>(c));
    header.ui8(kFileVersion);
    header.ui32(0);
    header.rect(0, kStageTwips, 0, kStageTwips);
    const int wholeFrames = static_cast<int>(timing_.frameRate);
    const int frameFraction = static_cast<int>((timing_.frameRate - wholeFrames) * 256);
    header.ui16(static_cast<std::uint16_t>(wholeFrames << 8 | frameFraction)); // 8.8 fixed point
    const std::uint64_t frameCountOffset = header.size();
    header.ui16(0);
    header.tag(TagCode::SetBackgroundColor, {0xFF, 0xFF, 0xFF});
    output.write(header.data().data(), header.size());

    walkInput(input, output);

    // The walk has ended the stream with an End tag; a second one has always
    // closed the file, and players stop at the first.
    swf::writeTag(output, TagCode::End);
    output.writeUi32At(kFileLengthOffset, static_cast<std::uint32_t>(output.length()));
    output.writeUi16At(frameCountOffset, static_cast<unsigned>(frameCount_));
}

void SwfStreamWriter::setPercent(std::uint64_t nextPosition, std::uint64_t size)
{
    status_.stagePercent = size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(100, nextPosition * 100 / size));
}

void SwfStreamWriter::walkInput(InputFile& input, OutputFile& output)
{
    Mp3FrameReader reader(input);
    const std::uint64_t size = input.size();
    for (;;) {
        setPercent(reader.position() + 1, size);
        pump_.pumpMessages();
        if (status_.cancelRequested || frameCount_ >= kMaxFlashFrames || output.failed())
            break;
        const Mp3FrameReader::Step step = reader.next();
        if (step == Mp3FrameReader::Step::End)
            break;
        if (step == Mp3FrameReader::Step::Frame)
            packFrame(output, reader.frameInfo(), reader.frameBytes());
    }
    endStream(output);
}

// No block is open before the first frame: it starts the stream and the
// stream's first block.
void SwfStreamWriter::packFrame(OutputFile& output, const MpegFrameInfo& info, std::span<const std::uint8_t> bytes)
{
    if (!blockOpen_)
        startStream(output, info);
    else if (--block_.framesLeft <= 0)
        rollOver(output);
    output.write(bytes.data(), bytes.size());
    ++block_.heldFrames;
}

void SwfStreamWriter::endStream(OutputFile& output)
{
    if (blockOpen_) {
        closeBlock(output, block_.heldFrames * plan_->samplesPerMp3Frame());
        writeShowFrame(output);
    }
    swf::writeTag(output, TagCode::End);
    status_.stagePercent = 100;
    pump_.pumpMessages();
}

void SwfStreamWriter::startStream(OutputFile& output, const MpegFrameInfo& firstFrame)
{
    const int streamRate = firstFrame.sampleRate;
    plan_.emplace(streamRate, timing_.frameRate, timing_.latencySeek);

    const std::uint8_t format = playbackFormat(streamRate, firstFrame.stereo);
    swf::SwfBytes head;
    head.ui8(format);
    head.ui8(kMp3Compression | format);
    // Kept to 16 bits as the field holds them, as it has always been written.
    head.ui16(static_cast<std::uint16_t>(static_cast<unsigned>(streamRate / timing_.frameRate)));
    head.ui16(static_cast<std::uint16_t>(timing_.latencySeek));
    swf::writeTag(output, TagCode::SoundStreamHead, head.data());
    writeShowFrame(output);

    startBlock(output);
}

// Every block but the last is filled to its plan before the next starts.
void SwfStreamWriter::rollOver(OutputFile& output)
{
    closeBlock(output, block_.plannedFrames * plan_->samplesPerMp3Frame());
    writeShowFrame(output);
    startBlock(output);
}

void SwfStreamWriter::startBlock(OutputFile& output)
{
    const swf::BlockPlan::Block planned = plan_->next();
    block_ = Block{};
    block_.plannedFrames = planned.frames;
    block_.framesLeft = planned.frames;
    block_.seekSamples = planned.seekSamples;
    openBlock(output);
}

// A block's sample count and seek, like its length, are known only once its
// frames are in.
void SwfStreamWriter::openBlock(OutputFile& output)
{
    // Always the long header: a block of a high bitrate passes 62 bytes.
    block_.lengthOffset = swf::beginLongTag(output, TagCode::SoundStreamBlock);
    block_.sampleCountOffset = output.length();
    output.writeUi16(0);
    block_.seekOffset = output.length();
    output.writeUi16(0);
    blockOpen_ = true;
}

void SwfStreamWriter::closeBlock(OutputFile& output, int sampleCount)
{
    swf::endLongTag(output, block_.lengthOffset);
    output.writeUi16At(block_.sampleCountOffset, static_cast<unsigned>(sampleCount));
    output.writeUi16At(block_.seekOffset, static_cast<unsigned>(block_.seekSamples));
    blockOpen_ = false;
}

void SwfStreamWriter::writeShowFrame(OutputFile& output)
{
    swf::writeTag(output, TagCode::ShowFrame);
    ++frameCount_;
}

} // namespace orvalin
