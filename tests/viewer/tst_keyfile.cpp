#include "catalogue/datafile.h"
#include "catalogue/keyfile.h"

#include "cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "*" marks a heading in the expected lists below.
QStringList describe(const KeyRows &keys)
{
    QStringList out;
    for (qsizetype i = 0; i < keys.count(); ++i)
        out.append((keys.isBold(i) ? QStringLiteral("*") : QString()) + keys.text(i).toString());
    return out;
}

}  // namespace

class TestKeyFile : public QObject {
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void missingFile();
    void manyLines();
    void leadByteLineAtBlockEdges_data();
    void leadByteLineAtBlockEdges();
    void lineBytesEndAfterTerminators_data();
    void lineBytesEndAfterTerminators();
    void appendedRowsFollowLoadedOnes();
    void rowEndsPastTheLowRange_data();
    void rowEndsPastTheLowRange();
};

// clang-format off
void TestKeyFile::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("three lines, no keys") << QByteArray("List\r\ndesc\r\nhttp://x/\r\n") << "List" << QStringList{};
    QTest::newRow("three lines, no final terminator") << QByteArray("List\r\ndesc\r\nhttp://x/") << "List" << QStringList{};
    QTest::newRow("headings A x B y")
        << QByteArray("L\r\nd\r\nu\r\n#[A]\r\nx\r\n#[B]\r\ny\r\n") << "L" << QStringList{"*#[A]", "x", "*#[B]", "y"};
    QTest::newRow("lone heading") << QByteArray("L\r\nd\r\nu\r\n#[only") << "L" << QStringList{"*#[only"};
    QTest::newRow("duplicate heading")
        << QByteArray("L\r\nd\r\nu\r\n#[A]\r\nx\r\n#[A]\r\n") << "L" << QStringList{"*#[A]", "x", "*#[A]"};
    QTest::newRow("LF-only file is one line")
        << QByteArray("L\nd\nu\nkey\n") << "L\nd\nu\nkey\n" << QStringList{};
    QTest::newRow("lone CR and CR LF both end keys")
        << QByteArray("L\rd\ru\ra\rb\r\nc") << "L" << QStringList{"a", "b", "c"};
    QTest::newRow("lone LF stays inside a key")
        << QByteArray("L\r\nd\r\nu\r\na\nb\r\nc\r\n") << "L" << QStringList{"a\nb", "c"};
    QTest::newRow("empty lines are empty keys")
        << QByteArray("L\r\nd\r\nu\r\n\r\nx\r\n\r\n") << "L" << QStringList{"", "x", ""};
    QTest::newRow("near headings are plain keys")
        << QByteArray("L\r\nd\r\nu\r\n #[a\r\n\x81\x94[b\r\n#\r\n#[\r\n") << "L"
        << QStringList{" #[a", QString::fromUtf8("＃[b"), "#", "*#["};
    QTest::newRow("nothing trimmed") << QByteArray("L\r\nd\r\nu\r\n\t a \x81\x40\r\n") << "L"
                                     << QStringList{QString::fromUtf8("\t a 　")};
    QTest::newRow("japanese keys")
        << QByteArray("\x83\x8a\x83\x58\x83\x67\r\nd\r\nu\r\n#[\x8a\xbf\x8e\x9a]\r\n\x82\xa0\x81\x60\r\n")
        << QString::fromUtf8("リスト") << QStringList{QString::fromUtf8("*#[漢字]"), QString::fromUtf8("あ～")};
    // A line ending in half a double-byte character decodes as that line alone would.
    QTest::newRow("lead byte before the line end")
        << QByteArray("L\r\nd\r\nu\r\na\x82\r\n\x82\xa0\r\nb\x82") << "L"
        << QStringList{common::cp932::decode("a\x82"), QString::fromUtf8("あ"), common::cp932::decode("b\x82")};
    QTest::newRow("kanji whose second byte looks like a lead byte")
        << QByteArray("L\r\nd\r\nu\r\n\x88\x9f\r\n\x88\x9f\x82\r\nz") << "L"
        << QStringList{QString::fromUtf8("亜"), common::cp932::decode("\x88\x9f\x82"), "z"};
    QTest::newRow("empty file") << QByteArray() << "" << QStringList{};
    // Such a line keeps its own line end: an LF that starts the next key stays in it.
    const QString bad = common::cp932::decode("\x81");
    QTest::newRow("lead byte, cr lf, then a key starting with lf")
        << QByteArray("n\r\nd\r\na\r\n\x81\r\n\nA") << "n" << QStringList{bad, "\nA"};
    QTest::newRow("lead byte, cr lf, then a key that is only lf")
        << QByteArray("\r\r\r\x81\r\n\n") << "" << QStringList{bad, "\n"};
    QTest::newRow("lead byte, lone cr, then an empty key")
        << QByteArray("n\rd\ra\r\x81\r\r\nA") << "n" << QStringList{bad, "", "A"};
    QTest::newRow("three lead bytes, cr lf, lf")
        << QByteArray("n\rd\ra\r\x81\x81\x81\r\n\nz\r\n") << "n" << QStringList{common::cp932::decode("\x81\x81\x81"), "\nz"};
    QTest::newRow("paired lead bytes, cr lf, lf")
        << QByteArray("n\rd\ra\r\x88\x9f\r\n\nz") << "n" << QStringList{QString::fromUtf8("亜"), "\nz"};
    QTest::newRow("two such lines in a row")
        << QByteArray("n\rd\ra\ra\x82\r\n\nb\x82\r\n\n\r\n") << "n"
        << QStringList{common::cp932::decode("a\x82"), "\n" + common::cp932::decode("b\x82"), "\n"};
}
// clang-format on

