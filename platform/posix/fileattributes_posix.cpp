#include "../fileattributes.h"
#include "pathbytes.h"

#include <sys/stat.h>

namespace platform {

// stat() never opens the path, so a FIFO or a device cannot block here.
FileAttributes FileExists(const QString &path)
{
    FileAttributes result;
    if (path.isEmpty())
        return result;
    const QByteArray native = common::pathToBytes(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return result;
    result.exists = true;
    quint32 bits = 0;
    if (S_ISDIR(st.st_mode))
        bits |= AttrDirectory;
    else
        bits |= AttrArchive;
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        bits |= AttrReadOnly;
    // A dot name is the hidden file of this platform; devices, FIFOs and sockets
    // are not ordinary files, so they count as system files.
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView name = QStringView(path).mid(slash + 1);
    if (name.startsWith(QLatin1Char('.')) && name != u"." && name != u"..")
        bits |= AttrHidden;
    if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
        bits |= AttrSystem;
    result.attributes = bits;
    return result;
}

}  // namespace platform
