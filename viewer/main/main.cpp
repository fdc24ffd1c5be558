#include "fmain.h"
#include "qtjapanese.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::prepareWindowSystem();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    const common::AppInfo app = common::AppInfo::current(QStringLiteral("tuvelv"));
    const common::JapaneseQtTexts japanese(app.programFolder);
    auto services = platform::createNativeServices();
    FMain window(services->services(), app);
    window.show();
    return application.exec();
}
