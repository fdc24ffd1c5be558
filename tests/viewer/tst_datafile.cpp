// The data-file reader: the line rules, reads in chunks and blocks, headings, the
// last-update text and the list record.
#include "catalogue/datafile.h"
#include "cp932.h"
#include "datafiletest.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using datafiletest::readAll;
using datafiletest::writeFile;

namespace {

// A byte-by-byte model of the line rules, to check the buffered reader against.
QStringList splitLikeTheRules(const QByteArray &bytes)
{
    QStringList lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            lines << common::cp932::decode(line);
            line.clear();
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.isEmpty())
        lines << common::cp932::decode(line);
    return lines;
}

}  // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void readLine_data();
    void readLine();
    void chunkBoundaries_data();
    void chunkBoundaries();
    void randomBytesFollowTheRules();
    void fileThatGrowsIsReadToItsEnd();
    void blockReadsOfALongTail_data();
    void blockReadsOfALongTail();
    void isHeading_data();
    void isHeading();
    void lastUpdateText_data();
    void lastUpdateText();
    void listRecord_data();
    void listRecord();
};

void TestDataFile::readLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("endAfterLines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b", "", ""} << true;
    QTest::newRow("lone cr ends a line") << QByteArray("a\rb") << QStringList{"a", "b", ""} << true;
    QTest::newRow("lone lf stays") << QByteArray("a\nb\n") << QStringList{"a\nb\n", ""} << true;
    QTest::newRow("lf cr is lf then a line end") << QByteArray("a\n\rb") << QStringList{"a\n", "b"} << true;
    QTest::newRow("cr cr lf is an empty line") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << true;
    QTest::newRow("nothing trimmed") << QByteArray(" a \t\r\n\x81\x40x\x81\x40\r\n")
                                     << QStringList{" a \t", QString::fromUtf8("　x　"), ""} << true;
    QTest::newRow("cp932") << QByteArray("\x82\xa0\x81\x60\r\n") << QStringList{QString::fromUtf8("あ～"), ""} << true;
    QTest::newRow("empty lines are lines") << QByteArray("\r\n\r\nx") << QStringList{"", "", "x", ""} << true;
    QTest::newRow("trailing empty line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""} << true;
    QTest::newRow("no terminator") << QByteArray("only") << QStringList{"only", "", ""} << true;
    QTest::newRow("empty file") << QByteArray() << QStringList{"", ""} << true;
    QTest::newRow("lone cr at the end") << QByteArray("a\r") << QStringList{"a"} << true;
    QTest::newRow("more to come") << QByteArray("a\r\nb") << QStringList{"a"} << false;
    QTest::newRow("nul bytes stay") << QByteArray("a\0b\r\n", 5) << QStringList{QString("a") + QChar(0) + "b"} << true;
    QTest::newRow("lead byte before cr does not eat it")
        << QByteArray("ok\x82\r\nnext") << QStringList{common::cp932::decode("ok\x82"), "next"} << true;
}

void TestDataFile::readLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(bool, endAfterLines);
    QTemporaryDir dir;
    const QString path = writeFile(dir, "f.txt", bytes);
    // Tiny reads put a chunk boundary inside every line and between CR and LF.
    for (const ReadChunks chunks : {ReadChunks{}, ReadChunks{1, 1}, ReadChunks{2, 3}, ReadChunks{3, 2}}) {
        DataFileReader reader(path, DataFileReader::MaxLineBytes, chunks);
        QVERIFY(reader.isOpen());
        for (const QString &expected : lines)
            QCOMPARE(reader.ReadLine(), expected);
        QCOMPARE(reader.atEnd(), endAfterLines);
    }
}

// The reader fills its buffer in chunks (4 KiB first, then 64 KiB): a line end
// split across two chunks must read as if it were not.
void TestDataFile::chunkBoundaries_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QByteArray>("terminator");
    for (int before : {4094, 4095, 4096, 4097, 4096 + 65535, 4096 + 65536}) {
        for (const char *t : {"\r\n", "\r", "\n"})
            QTest::addRow("%d bytes then %s", before, t[1] ? "crlf" : (t[0] == '\r' ? "cr" : "lf"))
                << before << QByteArray(t);
    }
}

