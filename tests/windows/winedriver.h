#pragma once
// Runs the cross-built programs under Wine for the Linux-side tests, and drives their
// windows through winprobe.exe (the Windows-side probe).

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace winedriver {

// Z:\... as Wine's programs see a Unix path.
QString windowsPath(const QString &unixPath);

// The zip and winprobe.exe are there (scripts/build-windows.sh --tests has run).
bool windowsBuildMade();
#define SKIP_UNLESS_WINDOWS_BUILD_MADE()                                                    \
    do {                                                                                    \
        if (!winedriver::windowsBuildMade())                                                \
            QSKIP("SKIPPED: Windows build not made: run scripts/build-windows.sh --tests"); \
    } while (false)

// Unzips tuvelv-win64.zip into dir; returns the unzipped tuvelv-win64 folder, or an
// empty text with the reason in why.
QString unzipPackage(const QString &dir, QString *why);

// Starts a program of the unzipped folder with nothing but that folder to load DLLs and
// plugins from, in workDir.
void startBare(QProcess &process, const QString &exe, const QStringList &arguments, const QString &workDir);

struct ProbeResult {
    int exitCode = -1;
    QString output;  // stdout, UTF-8, trailing line break removed
};
// Runs winprobe.exe with the arguments and waits for it.
ProbeResult probe(const QStringList &arguments, int timeoutMs = 60000);

// Closes the program's windows by asking, then kills it if it will not go.
void stop(QProcess &process, const QString &window);

}  // namespace winedriver
