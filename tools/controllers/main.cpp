// Builds the controller animations, their descriptions and the preview
// stream from source at build time:
//   orvalin-controllers tone PROGRAM MP3   the preview's sound, encoded by our
//                                          encoder module in the program folder
//   orvalin-controllers write FOLDER MP3   controllers, their pictures and
//                                          preview.swf
#include "ControllerLook.h"
#include "ControllerMovie.h"
#include "ControllerPicture.h"
#include "PreviewTone.h"

#include "audio/Mp3EncodeStage.h"
#include "common/JobStatus.h"
#include "platform/Files.h"
#include "platform/Folders.h"
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

bool writePreviewMp3(const std::string& programFolder, const std::string& mp3Path)
{
    const std::string wavPath = mp3Path + ".wav";
    if (!swfgen::writePreviewTone(wavPath)) {
        std::cerr << "Cannot write " << wavPath << "\n";
        return false;
    }
    JobStatus status;
    NoMessages pump;
    const StageResult result = Mp3EncodeStage(status, pump, programFolder)
                                   .run(wavPath, mp3Path, swfgen::kPreviewBitrate, swfgen::kPreviewSampleRate,
                                        Mp3ChannelMode::Mono);
    removeFile(wavPath);
    if (result.failed())
        std::cerr << mp3Path << ": " << result.errorText << "\n";
    return result.succeeded();
}

bool writeControllers(const std::filesystem::path& folder, const std::string& previewMp3)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& look : swfgen::controllerLooks()) {
        const auto movie = swfgen::controllerMovie(look);
        const std::string description = look.description + "\n";
        const std::string picture = swfgen::controllerPicture(look);
        if (!writeFile(folder / (look.name + ".swf"), movie.data(), movie.size()) ||
            !writeFile(folder / (look.name + ".txt"), description.data(), description.size()) ||
            !writeFile(folder / (look.name + ".svg"), picture.data(), picture.size()))
            return false;
    }

    JobStatus status;
    NoMessages pump;
    const StageResult result =
        SwfStreamWriter(status, pump).writeAnimation(previewMp3, (folder / "preview.swf").string());
    if (result.failed())
        std::cerr << "preview.swf: " << result.errorText << "\n";
    return result.succeeded();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "tone" && argc == 4)
        return writePreviewMp3(std::string(argv[2]) + kPathSeparator, argv[3]) ? 0 : 1;
    if (command == "write" && argc == 4)
        return writeControllers(argv[2], argv[3]) ? 0 : 1;
    std::cerr << "usage: orvalin-controllers tone PROGRAM MP3 | write FOLDER MP3\n";
    return 2;
}
