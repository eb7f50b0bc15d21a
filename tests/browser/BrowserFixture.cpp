// Lays out what the browser test serves, made by our own programs:
//   run/      six runs of the command-line converter with controller output
//             (letters c, d, e, f, x, and one whose stream is then removed)
//   preview/  a copy of the Controllers folder with the program's preview
//             page, which embeds each controller with and without "?p00012"
//   layout.json  where each page's buttons and lamps are
// Usage: orvalin-browser-fixture OUT CONVERTER MP3
#include "ControllerLook.h"

#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "web/ControllerCatalogue.h"
#include "web/ControllerPreview.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace orvalin;
using swfgen::ButtonRole;
using swfgen::ControllerLook;

constexpr const char* kBackground = "F4F1EA";
constexpr const char* kText = "202020";

class ConsoleMessages : public MessageBoxes {
public:
    MessageAnswer show(std::string_view text, MessageIcon, MessageButtons, MessageOwner) override
    {
        std::cerr << text << "\n";
        failed = true;
        return MessageAnswer::No;
    }
    bool failed = false;
};

struct Run {
    int number;
    char letter;
    bool withStream;
};

// Letter x stands for any letter without a meaning of its own.
constexpr Run kRuns[] = {{1, 'c', true}, {2, 'd', true}, {3, 'e', true},
                         {4, 'f', true}, {5, 'c', false}, {6, 'x', true}};

std::string colourText(const swfgen::Colour& colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

std::string lampJson(const ControllerLook& look)
{
    std::ostringstream json;
    json << "{";
    const char* separator = "";
    for (const auto& place : swfgen::buttonPlaces(look)) {
        const char* role = place.role == ButtonRole::Play ? "play" : place.role == ButtonRole::Stop ? "stop" : "loop";
        const auto strip = swfgen::lampStrip(look);
        json << separator << "\"" << role << "\": {\"x\": " << place.x + look.buttonWidth / 2.0
             << ", \"y\": " << place.y + look.buttonHeight / 2.0
             << ", \"lampY\": " << place.y + strip.y + strip.height / 2
             << ", \"height\": " << look.buttonHeight << "}";
        separator = ", ";
    }
    json << ", \"lampOn\": \"" << colourText(look.lampOn) << "\", \"lampOff\": \""
         << colourText(look.lampOff) << "\", \"face\": \"" << colourText(look.face)
         << "\", \"faceOver\": \"" << colourText(look.faceOver) << "\", \"faceDown\": \""
         << colourText(look.faceDown) << "\"}";
    return json.str();
}

// Runs the converter and waits for it; true when it converted.
bool convert(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Each run is a conversion by the command-line converter, with its own copy
// of the parameters file so that the program folder stays as built.
bool writeRuns(const std::filesystem::path& folder, const std::filesystem::path& converter,
               const std::string& mp3, std::ostringstream& layout)
{
    std::filesystem::create_directories(folder);
    const auto programFolder = converter.parent_path();
    const auto parameters = folder.parent_path() / "orvaln.da0";
    if (!copyFile((programFolder / "orvaln.da0").string(), parameters.string()))
        return false;

    const auto& looks = swfgen::controllerLooks();
    const char* separator = "";
    layout << "\"runs\": [";
    for (const auto& run : kRuns) {
        const auto& look = looks[static_cast<std::size_t>(run.number - 1) % looks.size()];
        const std::string base = "orvaln" + std::to_string(run.number);
        const std::string letter(1, run.letter);
        if (!convert({converter.string(), "--settings", parameters.string(), "--output-dir", folder.string(),
                      "--number", std::to_string(run.number), "--mode", "controller", "--controller",
                      look.name, "--letter", letter, "--text", "Preview tone, instruction " + letter,
                      "--background", kBackground, "--text-colour", kText, "--yes", "--quiet", mp3})) {
            std::cerr << "The converter failed on " << base << "\n";
            return false;
        }
        if (!run.withStream)
            removeFile((folder / (base + "s.swf")).string());

        layout << separator << "{\"page\": \"run/" << base << ".htm\", \"stream\": \"" << base
               << "s.swf\", \"letter\": \"" << run.letter << "\", \"hasStream\": "
               << (run.withStream ? "true" : "false") << ", \"controller\": \"" << look.name
               << "\", \"buttons\": " << lampJson(look) << "}";
        separator = ", ";
    }
    layout << "]";
    return true;
}

// The program's own preview page over a copy of the Controllers folder.
bool writePreview(const std::filesystem::path& folder, const std::filesystem::path& controllers,
                  std::ostringstream& layout)
{
    std::filesystem::create_directories(folder);
    std::error_code error;
    std::filesystem::copy(controllers, folder, std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive, error);
    if (error) {
        std::cerr << "Cannot copy the controllers: " << error.message() << "\n";
        return false;
    }
    const std::string dir = folder.string() + "/";
    const auto names = listControllers(dir);
    ConsoleMessages messages;
    if (!writePreviewPage(dir, names, kBackground, kText, messages) || messages.failed)
        return false;

    layout << ", \"preview\": {\"page\": \"preview/" << kPreviewPageName << "\", \"controllers\": [";
    const char* separator = "";
    for (const auto& name : names) {
        const auto look = std::find_if(swfgen::controllerLooks().begin(), swfgen::controllerLooks().end(),
                                       [&](const ControllerLook& l) { return l.name == name; });
        if (look == swfgen::controllerLooks().end()) {
            std::cerr << "Not one of ours: " << name << "\n";
            return false;
        }
        layout << separator << "{\"controller\": \"" << name << "\", \"buttons\": " << lampJson(*look) << "}";
        separator = ", ";
    }
    layout << "]}";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: orvalin-browser-fixture OUT CONVERTER MP3\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::filesystem::path converter = argv[2];
    const auto controllers = converter.parent_path() / "Controllers";
    std::ostringstream layout;
    layout << "{";
    if (!writeRuns(out / "run", converter, argv[3], layout) || !writePreview(out / "preview", controllers, layout))
        return 1;
    layout << "}\n";
    std::ofstream json(out / "layout.json", std::ios::trunc);
    json << layout.str();
    return json ? 0 : 1;
}
