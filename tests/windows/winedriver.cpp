#include "winedriver.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace winedriver {

namespace {

QString wineRun() { return QStringLiteral(TUVEL_SOURCE_DIR "/scripts/wine-run.sh"); }

}  // namespace

QString windowsPath(const QString &unixPath)
{
    QString path = QDir::cleanPath(QDir(unixPath).absolutePath());
    return QStringLiteral("Z:") + path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

bool windowsBuildMade()
{
    return QFileInfo::exists(QStringLiteral(TUVEL_WINDOWS_BUILD "/tuvelv-win64.zip")) &&
           QFileInfo::exists(QStringLiteral(TUVEL_WINDOWS_BUILD "/cmake/tests/bin/winprobe.exe"));
}

QString unzipPackage(const QString &dir, QString *why)
{
    const QString zip = QStringLiteral(TUVEL_WINDOWS_BUILD "/tuvelv-win64.zip");
    QProcess unzip;
    unzip.setProcessChannelMode(QProcess::MergedChannels);
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-q"), zip, QStringLiteral("-d"), dir});
    if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0) {
        *why =
            QStringLiteral("unzip %1 failed: %2 %3").arg(zip, unzip.errorString(), QString::fromUtf8(unzip.readAll()));
        return {};
    }
    return dir + QStringLiteral("/tuvelv-win64");
}

void startBare(QProcess &process, const QString &exe, const QStringList &arguments, const QString &workDir)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TUVEL_WINE_BARE"), QStringLiteral("1"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(wineRun(), QStringList{exe} + arguments);
}

ProbeResult probe(const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(wineRun(),
                  QStringList{QStringLiteral(TUVEL_WINDOWS_BUILD "/cmake/tests/bin/winprobe.exe")} + arguments);
    ProbeResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        result.output = QStringLiteral("winprobe timed out");
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    while (result.output.endsWith(QLatin1Char('\n')) || result.output.endsWith(QLatin1Char('\r')))
        result.output.chop(1);
    return result;
}

void stop(QProcess &process, const QString &window)
{
    if (process.state() == QProcess::NotRunning)
        return;
    probe({QStringLiteral("close"), window}, 20000);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

}  // namespace winedriver
