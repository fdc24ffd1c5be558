#pragma once
// FIFOs for the tests that check that a reader never blocks on one. Windows has none,
// so there those tests are skipped.
#include <QFile>
#include <QString>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace testfifo {

inline bool make(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
    Q_UNUSED(path);
    return false;
#endif
}

}  // namespace testfifo

// Makes a FIFO at path, or skips the test where the system has no FIFOs.
#ifdef Q_OS_UNIX
#define MAKE_FIFO_OR_SKIP(path) QVERIFY(testfifo::make(path))
#else
#define MAKE_FIFO_OR_SKIP(path) QSKIP("no FIFOs on this system")
#endif
