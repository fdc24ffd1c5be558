#include "ccommandline.h"
#include "fmain.h"
#include "processarguments.h"
#include "qtjapanese.h"
#include "services.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kox"));
    const common::JapaneseQtTexts japanese(QApplication::applicationDirPath());
    const auto services = platform::createNativeServices();
    kox::FMain window(services->services());
    CCommandLine commandLine;
    commandLine.SetItems(platform::processArgumentItems(QApplication::arguments()));
    if (!window.Form_Load(commandLine))
        return 0;
    return application.exec();
}
