#pragma once

#include "audio/RiffChunkWalker.h"
#include "audio/WavFormat.h"
#include "common/JobStatus.h"
#include "common/OutputChoices.h"
#include "common/StageResult.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvalin {

class EncoderModule;

// Encodes a PCM WAV file into an MP3 file through the "lame_enc" module,
// loaded from the program folder. Reads cancel from and reports progress to
// the job status; on failure or cancel the MP3 file does not exist
// afterwards.
class Mp3EncodeStage {
public:
    // programFolder ends in the path separator.
    Mp3EncodeStage(JobStatus& status, MessagePump& pump, std::string programFolder);

    // bitrate in kbit/s, outputSampleRate in Hz.
    StageResult run(const std::string& wavPath, const std::string& mp3Path, unsigned bitrate,
                    unsigned outputSampleRate, Mp3ChannelMode channelMode);

private:
    // Encodes every data chunk; false when the file is not a WAV of a format
    // that can be encoded.
    bool encodeWav(InputFile& input, OutputFile& output);

    struct Encoding;
    void encodeDataChunk(InputFile& input, const RiffChunk& chunk, const WavFormat& format,
                         OutputFile& output);
    void encodeThrough(const EncoderModule& encoder, InputFile& input, const RiffChunk& chunk,
                       const WavFormat& format, OutputFile& output);
    void encodeFrames(InputFile& input, const RiffChunk& chunk, const WavFormat& format, Encoding& encoding,
                      OutputFile& output);
    bool encodeBlock(const WavFormat& format, std::size_t frames, Encoding& encoding, OutputFile& output);
    void finishStream(Encoding& encoding, OutputFile& output);
    bool append(const Encoding& encoding, std::uint32_t written, OutputFile& output);
    unsigned encoderChannels() const;
    void fail(std::string message) { failure_ = std::move(message); }

    JobStatus& status_;
    MessagePump& pump_;
    std::string programFolder_;
    unsigned bitrate_ = 0;
    unsigned outputSampleRate_ = 0;
    Mp3ChannelMode channelMode_ = Mp3ChannelMode::Stereo;
    std::optional<std::string> failure_;
    std::uint64_t framesEncoded_ = 0;
};

} // namespace orvalin
