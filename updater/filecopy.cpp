#include "filecopy.h"

#include "fileerrortext.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <cerrno>

QString copyFileOver(const QString &fromPath, const QString &toPath)
{
    // errno is read right after the step that failed: it names the cause.
    errno = 0;
    QFile from(fromPath);
    if (!from.open(QIODevice::ReadOnly))
        return fileErrorText(from, errno);
    QSaveFile to(toPath);
    if (!to.open(QIODevice::WriteOnly))
        return fileErrorText(to, errno);
    QByteArray chunk;
    while (!(chunk = from.read(1 << 20)).isEmpty()) {
        if (to.write(chunk) != chunk.size())
            return fileErrorText(to, errno);
    }
    if (from.error() != QFileDevice::NoError)
        return fileErrorText(from, errno);
    // A copy keeps the original's date and access rights: a restored file must not
    // look newer than the server's. The data goes out first, or writing it would
    // stamp the file anew.
    if (!to.flush())
        return fileErrorText(to, errno);
    // The user flags tell what this process may do; set, they would grant the owner.
    const QFileDevice::Permissions userFlags = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    to.setPermissions(from.permissions() & ~userFlags);
    to.setFileTime(from.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    errno = 0;
    if (!to.commit())
        return fileErrorText(to, errno);
    return {};
}
