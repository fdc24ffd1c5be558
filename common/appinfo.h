#pragma once
#include <QString>

namespace common {

// The application object: program folder, title and version numbers.
struct AppInfo {
    QString programFolder;  // folder holding the executable, no trailing separator
    QString title;
    int major = 0;
    int minor = 0;
    int revision = 0;

    // Filled from the running application and the build's project version.
    static AppInfo current(const QString &title);
};

// "title verM.m.(r)"
QString VersionText(const AppInfo &app);

}  // namespace common
