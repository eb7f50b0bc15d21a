#include "settings/ParametersFile.h"

#include "common/LeadingInteger.h"
#include "common/OutputNames.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "platform/ProcessExit.h"

#include <array>
#include <cstdlib>
#include <cstdio>
#include <unistd.h>

namespace orvalin {
namespace {

constexpr int kLineCount = 13;
constexpr int kLineCountWithWebPlayer = 14;

std::string flag(bool value)
{
    return value ? "y" : "n";
}

} // namespace

std::string formatParameters(const ConversionSettings& settings)
{
    char tip[16];
    std::snprintf(tip, sizeof tip, "%02d", settings.tipNumber);

    const std::array<std::string, kLineCount> lines = {
        flag(settings.outputToDesktop),
        settings.outputFolder,
        std::to_string(static_cast<int>(settings.outputMode)),
        settings.controllerName,
        settings.instructionLetter,
        tip,
        flag(settings.showTipsAtStartup),
        settings.backgroundColour,
        settings.textColour,
        std::to_string(settings.nextOutputNumber),
        std::to_string(settings.bitrate),
        std::to_string(settings.sampleRate),
        std::to_string(settings.channels),
    };
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    if (settings.webPlayer)
        text += "y\r\n";
    return text;
}

ConversionSettings parseParameters(std::string_view text)
{
    std::array<std::string, kLineCountWithWebPlayer> lines;
    for (auto& line : lines) {
        if (text.empty())
            break;
        const auto end = text.find('\n');
        line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
    }

    ConversionSettings settings;
    settings.outputToDesktop = lines[0] == "y";
    settings.outputFolder = lines[1];
    settings.outputMode = static_cast<OutputMode>(parseLeadingInteger(lines[2]));
    settings.controllerName = lines[3];
    settings.instructionLetter = lines[4];
    settings.tipNumber = parseLeadingInteger(lines[5]);
    settings.showTipsAtStartup = lines[6] == "y";
    settings.backgroundColour = lines[7];
    settings.textColour = lines[8];
    settings.nextOutputNumber = outputNumberFromText(lines[9]);
    settings.bitrate = parseLeadingInteger(lines[10]);
    settings.sampleRate = parseLeadingInteger(lines[11]);
    settings.channels = parseLeadingInteger(lines[12]);
    settings.webPlayer = lines[13] == "y";
    return settings;
}

ParametersFile::ParametersFile(ConversionSettings& settings, std::string path,
                               MessageBoxes& messages, ProcessExit& processExit)
    : settings_(settings), path_(std::move(path)), messages_(messages), processExit_(processExit)
{
}

void ParametersFile::loadParameters()
{
    auto file = InputFile::open(path_);
    if (!file)
        fail("Error: Missing parameters file.");
    std::string text(file->size(), '\0');
    text.resize(file->read(text.data(), text.size()));
    if (file->readFailed())
        fail("Error: Missing parameters file.");
    settings_ = parseParameters(text);
}

void ParametersFile::saveParameters()
{
    // A file the user made read-only stays unwritten, even where the folder
    // would let us replace it.
    if (fileIsReadable(path_) && access(path_.c_str(), W_OK) != 0)
        fail("Error: Cannot write to parameters file.");

    // Written beside the file and renamed over it, so that a failure midway
    // never leaves a truncated parameters file.
    const std::string temporary = path_ + ".new";
    auto file = OutputFile::create(temporary);
    if (!file)
        fail("Error: Cannot write to parameters file.");
    const std::string text = formatParameters(settings_);
    file->write(text.data(), text.size());
    if (!file->close() || std::rename(temporary.c_str(), path_.c_str()) != 0) {
        removeFile(temporary);
        fail("Error: Cannot write to parameters file.");
    }
}

void ParametersFile::advanceOutputNumber()
{
    settings_.nextOutputNumber = nextOutputNumberAfter(settings_.nextOutputNumber);
    saveParameters();
}

void ParametersFile::fail(std::string_view message)
{
    messages_.show(message, MessageIcon::Error, MessageButtons::Ok);
    processExit_.exitProcess(1);
    std::abort(); // not reached: exitProcess never returns
}

} // namespace orvalin
