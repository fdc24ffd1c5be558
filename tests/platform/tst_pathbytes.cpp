// File names as bytes: every byte string comes back unchanged, valid UTF-8 reads as text.
#include "pathbytes.h"

#include <QTest>

using common::pathFromBytes;
using common::pathToBytes;

class TestPathBytes : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void surrogatesWithoutBytes();
};

void TestPathBytes::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");  // null: not valid UTF-8, only the round trip counts
    QTest::newRow("ascii") << QByteArray("/tmp/tuveldbox/a.txt") << QStringLiteral("/tmp/tuveldbox/a.txt");
    QTest::newRow("japanese") << QByteArray("\xe6\x8c\xa8\xe6\x8b\xb6.txt") << QStringLiteral("挨拶.txt");
    QTest::newRow("four-byte character") << QByteArray("\xf0\xa0\x80\x8b") << QString::fromUtf8("\xf0\xa0\x80\x8b");
    QTest::newRow("highest code point") << QByteArray("\xf4\x8f\xbf\xbf") << QString::fromUtf8("\xf4\x8f\xbf\xbf");
    QTest::newRow("ff fe") << QByteArray("bad\xff\xfename.txt") << QString();
    QTest::newRow("shift-jis") << QByteArray("\x88\xa5\x8e\x41.txt") << QString();
    QTest::newRow("cut sequence at the end") << QByteArray("a\xe3\x81") << QString();
    QTest::newRow("cut sequence before ascii") << QByteArray("\xe3\x81z") << QString();
    QTest::newRow("stray continuation") << QByteArray("\x80\xbf") << QString();
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString();
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << QString();
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80\xed\xb3\xbf") << QString();
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QString();
    QTest::newRow("utf-8 of an escape char") << QByteArray("\xed\xb2\x80") << QString();
    QTest::newRow("every high byte") << [] {
        QByteArray all;
        for (int b = 0x80; b <= 0xff; ++b)
            all += char(b);
        return all;
    }() << QString();
}

void TestPathBytes::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = pathFromBytes(bytes);
    QCOMPARE(pathToBytes(path), bytes);
    if (!text.isNull())
        QCOMPARE(path, text);
    else
        QVERIFY(path != QString::fromUtf8(bytes));  // a lossy decode would not round-trip
}

void TestPathBytes::surrogatesWithoutBytes()
{
    // Lone surrogates outside the escapes cannot be written; they stand for U+FFFD.
    QCOMPARE(pathToBytes(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")), QByteArray("a\xef\xbf\xbd"
                                                                                                "b"));
    QCOMPARE(pathToBytes(QString(QChar(0xDC7F))), QByteArray("\xef\xbf\xbd"));
}

QTEST_GUILESS_MAIN(TestPathBytes)
#include "tst_pathbytes.moc"
