#include "../files.h"
#include "pathbytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

struct OrdinaryFile::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { ::close(fd); }
    const int fd;
};

OrdinaryFile::OrdinaryFile() = default;
OrdinaryFile::~OrdinaryFile() = default;

bool OrdinaryFile::open(const QString &path)
{
    m_handle.reset();
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
    auto handle = std::make_unique<Handle>(fd);  // closes it on every way out
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    m_size = st.st_size;
    m_modified =
        QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC);
    m_handle = std::move(handle);
    return true;
}

qint64 OrdinaryFile::read(char *data, qint64 maxBytes)
{
    if (!m_handle)
        return -1;
    ssize_t got;
    do {
        got = ::read(m_handle->fd, data, size_t(maxBytes));
    } while (got < 0 && errno == EINTR);
    return got;
}

}  // namespace platform
