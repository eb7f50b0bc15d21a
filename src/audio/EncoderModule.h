#pragma once

#include "audio/EncoderInterface.h"
#include "platform/RuntimeModule.h"

#include <optional>
#include <string>

namespace orvalin {

// The encoder module with its four entry points; unloaded when the object goes.
class EncoderModule {
public:
    // Nothing when the module cannot be loaded or lacks an entry point.
    static std::optional<EncoderModule> load(const std::string& path);

    BeInitStream* initStream = nullptr;
    BeEncodeChunk* encodeChunk = nullptr;
    BeDeinitStream* deinitStream = nullptr;
    BeCloseStream* closeStream = nullptr;

private:
    explicit EncoderModule(RuntimeModule module) : module_(std::move(module)) {}

    RuntimeModule module_;
};

// A stream opened by beInitStream, closed when the object goes. The module
// must outlive it.
class EncoderStream {
public:
    EncoderStream(BeCloseStream* closeStream, BeStream handle)
        : closeStream_(closeStream), handle_(handle)
    {
    }
    EncoderStream(const EncoderStream&) = delete;
    EncoderStream& operator=(const EncoderStream&) = delete;
    ~EncoderStream() { closeStream_(handle_); }

private:
    BeCloseStream* closeStream_;
    BeStream handle_;
};

} // namespace orvalin
