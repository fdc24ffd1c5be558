// Listing and opening on Windows: names are UTF-16 there, so Qt's own calls reach
// every file.
#include "../files.h"

#include <QDirIterator>
#include <QFileInfo>

namespace platform {

QStringList folderFileNames(const QString &folder)
{
    QStringList names;
    QDirIterator entries(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (entries.hasNext())
        names.append(entries.nextFileInfo().fileName());
    return names;
}

bool openOrdinaryFile(QFile &file, const QString &path, OpenedFile *opened)
{
    if (!QFileInfo(path).isFile())
        return false;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    // The path could have been replaced by something else since the check above.
    if (file.isSequential()) {
        file.close();
        return false;
    }
    if (opened) {
        opened->size = file.size();
        opened->modified = file.fileTime(QFileDevice::FileModificationTime).toUTC();
    }
    return true;
}

}  // namespace platform
