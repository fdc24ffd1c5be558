// The data-file reader on hostile input: over-long and huge lines, and paths that are
// not ordinary files (FIFOs, devices, folders, missing files).
#include "catalogue/datafile.h"
#include "datafiletest.h"
#include "fifo.h"

#include <QTemporaryDir>
#include <QTest>

using datafiletest::readAll;
using datafiletest::writeFile;

namespace {

// Peak resident memory of this process in KiB, or -1 where it cannot be read.
qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

}  // namespace

class TestDataFileHostile : public QObject {
    Q_OBJECT
private slots:
    void longLineIsCapped_data();
    void longLineIsCapped();
    void hugeSparseLineKeepsMemoryBounded();
    void nonOrdinaryFilesReadAsEmpty_data();
    void nonOrdinaryFilesReadAsEmpty();
    void listRecordOfUnreadablePaths();
};

void TestDataFileHostile::longLineIsCapped_data()
{
    QTest::addColumn<int>("cap");
    QTest::addColumn<int>("length");
    QTest::newRow("shorter than the cap") << 100 << 99;
    QTest::newRow("exactly the cap") << 100 << 100;
    QTest::newRow("one over the cap") << 100 << 101;
    QTest::newRow("within one chunk") << 10 << 3000;
    QTest::newRow("over many chunks") << 5000 << 300000;
}

// A line longer than the cap keeps its first cap bytes; the rest of that line is
// dropped and the next line is read in full.
void TestDataFileHostile::longLineIsCapped()
{
    QFETCH(int, cap);
    QFETCH(int, length);
    QByteArray longLine(length, 'y');
    for (int i = 0; i < length; i += 7)
        longLine[i] = 'z';
    const QByteArray bytes = "head\r\n" + longLine + "\r\nnext\rlast";
    QTemporaryDir dir;
    const QStringList lines = readAll(writeFile(dir, "f.txt", bytes), cap);
    const QStringList expected{"head", QString::fromLatin1(longLine.left(cap)), "next", "last"};
    QCOMPARE(lines, expected);
}

void TestDataFileHostile::hugeSparseLineKeepsMemoryBounded()
{
    // 768 MiB without a line end, made sparse so that it costs no disk.
    constexpr qint64 hole = qint64(768) << 20;
    QTemporaryDir dir;
    const QString path = dir.filePath("sparse.txt");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("name\r\n");
        QVERIFY(f.resize(6 + hole));
        QVERIFY(f.seek(6 + hole));
        f.write("\r\ntail");
    }
    const qint64 peakBefore = peakResidentKiB();
    DataFileReader reader(path);
    QCOMPARE(reader.ReadLine(), QStringLiteral("name"));
    const QString huge = reader.ReadLine();
    QCOMPARE(huge.size(), DataFileReader::MaxLineBytes);
    QCOMPARE(huge.at(0), QChar(0));
    QCOMPARE(reader.ReadLine(), QStringLiteral("tail"));
    QVERIFY(reader.atEnd());
    if (peakBefore < 0)
        QSKIP("no peak memory figure on this system");
    // The line and its buffers are a few MiB; reading the file whole would be 768.
    QVERIFY2(peakResidentKiB() - peakBefore < 64 * 1024,
             qPrintable(QString::number(peakResidentKiB() - peakBefore) + " KiB more at peak"));
}

void TestDataFileHostile::nonOrdinaryFilesReadAsEmpty_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("FIFO without writer") << QString();  // made in the test
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero");
    QTest::newRow("/dev/null") << QStringLiteral("/dev/null");
    QTest::newRow("directory") << QStringLiteral("/");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/file");
    QTest::newRow("empty path") << QStringLiteral("");
}

void TestDataFileHostile::nonOrdinaryFilesReadAsEmpty()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    if (path.isNull()) {
        path = dir.filePath("fifo");
        MAKE_FIFO_OR_SKIP(path);
    }
    DataFileReader reader(path);  // would block here on a FIFO opened for reading
    QVERIFY(!reader.isOpen());
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.ReadLine(), QString());
    QVERIFY(!reader.lastModified().isValid());
}

void TestDataFileHostile::listRecordOfUnreadablePaths()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    MAKE_FIFO_OR_SKIP(fifo);
    for (const QString &path :
         {fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null"), dir.path(), dir.filePath("missing")})
        QVERIFY2(!readListRecord(path).has_value(), qPrintable(path));
}

QTEST_GUILESS_MAIN(TestDataFileHostile)
#include "tst_datafile_hostile.moc"
