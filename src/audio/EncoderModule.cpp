#include "audio/EncoderModule.h"

namespace orvalin {

std::optional<EncoderModule> EncoderModule::load(const std::string& path)
{
    auto module = RuntimeModule::load(path);
    if (!module)
        return std::nullopt;
    EncoderModule encoder(std::move(*module));
    encoder.initStream = encoder.module_.entryPoint<BeInitStream>("beInitStream");
    encoder.encodeChunk = encoder.module_.entryPoint<BeEncodeChunk>("beEncodeChunk");
    encoder.deinitStream = encoder.module_.entryPoint<BeDeinitStream>("beDeinitStream");
    encoder.closeStream = encoder.module_.entryPoint<BeCloseStream>("beCloseStream");
    if (!encoder.initStream || !encoder.encodeChunk || !encoder.deinitStream || !encoder.closeStream)
        return std::nullopt;
    return encoder;
}

} // namespace orvalin
