// A data file whose last line is 256 MiB long and has no line end: the key
// reader's block reads (readLineBytes) and the capped ReadLine, each against a plain
// read of the whole file into one buffer. All run in the same process on the same
// file; the goal is a ratio of 2 or less. The size can be given in MiB (argument 1).
#include "catalogue/datafile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qsizetype KeyBlock = 1024 * 1024;  // as the key loader asks for
constexpr int Rounds = 3;

bool makeFile(const QString &path, qint64 lineBytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("name\r\ndescription\r\nhttp://127.0.0.1/a.txt\r\n");
    const QByteArray piece(1024 * 1024, 'k');
    for (qint64 left = lineBytes; left > 0; left -= piece.size())
        f.write(piece.constData(), std::min<qint64>(left, piece.size()));
    return f.error() == QFile::NoError;
}

// The floor: the whole file read into one buffer of its size, as a reader that
// has to hand back the whole line must at least do, and searched once for CR.
qint64 plainRead(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    const QByteArray bytes = f.readAll();
    qint64 lineEnds = 0;
    for (qsizetype cr = bytes.indexOf('\r'); cr >= 0; cr = bytes.indexOf('\r', cr + 1))
        ++lineEnds;
    return lineEnds == 3 ? bytes.size() : -1;  // the three header lines
}

qint64 blockReads(const QString &path)
{
    DataFileReader reader(path);
    for (int header = 0; header < 3; ++header)
        reader.ReadLine();
    qint64 total = 0;
    for (;;) {
        const QByteArray bytes = reader.readLineBytes(KeyBlock);
        if (bytes.isEmpty())
            break;
        total += bytes.size();
    }
    return total;
}

qint64 lineReads(const QString &path)
{
    DataFileReader reader(path);
    qint64 lines = 0;
    while (!reader.atEnd()) {
        reader.ReadLine();
        ++lines;
    }
    return lines;
}

template <typename F>
double bestOf(F &&run, qint64 &result)
{
    double best = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        result = run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const qint64 mib = argc > 1 ? QByteArray(argv[1]).toLongLong() : 256;
    const qint64 lineBytes = mib << 20;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("longline.txt"));
    if (!makeFile(path, lineBytes)) {
        std::printf("cannot write %s\n", qPrintable(path));
        return 1;
    }
    const qint64 fileBytes = QFile(path).size();
    qint64 plain = 0, blocks = 0, lines = 0;
    plainRead(path);  // warm the cache for all
    const double plainMs = bestOf([&] { return plainRead(path); }, plain);
    const double blocksMs = bestOf([&] { return blockReads(path); }, blocks);
    const double linesMs = bestOf([&] { return lineReads(path); }, lines);
    if (plain != fileBytes || blocks != fileBytes - 43 || lines != 4) {
        std::printf("wrong results: plain %lld, blocks %lld, lines %lld\n", qlonglong(plain), qlonglong(blocks),
                    qlonglong(lines));
        return 1;
    }
    const double blockRatio = blocksMs / plainMs;
    const double lineRatio = linesMs / plainMs;
    std::printf("unterminated line of %lld MiB: plain read %.1f ms, readLineBytes %.1f ms (ratio %.2f), "
                "ReadLine %.1f ms (ratio %.2f) (goal <= 2.00)\n",
                qlonglong(mib), plainMs, blocksMs, blockRatio, linesMs, lineRatio);
    return std::max(blockRatio, lineRatio) <= 2.0 ? 0 : 2;
}
