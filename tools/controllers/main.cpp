// Builds the controller animations, their descriptions and the preview
// stream from source at build time:
//   orvalin-controllers tone MP3           the preview's sound
//   orvalin-controllers write FOLDER MP3   controllers and preview.swf
#include "ControllerLook.h"
#include "ControllerMovie.h"
#include "PreviewTone.h"

#include "job/ConversionJob.h"
#include "job/JobStatus.h"
#include "platform/MessagePump.h"
#include "swf/SwfStreamWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace orvalin;

class NoMessages : public MessagePump {
public:
    void pumpMessages() override {}
};

bool writeFile(const std::filesystem::path& path, const void* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        std::cerr << "Cannot write " << path << "\n";
    return static_cast<bool>(out);
}

bool writeControllers(const std::filesystem::path& folder, const std::string& previewMp3)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& look : swfgen::controllerLooks()) {
        const auto movie = swfgen::controllerMovie(look);
        const std::string description = look.description + "\n";
        if (!writeFile(folder / (look.name + ".swf"), movie.data(), movie.size()) ||
            !writeFile(folder / (look.name + ".txt"), description.data(), description.size()))
            return false;
    }

    JobStatus status;
    NoMessages pump;
    SwfStreamWriter(status, pump)
        .writeAnimation(previewMp3, (folder / "preview.swf").string(), ConversionJob::kFrameRate,
                        ConversionJob::kLatencySeek);
    if (status.failed)
        std::cerr << "preview.swf: " << status.errorText << "\n";
    return !status.failed;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "tone" && argc == 3)
        return swfgen::writePreviewTone(argv[2]) ? 0 : 1;
    if (command == "write" && argc == 4)
        return writeControllers(argv[2], argv[3]) ? 0 : 1;
    std::cerr << "usage: orvalin-controllers tone MP3 | write FOLDER MP3\n";
    return 2;
}
