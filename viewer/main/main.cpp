#include "fmain.h"
#include "qtjapanese.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The window places itself in the corner, stays on top and draws its own frame,
    // which a native Wayland window may not do: on a Wayland desktop it is an X11
    // window on XWayland, and only the typing goes through the compositor.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    const common::AppInfo app = common::AppInfo::current(QStringLiteral("tuvelv"));
    const common::JapaneseQtTexts japanese(app.programFolder);
    auto services = platform::createNativeServices();
    FMain window(services->services(), app);
    window.show();
    return application.exec();
}
