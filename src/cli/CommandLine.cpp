#include "cli/CommandLine.h"

#include "common/OutputNames.h"
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

// Every option, its argument and the code it reads as.
const option kLongOptions[] = {
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
// The leading colon makes a missing value ':' rather than '?'.
constexpr const char* kShortOptions = ":o:n:t:b:r:c:m:j:yqh";

// Keeps the first mistake of a command line: it is the one to mend first.
void noteMistake(ParsedCommandLine& parsed, const std::string& mistake)
{
    if (parsed.error.empty())
        parsed.error = mistake;
}

template <typename T>
void keepValid(ParsedCommandLine& parsed, std::optional<T>& field, std::optional<T> value, const char* what,
               const std::string& text)
{
    field = std::move(value);
    if (!field)
        noteMistake(parsed, std::string("invalid ") + what + " '" + text + "'");
}

std::optional<int> numberWithin(const std::string& text, int lowest, int highest)
{
    const auto number = wholeNumber(text);
    return number && *number >= lowest && *number <= highest ? number : std::nullopt;
}

// The options that lay a value over a saved setting; false for any other.
bool readSettingOption(int code, const std::string& value, ParsedCommandLine& parsed)
{
    ConvertOptions& options = parsed.options;
    switch (code) {
    case 'o': options.outputDir = value; return true;
    case 'n':
        keepValid(parsed, options.number, numberWithin(value, 0, kMaxOutputNumber), "output number", value);
        return true;
    case 't': options.text = value; return true;
    case 'b': keepValid(parsed, options.bitrate, wholeNumber(value), "bitrate", value); return true;
    case 'r': keepValid(parsed, options.sampleRate, wholeNumber(value), "sample rate", value); return true;
    case 'c': keepValid(parsed, options.channels, wholeNumber(value), "channel count", value); return true;
    case 'm': keepValid(parsed, options.outputMode, outputModeNamed(value), "mode", value); return true;
    case kController: options.controller = value; return true;
    case kLetter: options.letter = value; return true;
    case kBackground:
        keepValid(parsed, options.background, htmlColour(value), "background colour", value);
        return true;
    case kTextColour:
        keepValid(parsed, options.textColour, htmlColour(value), "text colour", value);
        return true;
    case kWebPlayer: options.webPlayer = true; return true;
    case kNoWebPlayer: options.webPlayer = false; return true;
    default: return false;
    }
}

// The options that say how to run, and the mistakes getopt finds.
void readRunOption(int code, const std::string& value, ParsedCommandLine& parsed, char** argv)
{
    ConvertOptions& options = parsed.options;
    switch (code) {
    case 'j':
        if (const auto jobs = numberWithin(value, 1, ConvertOptions::kMostJobs))
            options.jobs = *jobs;
        else
            noteMistake(parsed, "invalid number of jobs '" + value + "'");
        break;
    case kSettings: options.settingsPath = value; break;
    case 'y': options.assumeYes = true; break;
    case 'q': options.quiet = true; break;
    case 'h': options.showHelp = true; break;
    case kVersion: options.showVersion = true; break;
    case ':': noteMistake(parsed, std::string("option '") + argv[optind - 1] + "' needs a value"); break;
    default:
        // A short option may sit inside a group ("-hits.mp3"): name the letter.
        noteMistake(parsed, optopt ? std::string("unknown option '-") + static_cast<char>(optopt) + "'"
                                   : std::string("unknown option '") + argv[optind - 1] + "'");
        break;
    }
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, char** argv)
{
    ParsedCommandLine parsed;
    opterr = 0;
    optind = 0; // also resets getopt's state, so that it can parse again
    for (int code; (code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1;) {
        const std::string value = optarg ? optarg : "";
        if (!readSettingOption(code, value, parsed))
            readRunOption(code, value, parsed, argv);
    }
    for (int i = optind; i < argc; ++i)
        parsed.options.inputs.emplace_back(argv[i]);
    const ConvertOptions& options = parsed.options;
    if (options.inputs.empty() && !options.showHelp && !options.showVersion)
        noteMistake(parsed, "no input file given");
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
