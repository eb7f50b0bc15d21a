// Serves a folder with the desktop program's own page server and prints the
// folder's address, ending in a slash; runs until killed.
// Usage: orvalin-page-server FOLDER
#include "ui/LocalPageServer.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: orvalin-page-server FOLDER\n";
        return 2;
    }
    orvalin::LocalPageServer server;
    const QString address = server.addressOf(QString::fromLocal8Bit(argv[1]), {});
    if (address.isEmpty())
        return 1;
    std::cout << address.toStdString() << std::endl;
    return application.exec();
}
