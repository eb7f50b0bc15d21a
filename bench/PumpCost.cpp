// Measures what the desktop program's message pumping costs a conversion:
// the Working dialog runs one conversion with the real stages, and the time
// of every pump call is added up.
// Usage: orvalin-pump-cost PROGRAM_FOLDER SETTINGS_FILE INPUT
// The outputs go beside the settings file, which the run updates.

#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/DefaultStageRunner.h"
#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "platform/ProcessExit.h"
#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "ui/LocalPageServer.h"
#include "ui/QtMessagePump.h"
#include "ui/QtSystemDialogs.h"
#include "ui/WorkingDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <iostream>

using namespace orvalin;
using Clock = std::chrono::steady_clock;

namespace {

class TimedPump final : public MessagePump {
public:
    void pumpMessages() override
    {
        const auto start = Clock::now();
        pump_.pumpMessages();
        spent += Clock::now() - start;
        ++calls;
    }

    Clock::duration spent{};
    long calls = 0;

private:
    QtMessagePump pump_;
};

// Every question is answered Yes; anything else is printed.
class ConsoleMessages final : public MessageBoxes {
public:
    MessageAnswer show(std::string_view text, MessageIcon, MessageButtons buttons) override
    {
        if (buttons == MessageButtons::YesNo)
            return MessageAnswer::Yes;
        std::cerr << text << '\n';
        return MessageAnswer::Ok;
    }
};

class NoOpener final : public DocumentOpener {
public:
    bool openDocument(const std::string&) override { return true; }
    bool openAddress(const std::string&) override { return true; }
};

bool buttonShown(const WorkingDialog& dialog, const QString& text)
{
    for (const auto* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text && button->isVisible())
            return true;
    return false;
}

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 4) {
        std::cerr << "usage: orvalin-pump-cost PROGRAM_FOLDER SETTINGS_FILE INPUT\n";
        return 2;
    }
    const std::string settingsPath = argv[2];
    const std::string input = argv[3];

    ConsoleMessages messages;
    SystemProcessExit processExit;
    ConversionSettings settings;
    ParametersFile parameters(settings, settingsPath, messages, processExit);
    parameters.loadParameters();
    settings.outputToDesktop = false;
    settings.outputFolder = settingsPath.substr(0, settingsPath.find_last_of('/') + 1);
    settings.outputMode = OutputMode::BareOnce;

    ProgramContext context;
    context.programFolder = argv[1];
    ConversionInput conversionInput{input, input.size() > 4 && input.substr(input.size() - 4) == ".wav", "Benchmark"};

    JobStatus status;
    TimedPump pump;
    NoOpener opener;
    LocalPageServer pageServer;
    DefaultStageRunner stages(status, pump, context.programFolder);
    QtSystemDialogs systemDialogs;
    const DesktopServices services{settings, context,    conversionInput, status, parameters, messages, messages,
                                   pump,     opener,     pageServer,      systemDialogs,  stages};
    WorkingDialog dialog(services);

    const auto start = Clock::now();
    Clock::time_point end;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (buttonShown(dialog, QStringLiteral("&OK"))) {
            end = Clock::now();
            application.quit();
        }
    });
    poll.start(10);
    dialog.show();
    application.exec();

    if (!buttonShown(dialog, QStringLiteral("&Launch Output"))) {
        std::cerr << "the conversion did not succeed\n";
        return 1;
    }
    const double total = milliseconds(end - start);
    const double pumping = milliseconds(pump.spent);
    std::printf("%ld %.1f %.1f %.3f\n", pump.calls, pumping, total, 100.0 * pumping / total);
    return 0;
}
