#include "filecopy.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

QString copyFileOver(const QString &fromPath, const QString &toPath)
{
    QFile from(fromPath);
    if (!from.open(QIODevice::ReadOnly))
        return from.errorString();
    QSaveFile to(toPath);
    if (!to.open(QIODevice::WriteOnly))
        return to.errorString();
    QByteArray chunk;
    while (!(chunk = from.read(1 << 20)).isEmpty()) {
        if (to.write(chunk) != chunk.size())
            return to.errorString();
    }
    if (from.error() != QFileDevice::NoError)
        return from.errorString();
    // A copy keeps the original's date and access rights: a restored file must not
    // look newer than the server's. The data goes out first, or writing it would
    // stamp the file anew.
    if (!to.flush())
        return to.errorString();
    to.setPermissions(from.permissions());
    to.setFileTime(from.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    if (!to.commit())
        return to.errorString();
    return {};
}
