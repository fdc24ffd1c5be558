#pragma once
// Listing a folder and opening a file for reading by names that reach every file,
// even one whose name is not valid text (see pathbytes.h).
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace platform {

// The names of the entries of a folder (folders among them: the caller sorts them
// out with FileExists), in the order the file system lists them, never "." or "..".
// Empty when the folder cannot be listed.
QStringList folderFileNames(const QString &folder);

// What the open learnt about the file it opened, so that the caller need not ask the
// file system again.
struct OpenedFile {
    qint64 size = 0;
    QDateTime modified;  // UTC
};

// Opens path for unbuffered reading when it is an ordinary file; a FIFO, a device, a
// folder or a missing path is not opened (nothing blocks). The file is then read
// through `file`, whatever its name's bytes. Fills `opened` when given.
bool openOrdinaryFile(QFile &file, const QString &path, OpenedFile *opened = nullptr);

}  // namespace platform
