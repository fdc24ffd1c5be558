#include "fmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    auto services = platform::createNativeServices();
    FMain window(services->services(), platform::AppInfo::current(QStringLiteral("tuvelv")));
    window.show();
    return application.exec();
}
