#pragma once
// Files named by raw bytes, for the tests of names that are not valid UTF-8. Only POSIX
// file systems hold such names; elsewhere those tests are skipped.
#include <QByteArray>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace testbytename {

// Writes a new file at path (bytes); false where that cannot be done.
inline bool write(const QByteArray &path, const QByteArray &content)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    const bool whole = ::write(fd, content.constData(), content.size()) == ssize_t(content.size());
    return ::close(fd) == 0 && whole;
#else
    Q_UNUSED(path);
    Q_UNUSED(content);
    return false;
#endif
}

// QTemporaryDir cannot remove a name that is not valid UTF-8.
inline void remove(const QByteArray &path)
{
#ifdef Q_OS_UNIX
    ::unlink(path.constData());
#else
    Q_UNUSED(path);
#endif
}

}  // namespace testbytename

#ifdef Q_OS_UNIX
#define WRITE_BYTE_NAMED_OR_SKIP(path, content) QVERIFY(testbytename::write(path, content))
#else
#define WRITE_BYTE_NAMED_OR_SKIP(path, content) QSKIP("file names are UTF-16 on this system")
#endif
