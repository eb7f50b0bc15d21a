#include "audio/Mp3EncodeStage.h"

#include "audio/EncoderConfig.h"
#include "audio/EncoderModule.h"
#include "audio/PcmLayout.h"
#include "audio/StageOutput.h"
#include "platform/RuntimeModule.h"

#include <algorithm>
#include <vector>

namespace orvalin {
namespace {

constexpr const char* kInitFailed = "Cannot initialise LAME encoder.";
constexpr const char* kEncodeFailed = "Cannot encode in LAME encoder.";
constexpr const char* kWriteFailed = "Cannot write MP3 file.";

} // namespace

Mp3EncodeStage::Mp3EncodeStage(JobStatus& status, MessagePump& pump, std::string programFolder)
    : status_(status), pump_(pump), programFolder_(std::move(programFolder))
{
}

StageResult Mp3EncodeStage::run(const std::string& wavPath, const std::string& mp3Path, unsigned bitrate,
                                unsigned outputSampleRate, Mp3ChannelMode channelMode)
{
    bitrate_ = bitrate;
    outputSampleRate_ = outputSampleRate;
    channelMode_ = channelMode;

    auto input = InputFile::open(wavPath);
    if (!input)
        return StageResult::failure("Cannot open WAV file.");
    auto output = OutputFile::create(mp3Path);
    if (!output)
        return StageResult::failure("Cannot create MP3 file.");

    failure_.reset();
    framesEncoded_ = 0;
    // A read error is no format problem, and a run that met one is no
    // success, even after the last sample.
    const bool encodable = encodeWav(*input, *output);
    if (!failure_ && !input->readFailed() && !status_.cancelRequested) {
        if (!encodable)
            fail("Format not supported.");
        else if (framesEncoded_ == 0)
            fail(kNoSoundText);
    }
    return finishStage(status_.cancelRequested, std::move(failure_), *input, *output, mp3Path,
                       {"Cannot read WAV file.", kWriteFailed});
}

bool Mp3EncodeStage::encodeWav(InputFile& input, OutputFile& output)
{
    RiffChunkWalker walker(input);
    if (!walker.readWaveHeader())
        return false;
    std::optional<WavFormat> format;
    bool sawData = false;
    while (!status_.cancelRequested && !failure_) {
        const auto chunk = walker.nextChunk();
        if (!chunk)
            break;
        if (chunk->id == "fmt ") {
            format = readWavFormat(input, *chunk);
            if (!format->isEncodable())
                return false;
        } else if (chunk->id == "data") {
            // Samples without a format before them cannot be read.
            if (!format)
                return false;
            encodeDataChunk(input, *chunk, *format, output);
            sawData = true;
        }
    }
    // A file without sound data (or whose chunk sizes hide it) is no WAV we
    // can convert, not an empty success.
    return sawData;
}

unsigned Mp3EncodeStage::encoderChannels() const
{
    return channelMode_ == Mp3ChannelMode::Mono ? 1 : 2;
}

// One data chunk on its way through the encoder: the module, the stream it
// opened and the buffers they work in.
struct Mp3EncodeStage::Encoding {
    const EncoderModule& encoder;
    BeStream handle;
    std::vector<std::uint8_t> raw;     // frames as the WAV holds them
    std::vector<std::int16_t> samples; // the same frames as the encoder takes them
    std::vector<std::uint8_t> mp3;     // what the encoder puts out
};

void Mp3EncodeStage::encodeDataChunk(InputFile& input, const RiffChunk& chunk,
                                     const WavFormat& format, OutputFile& output)
{
    status_.stagePercent = 0;
    pump_.pumpMessages();

    const std::string modulePath = programFolder_ + moduleFileName("lame_enc");
    const auto encoder = EncoderModule::load(modulePath);
    if (!encoder) {
        // "DLL", as users know the message, though the module is a shared object here.
        fail("Cannot load DLL [" + modulePath + "].");
        return;
    }
    encodeThrough(*encoder, input, chunk, format, output);
}

// Opens a stream for the chunk's format, feeds it the chunk and ends it.
void Mp3EncodeStage::encodeThrough(const EncoderModule& encoder, InputFile& input, const RiffChunk& chunk,
                                   const WavFormat& format, OutputFile& output)
{
    const BeConfig config =
        makeEncoderConfig(format.samplesPerSecond, outputSampleRate_, channelMode_, bitrate_);
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputBufferSize = 0;
    BeStream handle = 0;
    if (encoder.initStream(&config, &samplesPerChunk, &outputBufferSize, &handle) != BE_ERR_SUCCESSFUL) {
        fail(kInitFailed);
        return;
    }
    const EncoderStream closer(encoder.closeStream, handle);
    const std::size_t framesPerChunk = samplesPerChunk / encoderChannels();
    if (framesPerChunk == 0) {
        fail(kInitFailed);
        return;
    }
    // Four times the output the encoder asks for, so that no module can overrun it.
    Encoding encoding{encoder, handle, std::vector<std::uint8_t>(framesPerChunk * format.bytesPerFrame()),
                      std::vector<std::int16_t>(framesPerChunk * encoderChannels()),
                      std::vector<std::uint8_t>(4 * std::size_t{outputBufferSize})};
    encodeFrames(input, chunk, format, encoding, output);
    finishStream(encoding, output);
}

void Mp3EncodeStage::encodeFrames(InputFile& input, const RiffChunk& chunk, const WavFormat& format,
                                  Encoding& encoding, OutputFile& output)
{
    // A trailing part of a frame cannot be encoded.
    const std::uint64_t total = chunk.size - chunk.size % format.bytesPerFrame();
    std::uint64_t consumed = 0;
    input.seek(chunk.dataStart);
    while (consumed < total) {
        status_.stagePercent = static_cast<int>(consumed * 100 / total);
        pump_.pumpMessages();
        if (status_.cancelRequested)
            break;
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(encoding.raw.size(), total - consumed));
        const std::size_t got = input.read(encoding.raw.data(), want);
        if (input.readFailed()) {
            fail("Cannot read WAV file.");
            break;
        }
        const std::size_t frames = got / format.bytesPerFrame();
        if (frames == 0)
            break; // the file got shorter while we read it
        consumed += got;
        if (!encodeBlock(format, frames, encoding, output))
            break;
    }
}

