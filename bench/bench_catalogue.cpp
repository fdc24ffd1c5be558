// Catalogue of 10,000 data files: loadCatalogueRecords against a plain loop that
// lists the folder, opens each file, reads three lines and stats it. Both run in
// the same process on the same files; the goal is a ratio of 1.3 or less.
#include "catalogue/catalogue.h"
#include "databox.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int FileCount = 10000;
constexpr int Rounds = 7;

// The floor: the least a catalogue has to do for each file. It reads one block
// and cuts three lines from it, so it is wrong for long headers, and it stats the
// file by path.
qsizetype plainLoop(const QString &box)
{
    qsizetype found = 0;
    QDirIterator names(box, QDir::Files);
    char block[4096];
    while (names.hasNext()) {
        const QString path = names.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            continue;
        const qint64 got = f.read(block, sizeof block);
        const QByteArrayView bytes(block, qMax<qint64>(got, 0));
        QString lines[3];
        qsizetype start = 0;
        for (QString &line : lines) {
            qsizetype end = bytes.indexOf('\r', start);
            if (end < 0)
                end = bytes.size();
            line = common::cp932::decode(bytes.sliced(start, end - start));
            start = qMin(end + 2, bytes.size());
        }
        const QDateTime modified = QFileInfo(path).lastModified();
        found += !lines[0].isEmpty() && !lines[1].isEmpty() && !lines[2].isEmpty() && modified.isValid();
    }
    return found;
}

qsizetype catalogue(const QString &programFolder) { return loadCatalogueRecords(programFolder).size(); }

// Best of several rounds, the two taking turns so that both see the same load.
template <typename F>
void timeOnce(F &&run, double &best, qsizetype &result)
{
    QElapsedTimer timer;
    timer.start();
    result = run();
    best = std::min(best, timer.nsecsElapsed() / 1e6);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir program;
    const QString folder = QDir::toNativeSeparators(program.path());
    const QString box = dataBoxFolder(folder);
    if (!makeDataBox(box, FileCount)) {
        std::fprintf(stderr, "cannot write the data box in %s\n", qPrintable(box));
        return 1;
    }

    qsizetype plainFound = 0, catalogueFound = 0;
    plainLoop(box);  // warm the cache for both
    double plainMs = 1e300, catalogueMs = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        timeOnce([&] { return plainLoop(box); }, plainMs, plainFound);
        timeOnce([&] { return catalogue(folder); }, catalogueMs, catalogueFound);
    }
    if (plainFound != FileCount || catalogueFound != FileCount) {
        std::printf("wrong counts: plain %lld, catalogue %lld\n", qlonglong(plainFound), qlonglong(catalogueFound));
        return 1;
    }
    const double ratio = catalogueMs / plainMs;
    std::printf("catalogue of %d files: loadCatalogueRecords %.1f ms, plain loop %.1f ms, ratio %.2f (goal <= 1.30)\n",
                FileCount, catalogueMs, plainMs, ratio);
    return ratio <= 1.3 ? 0 : 2;
}
