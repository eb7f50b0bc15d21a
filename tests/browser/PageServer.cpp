// Serves the files of a folder, and of its ruffle/ folder, as they are at the
// start, with the desktop program's own page server, and prints the folder's
// address, ending in a slash; runs until killed.
// Usage: orvalin-page-server FOLDER
#include "ui/LocalPageServer.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: orvalin-page-server FOLDER\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path folder = argv[1];
    orvalin::ServedPage page{folder.string() + "/", "", {}};
    std::error_code noFolder;
    for (const char* subfolder : {"", "ruffle"})
        for (const auto& entry : fs::directory_iterator(folder / subfolder, noFolder))
            if (entry.is_regular_file())
                page.loads.push_back((fs::path(subfolder) / entry.path().filename()).string());
    orvalin::LocalPageServer server;
    const QString address = server.addressOf(page);
    if (address.isEmpty())
        return 1;
    std::cout << address.toStdString() << std::endl;
    return application.exec();
}