// Encodes the frames just read into the raw buffer; false once the stage
// has failed.
bool Mp3EncodeStage::encodeBlock(const WavFormat& format, std::size_t frames, Encoding& encoding, OutputFile& output)
{
    framesEncoded_ += frames;
    convertFrames(encoding.raw.data(), frames, format.channelCount, format.bitsPerSample, encoderChannels(),
                  encoding.samples.data());
    const auto sampleCount = static_cast<std::uint32_t>(frames * encoderChannels());
    std::uint32_t written = 0;
    if (encoding.encoder.encodeChunk(encoding.handle, sampleCount, encoding.samples.data(), encoding.mp3.data(),
                                     &written) != BE_ERR_SUCCESSFUL) {
        fail(kEncodeFailed);
        return false;
    }
    return append(encoding, written, output);
}

// The encoder holds back the last frames until the stream ends.
void Mp3EncodeStage::finishStream(Encoding& encoding, OutputFile& output)
{
    std::uint32_t written = 0;
    if (encoding.encoder.deinitStream(encoding.handle, encoding.mp3.data(), &written) != BE_ERR_SUCCESSFUL) {
        fail("Cannot deinitialise LAME encoder.");
        return;
    }
    append(encoding, written, output);
    status_.stagePercent = 100;
    pump_.pumpMessages();
}

// Appends what the encoder put out; false once the stage has failed.
bool Mp3EncodeStage::append(const Encoding& encoding, std::uint32_t written, OutputFile& output)
{
    if (written > encoding.mp3.size()) {
        fail(kEncodeFailed);
        return false;
    }
    output.write(encoding.mp3.data(), written);
    if (output.failed()) {
        fail(kWriteFailed);
        return false;
    }
    return true;
}

} // namespace orvalin
