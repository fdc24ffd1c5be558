#include "catalogue/datafile.h"

#include <QTemporaryDir>
#include <QTest>

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void readLine_data();
    void readLine();
};

void TestDataFile::readLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b", "", ""};
    QTest::newRow("lone cr ends a line") << QByteArray("a\rb") << QStringList{"a", "b", ""};
    QTest::newRow("lone lf stays") << QByteArray("a\nb\n") << QStringList{"a\nb\n", ""};
    QTest::newRow("nothing trimmed") << QByteArray(" a \t\r\n") << QStringList{" a \t", ""};
    QTest::newRow("cp932") << QByteArray("\x82\xa0\x81\x60\r\n") << QStringList{QString::fromUtf8("あ～"), ""};
}

void TestDataFile::readLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    DataFileReader reader(path);
    for (const QString &expected : lines)
        QCOMPARE(reader.ReadLine(), expected);
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