void TestKeyFile::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QStringList, keys);
    QTemporaryDir dir;
    const QString path = dir.filePath("data.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    const KeyList list = loadKeyList(path);
    QCOMPARE(list.name, name);
    QCOMPARE(describe(list.keys), keys);
    // Tiny blocks and reads cut between every two bytes: the list stays the same.
    for (const qsizetype block : {1, 2, 5}) {
        const KeyList cut = loadKeyList(path, block, ReadChunks{1, 2});
        QCOMPARE(cut.name, name);
        QCOMPARE(describe(cut.keys), keys);
    }
}

void TestKeyFile::missingFile()
{
    QTemporaryDir dir;
    const KeyList list = loadKeyList(dir.filePath("missing.txt"));
    QCOMPARE(list.name, QString());
    QCOMPARE(list.keys.count(), 0);
    // A folder is no data file either.
    QCOMPARE(loadKeyList(dir.path()).keys.count(), 0);
}

void TestKeyFile::manyLines()
{
    // Enough lines to cross the reader's blocks, lone CRs among CR LFs and a line
    // ending in a lead byte now and then.
    QByteArray bytes("L\r\nd\r\nu\r\n");
    QStringList expected;
    for (int i = 0; i < 200000; ++i) {
        QByteArray line;
        if (i % 1000 == 0)
            line = "#[" + QByteArray::number(i);
        else if (i % 777 == 0)
            line = "x\x82";
        else
            line = QByteArray::number(i) + (i % 3 ? "\x82\xa0" : "");
        bytes += line + (i % 5 == 0 ? "\r" : "\r\n");
        expected.append((i % 1000 == 0 ? QStringLiteral("*") : QString()) + common::cp932::decode(line));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QVERIFY(bytes.size() > 1024 * 1024);
    const KeyList list = loadKeyList(path);
    QCOMPARE(describe(list.keys), expected);
}

// Keys are decoded in blocks of about 1 MiB, cut after the first line end at or past
// 1 MiB. A line ending in a lead byte, before an LF, on either side of that cut.
void TestKeyFile::leadByteLineAtBlockEdges_data()
{
    QTest::addColumn<int>("shift");
    QTest::addColumn<QByteArray>("tail");  // from the line end of the edge line on
    QTest::addColumn<QStringList>("tailKeys");
    const QString bad = common::cp932::decode("\x81");
    for (int shift = -3; shift <= 3; ++shift) {
        QTest::addRow("cr lf, then lf, %+d", shift)
            << shift << QByteArray("\r\n\nA\x81\r\n\n") << QStringList{"\nA" + bad, "\n"};
        QTest::addRow("lone cr, then an empty key, %+d", shift)
            << shift << QByteArray("\r\r\nA") << QStringList{"", "A"};
    }
}

void TestKeyFile::leadByteLineAtBlockEdges()
{
    QFETCH(int, shift);
    QFETCH(QByteArray, tail);
    QFETCH(QStringList, tailKeys);
    constexpr int Block = 1024 * 1024;
    QByteArray keys;
    QStringList expected;
    for (int i = 0; keys.size() < Block - 300; ++i) {
        const QByteArray key = "key " + QByteArray::number(i);
        keys += key + "\r\n";
        expected << QString::fromLatin1(key);
    }
    // One long line whose CR lands at Block - 1 + shift, counted from the first key.
    const QByteArray edgeLine = QByteArray(Block - 1 + shift - keys.size() - 1, 'k') + "\x81";
    keys += edgeLine + tail;
    expected << common::cp932::decode(edgeLine) << tailKeys;
    QTemporaryDir dir;
    const QString path = dir.filePath("edge.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("L\r\nd\r\nu\r\n" + keys);
    f.close();
    QCOMPARE(describe(loadKeyList(path).keys), expected);
}

void TestKeyFile::lineBytesEndAfterTerminators_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("minBytes");
    QTest::newRow("crlf lines, one byte asked") << QByteArray("ab\r\ncd\r\nef") << 1;
    QTest::newRow("lone crs") << QByteArray("a\rb\rc\r") << 2;
    QTest::newRow("lf stays inside") << QByteArray("a\nb\r\nc\n") << 1;
    QTest::newRow("whole rest") << QByteArray("ab\r\ncd\r\nef") << 1000;
    QByteArray big;
    for (int i = 0; i < 30000; ++i)
        big += QByteArray::number(i) + (i % 2 ? "\r" : "\r\n");
    QTest::newRow("beyond the read chunks") << big << 100000;
}

void TestKeyFile::lineBytesEndAfterTerminators()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, minBytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("head\r\n" + bytes);
    f.close();
    DataFileReader reader(path);
    QCOMPARE(reader.ReadLine(), QString("head"));
    QByteArray joined;
    for (;;) {
        const QByteArray piece = reader.readLineBytes(minBytes);
        if (piece.isEmpty())
            break;
        joined += piece;
        // Every piece but the last ends a line, with CR LF kept together.
        if (joined.size() < bytes.size()) {
            QVERIFY(piece.size() >= minBytes);
            QVERIFY(piece.endsWith('\r') || piece.endsWith("\r\n"));
            QVERIFY(bytes.at(joined.size()) != '\n');
        }
    }
    QCOMPARE(joined, bytes);
    QVERIFY(reader.atEnd());
}

