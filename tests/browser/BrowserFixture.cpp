// Lays out what the browser test serves, made by our own programs:
//   run/      six runs of the command-line converter with controller output
//             (letters c, d, e, f, x, and one whose stream is then removed)
//   web/      controller pages that wait for a click (letter c) or play at once
//             (letter f), and a bare page, made with the web player
//   layout.json  the runs, and where each controller's buttons and lamps are
// Usage: orvalin-browser-fixture OUT CONVERTER MP3
#include "ControllerLook.h"


#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

using namespace orvalin;
namespace fs = std::filesystem;

constexpr const char* kBackground = "F4F1EA";
constexpr const char* kText = "202020";

struct Run {
    int number;
    char letter;
    bool withStream;
};

// Letter x stands for any letter without a meaning of its own.
constexpr Run kRuns[] = {{1, 'c', true}, {2, 'd', true}, {3, 'e', true},
                         {4, 'f', true}, {5, 'c', false}, {6, 'x', true}};

std::string colour(const swfgen::Colour& colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", colour.red, colour.green, colour.blue);
    return text;
}

// The buttons' centres and lamps in pixels, and the colours to look for.
std::string buttonsJson(const swfgen::ControllerLook& look)
{
    const auto strip = swfgen::lampStrip(look);
    std::ostringstream json;
    json << "{";
    for (const auto& place : swfgen::buttonPlaces(look)) {
        const char* role = place.role == swfgen::ButtonRole::Play ? "play"
                           : place.role == swfgen::ButtonRole::Stop ? "stop" : "loop";
        json << "\"" << role << "\": {\"x\": " << place.x + look.buttonWidth / 2.0
             << ", \"y\": " << place.y + look.buttonHeight / 2.0 << ", \"lampY\": "
             << place.y + strip.y + strip.height / 2 << ", \"height\": " << look.buttonHeight << "}, ";
    }
    json << "\"lampOn\": " << colour(look.lampOn) << ", \"lampOff\": " << colour(look.lampOff)
         << ", \"face\": " << colour(look.face) << ", \"faceOver\": " << colour(look.faceOver)
         << ", \"faceDown\": " << colour(look.faceDown) << "}";
    return json.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: orvalin-browser-fixture OUT CONVERTER MP3\n";
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path converter = argv[2];
    const auto& looks = swfgen::controllerLooks();
    std::ostringstream json;
    json << "{\"looks\": {";
    for (const auto& look : looks)
        json << (&look == &looks.front() ? "\"" : ", \"") << look.name << "\": " << buttonsJson(look);

    // Each run has its own copy of the parameters file, so that the program
    // folder stays as built.
    fs::create_directories(out / "run");
    fs::create_directories(out / "web");
    fs::copy_file(converter.parent_path() / "orvaln.da0", out / "orvaln.da0");
    json << "}, \"runs\": [";
    for (const Run& run : kRuns) {
        const std::string controller = looks[static_cast<std::size_t>(run.number - 1) % looks.size()].name;
        const std::string letter(1, run.letter);
        std::string command = "'" + converter.string() + "' --yes --quiet --mode controller";
        for (const std::string& word : std::initializer_list<std::string>
             {"--settings", (out / "orvaln.da0").string(), "--output-dir", (out / "run").string(), "--number",
              std::to_string(run.number), "--controller", controller, "--letter", letter, "--text",
              "Preview tone, instruction " + letter, "--background", kBackground, "--text-colour", kText, argv[3]})
            command += " '" + word + "'";
        if (std::system(command.c_str()) != 0) {
            std::cerr << "The converter failed on run " << run.number << "\n";
            return 1;
        }
        if (!run.withStream)
            fs::remove(out / "run" / ("orvaln" + std::to_string(run.number) + "s.swf"));
        json << (&run == kRuns ? "" : ", ") << "{\"number\": " << run.number << ", \"letter\": \"" << letter
             << "\", \"hasStream\": " << (run.withStream ? "true" : "false") << ", \"controller\": \""
             << controller << "\"}";
    }

    // Pages that load the web player: a controller that plays at once (7),
    // bare looping output (8) and a controller that waits for a click (9).
    struct WebPage {
        const char* number;
        const char* mode;
        const char* letter;
    };
    for (const auto& [number, mode, letter] :
         {WebPage{"7", "controller", "f"}, {"8", "loop", "f"}, {"9", "controller", "c"}}) {
        const std::string command = "'" + converter.string() + "' --yes --quiet --web-player --letter " + letter +
                                    " --mode " + mode + " --number " + number + " --controller " + looks.front().name +
                                    " --settings '" + (out / "orvaln.da0").string() + "' --output-dir '" +
                                    (out / "web").string() + "' '" + argv[3] + "'";
        if (std::system(command.c_str()) != 0)
            return 1;
    }
    json << "]}\n";
    return (std::ofstream(out / "layout.json") << json.str()) ? 0 : 1;
}
