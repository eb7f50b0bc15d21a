#include "DesktopFixture.h"

#include <filesystem>

namespace orvalin::test {

DesktopFixture::DesktopFixture()
    : parameters(settings, folder.file("orvaln.da0"), messages, processExit),
      stages(status, pump)
{
    context.programFolder = folder.path();
    context.desktopFolder = folder.path() + "desktop/";
    std::filesystem::create_directories(outputFolder());
    std::filesystem::create_directories(context.desktopFolder);

    settings.outputToDesktop = false;
    settings.outputFolder = outputFolder();
    settings.outputMode = kControllerOutput;
    settings.controllerName = "demo04200150";
    settings.instructionLetter = "c";
    settings.tipNumber = 0;
    settings.showTipsAtStartup = false;
    settings.backgroundColour = "FFFFFF";
    settings.textColour = "000000";
    settings.nextOutputNumber = 7;
    settings.bitrate = 128;
    settings.sampleRate = 44100;
    settings.channels = 2;
    saveSettings();
}

DesktopServices DesktopFixture::services()
{
    return {settings, context, status, parameters, messages, pump, opener, systemDialogs, stages};
}

std::string DesktopFixture::makeInput(const std::string& name) const
{
    const std::string path = folder.file(name);
    writeText(path, std::string(300, 'x'));
    return path;
}

} // namespace orvalin::test
