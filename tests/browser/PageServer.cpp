// Serves a folder with the desktop program's own page server and prints its
// port; runs until killed. Usage: orvalin-page-server FOLDER
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
    if (server.addressOf(QString::fromLocal8Bit(argv[1]), {}).isEmpty())
        return 1;
    std::cout << server.port() << std::endl;
    return application.exec();
}
