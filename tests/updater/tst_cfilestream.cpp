// Whole-file reading and writing with a failure flag.
#include "cfilestream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCFileStream : public QObject {
    Q_OBJECT
private slots:
    void binaryRoundTrip_data();
    void binaryRoundTrip();
    void binaryCutsLongerFile();
    void asciiReadsCp932();
    void asciiWritesCp932WithoutLineBreak();
    void twoOperationsInARow();
    void failures_data();
    void failures();

private:
    QTemporaryDir m_dir;
    QString file(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
};

void TestCFileStream::binaryRoundTrip_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one zero byte") << QByteArray(1, '\0');
    QTest::newRow("all byte values") << [] {
        QByteArray b;
        for (int i = 0; i < 256; ++i)
            b += char(i);
        return b;
    }();
    QTest::newRow("line ends kept") << QByteArray("a\r\nb\rc\n");
}

void TestCFileStream::binaryRoundTrip()
{
    QFETCH(QByteArray, content);
    CFileStream stream;
    stream.Path = file("bin.dat", content);
    QCOMPARE(stream.Binary(), content);  // exactly n bytes, no trailing 0
    QVERIFY(!stream.Error());
    stream.setBinary(content + "x");
    QVERIFY(!stream.Error());
    QCOMPARE(stream.Binary(), content + "x");
}

void TestCFileStream::binaryCutsLongerFile()
{
    CFileStream stream;
    stream.Path = file("long.dat", QByteArray(1000, 'o'));
    stream.setBinary("new");
    QVERIFY(!stream.Error());
    QFile check(stream.Path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("new"));
}

void TestCFileStream::asciiReadsCp932()
{
    CFileStream stream;
    // "日本語" in CP932, then a line.
    stream.Path = file("sjis.txt", QByteArray("\x93\xfa\x96\x7b\x8c\xea\r\nabc"));
    QCOMPARE(stream.Ascii(), QString::fromUtf8("日本語\r\nabc"));
    QVERIFY(!stream.Error());
    stream.Path = file("empty.txt", QByteArray());
    QCOMPARE(stream.Ascii(), QString());
    QVERIFY(!stream.Error());
}

void TestCFileStream::asciiWritesCp932WithoutLineBreak()
{
    CFileStream stream;
    stream.Path = file("out.txt", QByteArray(50, 'z'));
    stream.setAscii(QString::fromUtf8("表"));
    QVERIFY(!stream.Error());
    QCOMPARE(stream.Binary(), QByteArray("\x95\x5c"));
}

void TestCFileStream::twoOperationsInARow()
{
    CFileStream stream;
    stream.Path = file("two.txt", "ab");
    QCOMPARE(stream.Ascii(), QString("ab"));
    QVERIFY(stream.holdsOpenFile());
    QCOMPARE(stream.Binary(), QByteArray("ab"));
    QVERIFY(!stream.Error());
}

void TestCFileStream::failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << m_dir.filePath("missing.txt");
    QTest::newRow("missing folder") << m_dir.filePath("nowhere/x.txt");
    QTest::newRow("a folder") << m_dir.path();
}

void TestCFileStream::failures()
{
    QFETCH(QString, path);
    CFileStream stream;
    stream.Path = path;
    QCOMPARE(stream.Binary(), QByteArray());
    QVERIFY(stream.Error());
    QCOMPARE(stream.Ascii(), QString());
    QVERIFY(stream.Error());
    if (path.isEmpty() || path.endsWith("x.txt") || path == m_dir.path()) {
        stream.setBinary("x");
        QVERIFY(stream.Error());
        QVERIFY(!stream.holdsOpenFile());
    }
    // A later good operation clears the flag.
    stream.Path = file("good.txt", "g");
    QCOMPARE(stream.Binary(), QByteArray("g"));
    QVERIFY(!stream.Error());
}

QTEST_GUILESS_MAIN(TestCFileStream)
#include "tst_cfilestream.moc"