void TestKeyFile::appendedRowsFollowLoadedOnes()
{
    KeyRows rows;
    rows.appendLines(u"#[h]\r\na\r\n#[h]");
    rows.append(u"notice", false);
    rows.append(u"#[bold by flag only", false);
    QCOMPARE(describe(rows), (QStringList{"*#[h]", "a", "*#[h]", "notice", "#[bold by flag only"}));
    QCOMPARE(rows.boldTexts(), (QStringList{"#[h]", "#[h]"}));
    QCOMPARE(rows.indexOf(u"#[h]"), 0);
    QCOMPARE(rows.indexOf(u"#[H]"), -1);  // letter case counts
    QCOMPARE(rows.indexOf(u"#["), -1);    // whole text only
}

// Row ends keep only their low bits; with bytes for them the ranges are passed at 256,
// as a list past 4 G characters passes them with the four bytes of a real list.
void TestKeyFile::rowEndsPastTheLowRange_data()
{
    QTest::addColumn<QList<qsizetype>>("ends");
    QTest::newRow("within the range") << QList<qsizetype>{0, 3, 3, 255};
    QTest::newRow("exactly at a multiple") << QList<qsizetype>{255, 256, 511, 512};
    QTest::newRow("empty rows across a multiple") << QList<qsizetype>{250, 250, 260, 260, 260};
    QTest::newRow("one row passing several multiples") << QList<qsizetype>{10, 1000, 1001, 70000, 70000};
    QTest::newRow("first row already past") << QList<qsizetype>{300, 600};
}

void TestKeyFile::rowEndsPastTheLowRange()
{
    QFETCH(QList<qsizetype>, ends);
    RowEnds<quint8> rows;
    for (const qsizetype end : ends)
        rows.append(end);
    QCOMPARE(rows.count(), ends.size());
    for (qsizetype row = 0; row < ends.size(); ++row) {
        QCOMPARE(rows.at(row), ends.at(row));
        QCOMPARE(rows.startOf(row), row == 0 ? 0 : ends.at(row - 1));
    }
}

QTEST_GUILESS_MAIN(TestKeyFile)
#include "tst_keyfile.moc"
