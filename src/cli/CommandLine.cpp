#include "cli/CommandLine.h"

#include "platform/Folders.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <getopt.h>

namespace orvalin {
namespace {

enum LongOnly { kController = 256, kLetter, kBackground, kTextColour, kWebPlayer, kNoWebPlayer, kSettings, kVersion };

std::optional<int> wholeNumber(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<OutputMode> outputModeNamed(const std::string& name)
{
    if (name == "controller")
        return OutputMode::Controller;
    if (name == "loop")
        return OutputMode::BareLooping;
    if (name == "once")
        return OutputMode::BareOnce;
    return std::nullopt;
}

// RRGGBB in hexadecimal, with or without a leading "#"; the digits are kept as typed.
std::optional<std::string> htmlColour(std::string text)
{
    if (!text.empty() && text.front() == '#')
        text.erase(0, 1);
    const bool hex = std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (text.size() != 6 || !hex)
        return std::nullopt;
    return text;
}

template <std::size_t N>
bool oneOf(int value, const std::array<int, N>& allowed)
{
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, char** argv)
{
    static const option longOptions[] = {
        {"output-dir", required_argument, nullptr, 'o'},
        {"number", required_argument, nullptr, 'n'},
        {"text", required_argument, nullptr, 't'},
        {"bitrate", required_argument, nullptr, 'b'},
        {"sample-rate", required_argument, nullptr, 'r'},
        {"channels", required_argument, nullptr, 'c'},
        {"mode", required_argument, nullptr, 'm'},
        {"controller", required_argument, nullptr, kController},
        {"letter", required_argument, nullptr, kLetter},
        {"background", required_argument, nullptr, kBackground},
        {"text-colour", required_argument, nullptr, kTextColour},
        {"web-player", no_argument, nullptr, kWebPlayer},
        {"no-web-player", no_argument, nullptr, kNoWebPlayer},
        {"jobs", required_argument, nullptr, 'j'},
        {"yes", no_argument, nullptr, 'y'},
        {"settings", required_argument, nullptr, kSettings},
        {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };

    ParsedCommandLine parsed;
    ConvertOptions& options = parsed.options;
    const auto badValue = [&](const char* what, const std::string& value) {
        if (parsed.error.empty())
            parsed.error = std::string("invalid ") + what + " '" + value + "'";
    };

    opterr = 0;
    optind = 0; // also resets getopt's state, so that it can parse again
    int code;
    while ((code = getopt_long(argc, argv, ":o:n:t:b:r:c:m:j:yqh", longOptions, nullptr)) != -1) {
        const std::string value = optarg ? optarg : "";
        switch (code) {
        case 'o': options.outputDir = value; break;
        case 'n':
            if (const auto number = wholeNumber(value); number && *number >= 0 && *number <= 99999)
                options.number = number;
            else
                badValue("output number", value);
            break;
        case 't': options.text = value; break;
        case 'b': options.bitrate = wholeNumber(value); if (!options.bitrate) badValue("bitrate", value); break;
        case 'r': options.sampleRate = wholeNumber(value); if (!options.sampleRate) badValue("sample rate", value); break;
        case 'c': options.channels = wholeNumber(value); if (!options.channels) badValue("channel count", value); break;
        case 'm': options.outputMode = outputModeNamed(value); if (!options.outputMode) badValue("mode", value); break;
        case 'j':
            if (const auto jobs = wholeNumber(value); jobs && *jobs >= 1 && *jobs <= ConvertOptions::kMostJobs)
                options.jobs = *jobs;
            else
                badValue("number of jobs", value);
            break;
        case kController: options.controller = value; break;
        case kLetter: options.letter = value; break;
        case kBackground: options.background = htmlColour(value); if (!options.background) badValue("background colour", value); break;
        case kTextColour: options.textColour = htmlColour(value); if (!options.textColour) badValue("text colour", value); break;
        case kWebPlayer: options.webPlayer = true; break;
        case kNoWebPlayer: options.webPlayer = false; break;
        case kSettings: options.settingsPath = value; break;
        case 'y': options.assumeYes = true; break;
        case 'q': options.quiet = true; break;
        case 'h': options.showHelp = true; break;
        case kVersion: options.showVersion = true; break;
        case ':':
            if (parsed.error.empty())
                parsed.error = std::string("option '") + argv[optind - 1] + "' needs a value";
            break;
        default:
            // A short option may sit inside a group ("-hits.mp3"): name the letter.
            if (parsed.error.empty())
                parsed.error = optopt ? std::string("unknown option '-") + static_cast<char>(optopt) + "'"
                                      : std::string("unknown option '") + argv[optind - 1] + "'";
            break;
        }
    }
    for (int i = optind; i < argc; ++i)
        options.inputs.emplace_back(argv[i]);
    if (parsed.error.empty() && options.inputs.empty() && !options.showHelp && !options.showVersion)
        parsed.error = "no input file given";
    return parsed;
}

std::string usageText()
{
    return "Usage: orvalin-convert [options] INPUT...\n"
           "Turns each MP3 or WAV input into a streaming Flash animation and a web page.\n"
           "\n"
           "  -o, --output-dir DIR     write the outputs to DIR instead of the saved folder\n"
           "  -n, --number N           first output number (0 to 99999)\n"
           "  -t, --text TEXT          text of the page (default: from the tags or file name)\n"
           "  -b, --bitrate KBPS       8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128,\n"
           "                           144, 160, 192, 224, 256 or 320\n"
           "  -r, --sample-rate HZ     11025, 22050 or 44100\n"
           "  -c, --channels 1|2       mono or stereo\n"
           "  -m, --mode MODE          controller, loop or once\n"
           "      --controller NAME    controller from a Controllers folder\n"
           "      --letter X           instruction letter of the controller\n"
           "      --background RRGGBB  page background colour\n"
           "      --text-colour RRGGBB page text colour\n"
           "      --web-player         page plays in today's browsers: it loads the Flash\n"
           "                           player for the web, copied beside it as ruffle/\n"
           "      --no-web-player      page for the Flash plug-in alone\n"
           "  -j, --jobs N             convert up to N inputs at once (1 to 64, default 1)\n"
           "  -y, --yes                overwrite existing outputs without asking\n"
           "      --settings FILE      use FILE as the parameters file\n"
           "  -q, --quiet              show no progress and no file names\n"
           "  -h, --help               show this help\n"
           "      --version            show the version\n"
           "\n"
           "Exit status: 0 all converted, 1 a conversion failed, 2 bad usage or settings,\n"
           "3 cancelled.\n";
}

std::vector<std::string> applyOptions(const ConvertOptions& options, ConversionSettings& settings)
{
    if (options.outputDir) {
        settings.outputToDesktop = false;
        settings.outputFolder = *options.outputDir;
    }
    if (options.number)
        settings.nextOutputNumber = *options.number;
    if (options.bitrate)
        settings.bitrate = *options.bitrate;
    if (options.sampleRate)
        settings.sampleRate = *options.sampleRate;
    if (options.channels)
        settings.channels = *options.channels;
    if (options.outputMode)
        settings.outputMode = *options.outputMode;
    if (options.controller)
        settings.controllerName = *options.controller;
    if (options.letter)
        settings.instructionLetter = *options.letter;
    if (options.background)
        settings.backgroundColour = *options.background;
    if (options.textColour)
        settings.textColour = *options.textColour;
    if (options.webPlayer)
        settings.webPlayer = *options.webPlayer;

    std::vector<std::string> problems;
    if (!oneOf(settings.bitrate, kBitrates))
        problems.push_back("Bitrate " + std::to_string(settings.bitrate) + " kb/s is not one of the bitrates offered.");
    if (!oneOf(settings.sampleRate, kSampleRates))
        problems.push_back("Sample rate " + std::to_string(settings.sampleRate) + " Hz is not 11025, 22050 or 44100 Hz.");
    if (settings.channels != 1 && settings.channels != 2)
        problems.push_back("Channels must be 1 (mono) or 2 (stereo).");
    if (!settings.outputToDesktop && settings.outputFolder.empty())
        problems.push_back("No output folder is set: give one with -o DIR.");
    if (options.controller && !isPlainFileName(*options.controller))
        problems.push_back("Controller \"" + *options.controller + "\" must be a name from the Controllers folder, not a path.");
    std::string rules = compressionRuleMessage(settings.sampleRate, settings.bitrate);
    for (std::size_t end; (end = rules.find('\n')) != std::string::npos; rules.erase(0, end + 1))
        problems.push_back(rules.substr(0, end));
    settings.instructionLetter = normaliseInstructionLetter(settings.instructionLetter);
    return problems;
}

} // namespace orvalin
