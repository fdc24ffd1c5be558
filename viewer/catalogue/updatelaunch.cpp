#include "updatelaunch.h"

QString updateCommandLine(const QString &storageLocation, const QString &updateAddress)
{
    return QStringLiteral("kox.exe \"") + storageLocation + QStringLiteral("\" ") + updateAddress;
}
