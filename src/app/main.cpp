#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/DefaultStageRunner.h"
#include "platform/Folders.h"
#include "platform/ProcessExit.h"
#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "settings/ParametersLocation.h"
#include "ui/MainDialog.h"
#include "ui/LocalPageServer.h"
#include "ui/QtDocumentOpener.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtMessagePump.h"
#include "ui/QtSystemDialogs.h"

#include <QApplication>
#include <QIcon>

using namespace orvalin;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

    ConversionSettings settings;
    ProgramContext context;
    ConversionInput input;
    JobStatus status;
    context.programFolder = executableFolder();
    context.desktopFolder = desktopFolder();
    context.userDataFolder = userDataFolder();
    context.userCacheFolder = userCacheFolder();

    const QIcon icon(QString::fromStdString(context.programFolder + "orvalin.svg"));
    if (!icon.pixmap(32).isNull())
        application.setWindowIcon(icon);

    // Most messages belong to the main window; a run's questions and file
    // errors stand on their own.
    QtMessageBoxes messages;
    QtMessageBoxes runMessages;
    SystemProcessExit processExit;
    ParametersFile parameters(settings, chooseParametersPath(context.programFolder, userConfigFolder()),
                              messages, processExit);
    parameters.loadParameters();

    QtMessagePump pump;
    QtDocumentOpener opener;
    LocalPageServer pageServer;
    QtSystemDialogs systemDialogs;
    DefaultStageRunner stages(status, pump, context.programFolder);
    const DesktopServices services{settings, context,    input,         status, parameters, messages, runMessages,
                                   pump,     opener,     pageServer,    systemDialogs, stages};
    MainDialog window(services);
    messages.setOwner(&window);
    window.show();
    return application.exec();
}
