#pragma once

#include "audio/MpegFrameHeader.h"
#include "common/StageResult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvalin {

struct JobStatus;
class MessagePump;
class InputFile;
class OutputFile;
class Mp3DecoderLibrary;

// Decodes an MP3 file into a 16-bit PCM WAV through the decoder module in
// the program folder. It finds the frames itself, byte by byte, skipping
// ID3v2 tags in front of the sound, and hands each whole frame to the
// decoder; the WAV header describes the first frame that gives sound.
class Mp3DecodeStage {
public:
    // programFolder ends in the path separator.
    Mp3DecodeStage(JobStatus& status, MessagePump& pump, std::string programFolder);

    // Reads cancel from and reports progress to the job status. After a
    // failure or a cancel the WAV file does not exist; an input in which no
    // frame gives sound is a failure.
    StageResult run(const std::string& mp3Path, const std::string& wavPath);

private:
    void decode(InputFile& input, OutputFile& wav);
    void scan(InputFile& input, OutputFile& wav, Mp3DecoderLibrary& decoder, std::uint8_t* frame);
    void skipId3v2Tag(InputFile& input, std::uint64_t tagStart);
    void decodeFrame(InputFile& input, OutputFile& wav, Mp3DecoderLibrary& decoder,
                     std::uint8_t* frame);
    bool startsStream(InputFile& input, std::uint64_t frameStart, std::size_t length);
    void appendPcm(OutputFile& wav, const std::uint8_t* pcm, std::size_t count);
    void reportProgress(std::uint64_t nextPosition);

    JobStatus& status_;
    MessagePump& pump_;
    std::string programFolder_;

    std::optional<std::string> failure_;
    std::uint64_t inputSize_ = 0;
    std::uint64_t nextTagStart_ = 0; // where a leading tag may start
    // Header bytes 2 to 4 of the last frame parsed, padding bit set, so that
    // frames differing only in padding share one parse.
    std::array<std::uint8_t, 3> lastHeader_{};
    MpegFrameInfo frame_;
    bool headerWritten_ = false;
    bool wavFull_ = false;
};

} // namespace orvalin
