#pragma once

#include "audio/DecoderInterface.h"
#include "platform/RuntimeModule.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orvalin {

// The decoder module, loaded and prepared for one run: its state is set up
// on loading and released, before the module is unloaded, on destruction.
class Mp3DecoderLibrary {
public:
    // Null when the module cannot be loaded or lacks an entry point.
    static std::unique_ptr<Mp3DecoderLibrary> load(const std::string& path);

    Mp3DecoderLibrary(const Mp3DecoderLibrary&) = delete;
    Mp3DecoderLibrary& operator=(const Mp3DecoderLibrary&) = delete;
    ~Mp3DecoderLibrary();

    // Decodes one whole frame, handing each piece of PCM the decoder returns
    // to take(data, byteCount). A frame the decoder rejects gives nothing.
    template <typename Consumer>
    void decodeFrame(const std::uint8_t* frame, int length, Consumer&& take)
    {
        int done = 0;
        int result = decode_(state_.get(), frame, length, output_.get(), kDecoderOutputCapacity, &done);
        while (result == kDecodeOk) {
            if (done > 0)
                take(output_.get(), static_cast<std::size_t>(std::min(done, kDecoderOutputCapacity)));
            result = decode_(state_.get(), nullptr, 0, output_.get(), kDecoderOutputCapacity, &done);
        }
    }

private:
    Mp3DecoderLibrary(RuntimeModule module, InitMp3Function* init, DecodeMp3Function* decode,
                      ExitMp3Function* exit);

    RuntimeModule module_;
    DecodeMp3Function* decode_;
    ExitMp3Function* exit_;
    std::unique_ptr<DecoderStateBlock> state_;
    std::unique_ptr<std::uint8_t[]> output_;
};

} // namespace orvalin
