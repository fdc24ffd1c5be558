#include "../files.h"
#include "pathbytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace platform {

// readdir() hands out the bytes of each name; Qt's own listing leaves out names
// that are not valid UTF-8.
QStringList folderFileNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(common::pathToBytes(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names.append(common::pathFromBytes(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

bool openOrdinaryFile(QFile &file, const QString &path, OpenedFile *opened)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = common::pathToBytes(path);
    // stat() first, so that a device is never opened (opening some has effects);
    // O_NONBLOCK, so that a FIFO put in its place meanwhile does not block the open,
    // and fstat() on what was opened, so that it is not read either.
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (opened) {
        opened->size = st.st_size;
        opened->modified = QDateTime::fromMSecsSinceEpoch(
            qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC);
    }
    return true;
}

}  // namespace platform
