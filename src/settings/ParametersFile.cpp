#include "settings/ParametersFile.h"

#include "common/LeadingInteger.h"
#include "common/OutputNames.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/ProcessExit.h"

#include <array>
#include <cstdlib>
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
    settings.nextOutputNumber = storedOutputNumber(lines[9]);
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
    // Saves replace the file in one step, so it is read whole without the lock.
    const auto stored = readStored();
    if (!stored && !folderExists(folderOf(path_)))
        fail("Error: Missing parameters file. Cannot find or create the folder \"" + folderOf(path_) + "\".");
    if (!stored)
        fail("Error: Missing parameters file.");
    settings_ = *stored;
    numberOnFile_ = settings_.nextOutputNumber;
}

void ParametersFile::saveParameters()
{
    const FileLock held = lock();
    if (settings_.nextOutputNumber == numberOnFile_) {
        if (const auto stored = readStored())
            settings_.nextOutputNumber = stored->nextOutputNumber;
    }
    write(settings_);
}

int ParametersFile::reserveOutputNumber()
{
    const FileLock held = lock();
    ConversionSettings stored = readStored().value_or(settings_);
    const int reserved = stored.nextOutputNumber;
    stored.nextOutputNumber = nextOutputNumberAfter(reserved);
    write(stored);
    settings_.nextOutputNumber = stored.nextOutputNumber;
    return reserved;
}

FileLock ParametersFile::lock()
{
    // Beside the file itself, so that every path to it takes the same lock.
    const std::string lockPath = followLinks(path_) + ".lock";
    auto held = FileLock::acquire(lockPath);
    if (!held && isSpecialFile(lockPath))
        fail("Error: Cannot write to parameters file. Its lock \"" + lockPath + "\" is not a file.");
    if (!held)
        fail("Error: Cannot write to parameters file.");
    return std::move(*held);
}

std::optional<ConversionSettings> ParametersFile::readStored()
{
    auto file = InputFile::open(path_);
    if (!file)
        return std::nullopt;
    std::string text(file->size(), '\0');
    text.resize(file->read(text.data(), text.size()));
    if (file->readFailed())
        fail("Error: Missing parameters file.");
    return parseParameters(text);
}

void ParametersFile::write(const ConversionSettings& settings)
{
    const std::string target = followLinks(path_);
    // A file the user made read-only stays unwritten, even where the folder
    // would let us replace it.
    if (fileIsReadable(target) && access(target.c_str(), W_OK) != 0)
        fail("Error: Cannot write to parameters file.");

    // Written beside the file under a name of this process's own and renamed
    // over it, so that a failure midway never leaves a truncated parameters
    // file, and a link to the file stays a link. The file keeps its
    // permissions.
    const std::string temporary = target + "." + std::to_string(getpid()) + ".new";
    auto file = OutputFile::create(temporary);
    if (!file)
        fail("Error: Cannot write to parameters file.");
    const std::string text = formatParameters(settings);
    file->write(text.data(), text.size());
    const auto permissions = permissionsOf(target);
    if ((permissions && !file->setPermissions(*permissions)) || !file->close() || !replaceFile(temporary, target)) {
        removeFile(temporary);
        fail("Error: Cannot write to parameters file.");
    }
    numberOnFile_ = settings.nextOutputNumber;
}

void ParametersFile::fail(std::string_view message)
{
    messages_.show(message, MessageIcon::Error, MessageButtons::Ok);
    processExit_.exitProcess(1);
    std::abort(); // not reached: exitProcess never returns
}

} // namespace orvalin
