#pragma once
#include <QString>

// The updater's command line: kox.exe, the data file's path in double quotes, and
// the update address appended bare. Nothing inside either is escaped.
QString updateCommandLine(const QString &storageLocation, const QString &updateAddress);