void TestDataFile::chunkBoundaries()
{
    QFETCH(int, before);
    QFETCH(QByteArray, terminator);
    const QByteArray bytes = QByteArray(before, 'x') + terminator + "second\r\nthird";
    QTemporaryDir dir;
    QCOMPARE(readAll(writeFile(dir, "f.txt", bytes)), splitLikeTheRules(bytes));
}

void TestDataFile::randomBytesFollowTheRules()
{
    QRandomGenerator random(20001105);
    const char alphabet[] = {'a', '\r', '\n', '\x82', '\xa0', ' '};
    QTemporaryDir dir;
    for (int round = 0; round < 24; ++round) {
        QByteArray bytes(random.bounded(1, 80000), Qt::Uninitialized);
        for (char &c : bytes)
            c = alphabet[random.bounded(round % 2 ? 3 : 6)];
        QCOMPARE(readAll(writeFile(dir, QString::number(round), bytes)), splitLikeTheRules(bytes));
    }
}

// Another program may write the file while it is read: reading ends with the lines it
// holds then, by lines (to atEnd) or in blocks.
void TestDataFile::fileThatGrowsIsReadToItsEnd()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "growing.txt", "first\r\nsecond\r\n");
    DataFileReader reader(path);
    DataFileReader blocks(path);
    QCOMPARE(reader.ReadLine(), "first");
    QFile more(path);
    QVERIFY(more.open(QIODevice::Append));
    more.write("third\r\n" + QByteArray(100000, 'y') + "\r\nlast");
    more.close();
    QStringList lines{"first"}, inBlocks;
    while (!reader.atEnd())
        lines.append(reader.ReadLine());
    for (QByteArray block; !(block = blocks.readLineBytes(1)).isEmpty();)
        inBlocks += splitLikeTheRules(block);
    QCOMPARE(lines, (QStringList{"first", "second", "third", QString(100000, 'y'), "last"}));
    QCOMPARE(inBlocks, lines);
}

// readLineBytes hands out whole lines in blocks of at least minBytes; its first read
// is minBytes long and every further one a 64 KiB chunk. A long last line without a
// terminator, and a line end on the last byte of a read, must give the same lines
// as the file read in one piece.
void TestDataFile::blockReadsOfALongTail_data()
{
    QTest::addColumn<int>("minBytes");
    QTest::addColumn<QByteArray>("bytes");
    constexpr int Chunk = 64 * 1024;
    for (int minBytes : {1, 7, 4096, Chunk, 1024 * 1024}) {
        const QByteArray after(100000, 'y');
        QTest::addRow("%d: tail only", minBytes) << minBytes << QByteArray(3 * Chunk + 5, 't');
        QTest::addRow("%d: lines, then a long tail", minBytes)
            << minBytes << QByteArray("a\r\nb\r\n\r") + QByteArray(5 * Chunk, 't');
        for (int reads : {0, 1, 2}) {
            // The last byte of the first read, or of the first or second chunk after it.
            const QByteArray before(minBytes - 1 + reads * Chunk, 'x');
            QTest::addRow("%d: cr lf across read %d", minBytes, reads) << minBytes << before + "\r\n" + after;
            QTest::addRow("%d: lone cr ends read %d", minBytes, reads) << minBytes << before + "\r" + after;
            QTest::addRow("%d: cr ends read %d and the file", minBytes, reads) << minBytes << before + "\r";
            QTest::addRow("%d: lf ends read %d", minBytes, reads) << minBytes << before + "\n" + after;
            QTest::addRow("%d: cr lf ends read %d, then the tail", minBytes, reads)
                << minBytes << before + "\r\n" + QByteArray(2 * Chunk + 3, 'z') + "\r\n" + after;
        }
    }
}

void TestDataFile::blockReadsOfALongTail()
{
    QFETCH(int, minBytes);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    DataFileReader reader(writeFile(dir, "f.txt", bytes));
    QByteArray whole;
    QStringList lines;
    for (;;) {
        const QByteArray block = reader.readLineBytes(minBytes);
        if (block.isEmpty())
            break;
        whole += block;
        lines += splitLikeTheRules(block);
        if (whole.size() < bytes.size()) {
            // Not the last block: at least minBytes, cut right after a whole line end.
            QVERIFY2(block.size() >= minBytes, qPrintable(QString::number(block.size())));
            QVERIFY(block.endsWith('\r') || block.endsWith("\r\n"));
            QVERIFY(!(block.endsWith('\r') && bytes.at(whole.size()) == '\n'));
        }
    }
    QCOMPARE(whole.size(), bytes.size());
    QVERIFY(whole == bytes);
    QCOMPARE(lines, splitLikeTheRules(bytes));
    QVERIFY(reader.atEnd());
}

