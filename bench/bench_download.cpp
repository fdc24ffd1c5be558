// Download throughput of the updater's HTTP code against curl, and its peak memory
// for a small and a large file, all from one nginx on loopback started here.
//   bench_download            runs everything and prints the figures
//   bench_download --child URL TARGET   one download; prints "seconds peak_kib"
#include "localnginx.h"
#include "httptransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

qint64 peakRssKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

int child(const QString &url, const QString &target)
{
    HttpTransfer transfer;
    bool ok = false;
    QObject::connect(&transfer, &HttpTransfer::downloadFinished, [&](const HttpTransfer::Response &response, qint64) {
        ok = response.ok;
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(response.error));
        QCoreApplication::quit();
    });
    // One small request first: the one-time set-up of the HTTP stack is not part of
    // the transfer, as curl's program start is not part of its time.
    bool warm = false;
    QObject::connect(&transfer, &HttpTransfer::headFinished, [&] {
        warm = true;
        QCoreApplication::quit();
    });
    if (transfer.head(url).isEmpty())
        QCoreApplication::exec();
    if (!warm)
        return 1;
    QElapsedTimer clock;
    qint64 lastByteNs = 0;
    QObject::connect(&transfer, &HttpTransfer::downloadProgress, [&](qint64 received, qint64 total) {
        if (received == total)
            lastByteNs = clock.nsecsElapsed();
    });
    clock.start();
    const QString refused = transfer.download(url, target);
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(refused));
        return 1;
    }
    QCoreApplication::exec();
    std::printf("%.6f %.6f %lld\n", lastByteNs / 1e9, clock.nsecsElapsed() / 1e9, peakRssKib());
    return ok ? 0 : 1;
}

bool makeFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
    for (qint64 left = bytes; left > 0; left -= block.size())
        file.write(block.constData(), qMin<qint64>(left, block.size()));
    return true;
}

struct Timing {
    double transfer = 1e9;  // until the last byte is in the file (page cache)
    double durable = 1e9;   // until the file is on disk under its name
};

// Times and peak memory of one download by a child process.
bool koxRun(const QString &url, const QString &target, Timing *timing, qint64 *peakKib)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), url, target});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return false;
    const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
    timing->transfer = words.value(0).toDouble();
    timing->durable = words.value(1).toDouble();
    *peakKib = words.value(2).toLongLong();
    return QFile(target).size() > 0;
}

// curl's own total, then the same flush to disk that the updater's replace makes.
bool curlRun(const QString &url, const QString &target, Timing *timing)
{
    QProcess process;
    process.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), target, QStringLiteral("-w"),
                                           QStringLiteral("%{time_total}"), url});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return false;
    timing->transfer = process.readAllStandardOutput().trimmed().toDouble();
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QElapsedTimer clock;
    clock.start();
    ::fdatasync(file.handle());
    timing->durable = timing->transfer + clock.nsecsElapsed() / 1e9;
    return true;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QStringLiteral("--child"))
        return child(arguments.value(2), arguments.value(3));

    QTemporaryDir www;
    QTemporaryDir out;
    constexpr qint64 MiB = 1 << 20;
    if (!makeFile(www.filePath(QStringLiteral("10m.bin")), 10 * MiB) ||
        !makeFile(www.filePath(QStringLiteral("100m.bin")), 100 * MiB)) {
        std::fprintf(stderr, "cannot write the test files\n");
        return 1;
    }
    LocalNginx nginx;
    QString why;
    if (!nginx.start(www.path(), &why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const QString big = nginx.url(QStringLiteral("100m.bin"));
    const QString target = out.filePath(QStringLiteral("data.bin"));
    constexpr int Rounds = 5;
    Timing bestKox;
    Timing bestCurl;
    qint64 peakBig = 0;
    for (int round = 0; round < Rounds; ++round) {
        Timing timing;
        qint64 peak = 0;
        if (!koxRun(big, target, &timing, &peak) || QFile(target).size() != 100 * MiB) {
            std::fprintf(stderr, "kox download failed\n");
            return 1;
        }
        bestKox.transfer = qMin(bestKox.transfer, timing.transfer);
        bestKox.durable = qMin(bestKox.durable, timing.durable);
        peakBig = qMax(peakBig, peak);
        if (!curlRun(big, out.filePath(QStringLiteral("curl.bin")), &timing)) {
            std::fprintf(stderr, "curl failed\n");
            return 1;
        }
        bestCurl.transfer = qMin(bestCurl.transfer, timing.transfer);
        bestCurl.durable = qMin(bestCurl.durable, timing.durable);
    }
    Timing small;
    qint64 peakSmall = 0;
    if (!koxRun(nginx.url(QStringLiteral("10m.bin")), target, &small, &peakSmall)) {
        std::fprintf(stderr, "kox download of 10 MB failed\n");
        return 1;
    }

    const double ratio = bestCurl.transfer / bestKox.transfer;
    const double durableRatio = bestCurl.durable / bestKox.durable;
    const qint64 growthKib = peakBig - peakSmall;
    const bool fastEnough = ratio >= 0.8;
    // Ten times the data may cost a few buffers more, never a share of the file.
    const bool flat = growthKib < 8 * 1024;
    std::printf("download of 100 MB from loopback nginx, best of %d:\n", Rounds);
    std::printf("  transfer (last byte in the file)\n");
    std::printf("    kox  %8.1f MB/s\n    curl %8.1f MB/s\n    ratio %.2f (floor 0.80) %s\n", 100 / bestKox.transfer,
                100 / bestCurl.transfer, ratio, fastEnough ? "ok" : "TOO SLOW");
    std::printf("  durable (kox: flush and rename over the data file; curl: then fdatasync)\n");
    std::printf("    kox  %8.1f MB/s\n    curl %8.1f MB/s\n    ratio %.2f\n", 100 / bestKox.durable,
                100 / bestCurl.durable, durableRatio);
    std::printf("peak memory of the download process:\n");
    std::printf("  10 MB file  %lld KiB\n  100 MB file %lld KiB\n  growth %lld KiB (limit 8192) %s\n", peakSmall,
                peakBig, growthKib, flat ? "ok" : "GROWS WITH FILE SIZE");
    return fastEnough && flat ? 0 : 1;
}
