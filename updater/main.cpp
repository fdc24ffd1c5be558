#include "ccommandline.h"
#include "fmain.h"
#include "platform/commandline.h"
#include "platform/qtjapanese.h"
#include "platform/services.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kox"));
    const platform::JapaneseQtTexts japanese(QApplication::applicationDirPath());
    const auto services = platform::createNativeServices();
    FMain window(services->services());
    CCommandLine commandLine;
    commandLine.SetItems(platform::processArgumentItems(QApplication::arguments()));
    if (!window.Form_Load(commandLine))
        return 0;
    return application.exec();
}
