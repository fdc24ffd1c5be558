#include "fmain.h"
#include "platform/qtjapanese.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    const platform::AppInfo app = platform::AppInfo::current(QStringLiteral("tuvelv"));
    const platform::JapaneseQtTexts japanese(app.programFolder);
    auto services = platform::createNativeServices();
    FMain window(services->services(), app);
    window.show();
    return application.exec();
}
