#include "appinfo.h"

#include <QCoreApplication>
#include <QDir>

namespace common {

AppInfo AppInfo::current(const QString &title)
{
    AppInfo app;
    app.programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    app.title = title;
    app.major = TUVEL_VERSION_MAJOR;
    app.minor = TUVEL_VERSION_MINOR;
    app.revision = TUVEL_VERSION_PATCH;
    return app;
}

QString VersionText(const AppInfo &app)
{
    return app.title + QStringLiteral(" ver") + QString::number(app.major) + QLatin1Char('.') +
           QString::number(app.minor) + QStringLiteral(".(") + QString::number(app.revision) + QLatin1Char(')');
}

}  // namespace common
