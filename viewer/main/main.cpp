#include "catalogue/datafolder.h"
#include "fmain.h"
#include "qtjapanese.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    platform::prepareWindowSystem();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    const common::AppInfo app = common::AppInfo::current(QStringLiteral("tuvelv"));
    const common::JapaneseQtTexts japanese(app.programFolder);
    // Beside the program in a portable folder; the user's own folder when installed.
    const DataFolder data = locateDataFolder(app.programFolder);
    if (!prepareDataFolder(data))
        QMessageBox::warning(nullptr, app.title,
                             QStringLiteral("データフォルダーを作成できませんでした：") +
                                 QDir::toNativeSeparators(data.folder));
    auto services = platform::createNativeServices();
    FMain window(services->services(), app, data);
    window.show();
    return application.exec();
}
