#include "x11/keyslots.h"

#include <QTest>

using platform::x11::KeySlots;

// Two spare codes (four places) hold 'a'..'d', typed at 0 ms; then 'e' and 'f' want places.
class TestKeySlots : public QObject {
    Q_OBJECT
private slots:
    void reuse_data();
    void reuse();
};

void TestKeySlots::reuse_data()
{
    QTest::addColumn<qint64>("now");
    QTest::addColumn<qint64>("provenAt");  // -1: no ping answered
    QTest::addColumn<QString>("keep");
    QTest::addColumn<QString>("placed");     // of "ef", after place()
    QTest::addColumn<QString>("remaining");  // of "abcd", after place()

    QTest::newRow("too young") << qint64(299) << qint64(1) << ""
                               << ""
                               << "abcd";
    QTest::newRow("old, no answer") << qint64(400) << qint64(-1) << ""
                                    << ""
                                    << "abcd";
    QTest::newRow("old and answered") << qint64(400) << qint64(1) << ""
                                      << "ef"
                                      << "cd";
    QTest::newRow("the next ones keep theirs") << qint64(400) << qint64(1) << "ab"
                                               << "ef"
                                               << "ab";
    QTest::newRow("all kept but one") << qint64(400) << qint64(1) << "abc"
                                      << "e"
                                      << "abc";
}

void TestKeySlots::reuse()
{
    QFETCH(qint64, now);
    QFETCH(qint64, provenAt);
    QFETCH(QString, keep);
    QFETCH(QString, placed);
    QFETCH(QString, remaining);
    auto syms = [](const QString &s) {
        QList<quint32> out;
        for (const QChar c : s)
            out.append(c.unicode());
        return out;
    };
    KeySlots places({200, 201}, [](quint32) { return false; });
    places.place(syms("abcd"), {}, {0, 300, true, true});
    for (const quint32 sym : syms("abcd"))
        places.used(sym, 0);
    if (provenAt >= 0)
        places.proven(provenAt);

    const KeySlots::Rule rule{now, 300, true, true};
    QCOMPARE(places.placeable(syms("ef"), syms(keep), rule), placed.size());
    QVERIFY(!places.find('e'));  // counting places nothing
    places.place(syms("ef"), syms(keep), rule);
    QString found;
    for (const QChar c : QStringLiteral("abcdef"))
        if (places.find(c.unicode()))
            found += c;
    QCOMPARE(found, remaining + placed);
}

QTEST_GUILESS_MAIN(TestKeySlots)
#include "tst_keyslots.moc"
