#include "audio/Mp3DecoderLibrary.h"

namespace orvalin {

std::unique_ptr<Mp3DecoderLibrary> Mp3DecoderLibrary::load(const std::string& path)
{
    auto module = RuntimeModule::load(path);
    if (!module)
        return nullptr;
    auto* init = module->entryPoint<InitMp3Function>("InitMP3");
    auto* decode = module->entryPoint<DecodeMp3Function>("DecodeMP3");
    auto* exit = module->entryPoint<ExitMp3Function>("ExitMP3");
    if (!init || !decode || !exit)
        return nullptr;
    return std::unique_ptr<Mp3DecoderLibrary>(
        new Mp3DecoderLibrary(std::move(*module), init, decode, exit));
}

Mp3DecoderLibrary::Mp3DecoderLibrary(RuntimeModule module, InitMp3Function* init,
                                     DecodeMp3Function* decode, ExitMp3Function* exit)
    : module_(std::move(module)),
      decode_(decode),
      exit_(exit),
      state_(std::make_unique_for_overwrite<DecoderStateBlock>()),
      output_(std::make_unique_for_overwrite<std::uint8_t[]>(kDecoderOutputCapacity))
{
    // A decoder that could not get ready rejects every frame; the run then
    // ends as it would for an input without sound.
    init(state_.get());
}

Mp3DecoderLibrary::~Mp3DecoderLibrary()
{
    exit_(state_.get());
}

} // namespace orvalin
