#include "filecopy.h"

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
    if (!to.commit())
        return to.errorString();
    return {};
}