void TestDataFile::isHeading_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("heading");
    QTest::newRow("bracketed") << "#[挨拶]" << true;
    QTest::newRow("just the mark") << "#[" << true;
    QTest::newRow("no closing bracket") << "#[見出し" << true;
    QTest::newRow("blank before") << " #[x]" << false;
    QTest::newRow("full-width number sign") << "＃[x]" << false;
    QTest::newRow("full-width bracket") << "#［x］" << false;
    QTest::newRow("only the number sign") << "#" << false;
    QTest::newRow("reversed") << "[#x" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDataFile::isHeading()
{
    QFETCH(QString, key);
    QFETCH(bool, heading);
    QCOMPARE(::isHeading(key), heading);
}

void TestDataFile::lastUpdateText_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");
    const QDate day(2000, 11, 5);
    QTest::newRow("morning") << QDateTime(day, QTime(9, 5, 31)) << "2000/11/05 9:05:31";
    QTest::newRow("afternoon") << QDateTime(day, QTime(23, 59, 59)) << "2000/11/05 23:59:59";
    QTest::newRow("midnight") << QDateTime(day, QTime(0, 0)) << "2000/11/05";
    QTest::newRow("midnight, a fraction on") << QDateTime(day, QTime(0, 0, 0, 500)) << "2000/11/05";
    QTest::newRow("one second past midnight") << QDateTime(day, QTime(0, 0, 1)) << "2000/11/05 0:00:01";
    QTest::newRow("one minute past midnight") << QDateTime(day, QTime(0, 1)) << "2000/11/05 0:01:00";
    QTest::newRow("december") << QDateTime(QDate(2026, 12, 31), QTime(12, 0)) << "2026/12/31 12:00:00";
    QTest::newRow("year below 1000") << QDateTime(QDate(987, 6, 5), QTime(4, 3, 2)) << "0987/06/05 4:03:02";
    QTest::newRow("year of five digits") << QDateTime(QDate(10000, 1, 2), QTime(0, 0)) << "10000/01/02";
    QTest::newRow("unknown") << QDateTime() << "";
}

void TestDataFile::lastUpdateText()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, text);
    // The text must not follow the locale of the system.
    const QLocale saved;
    for (const char *name : {"en_US", "de_DE", "ar_EG", "ja_JP"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        QCOMPARE(::lastUpdateText(time), text);
    }
    QLocale::setDefault(saved);
}

// clang-format off
void TestDataFile::listRecord_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("address");
    QTest::newRow("three lines and keys")
        << QByteArray("\x88\xa5\x8e\x41\r\n\x90\xe0\r\nhttp://127.0.0.1/a.txt\r\nkey\r\n")
        << QString::fromUtf8("挨拶") << QString::fromUtf8("説") << "http://127.0.0.1/a.txt";
    QTest::newRow("exactly three lines") << QByteArray("n\r\nd\r\nu") << "n" << "d" << "u";
    QTest::newRow("two lines") << QByteArray("n\r\nd\r\n") << "n" << "d" << "";
    QTest::newRow("one line") << QByteArray("n") << "n" << "" << "";
    QTest::newRow("empty file") << QByteArray() << "" << "" << "";
    QTest::newRow("lf only is one line") << QByteArray("n\nd\nu\n") << "n\nd\nu\n" << "" << "";
    QTest::newRow("blanks kept") << QByteArray(" n \r\n\td\r\n u ") << " n " << "\td" << " u ";
}
// clang-format on

void TestDataFile::listRecord()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, address);
    QTemporaryDir dir;
    const QString path = writeFile(dir, "list.dat", bytes);
    const QDateTime stamp(QDate(2000, 11, 5), QTime(9, 5, 31));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const std::optional<ListRecord> record = readListRecord(path);
    QVERIFY(record.has_value());
    QCOMPARE(record->name, name);
    QCOMPARE(record->description, description);
    QCOMPARE(record->address, address);
    QCOMPARE(record->lastModified, stamp);
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
