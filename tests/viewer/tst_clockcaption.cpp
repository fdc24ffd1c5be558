#include "chrome/clockcaption.h"

#include <QTest>

class TestClockCaption : public QObject {
    Q_OBJECT
private slots:
    void face();
    void sleepCycle();
    void strayCounterStartsOver();
    void caption_data();
    void caption();
    void tick_data();
    void tick();
    void lastSecondIsReadAfterTheUpdate();
};

void TestClockCaption::face()
{
    const QString f = clockcaption::face();
    QCOMPARE(f.size(), 8);
    QCOMPARE(f, QString::fromUtf8(" (\u00B4_ \uFF40) "));
}

void TestClockCaption::sleepCycle()
{
    qint16 counter = 0;
    QStringList frames;
    for (int i = 0; i < 7; ++i)
        frames << clockcaption::nextSleepFrame(counter);
    QCOMPARE(frames, (QStringList{"Zzz", "ZZz", "ZZZ", "zZZ", "zzZ", "zzz", "Zzz"}));
    QCOMPARE(counter, qint16(1));
}

void TestClockCaption::strayCounterStartsOver()
{
    qint16 counter = 9;
    QCOMPARE(clockcaption::nextSleepFrame(counter), QStringLiteral("zzz"));
    QCOMPARE(counter, qint16(0));
}

// clang-format off
void TestClockCaption::caption_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("expected");
    const QString f = clockcaption::face();
    QTest::newRow("no leading zeros") << QDateTime(QDate(2026, 12, 6), QTime(9, 5, 30)) << "Zzz"
                                      << "12:6 9:5" + f + "Zzz";
    QTest::newRow("just after midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)) << "ZZz"
                                         << "1:1 0:0" + f + "ZZz";
    QTest::newRow("two digits everywhere") << QDateTime(QDate(2026, 10, 31), QTime(23, 59, 59)) << "zzz"
                                           << "10:31 23:59" + f + "zzz";
}
// clang-format on

void TestClockCaption::caption()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, frame);
    QFETCH(QString, expected);
    QCOMPARE(clockcaption::captionText(now, frame), expected);
}

void TestClockCaption::tick_data()
{
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("lastSecond");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QString>("expected");  // empty: nothing changes
    const QString f = clockcaption::face();
    QTest::newRow("second 0 at the start: nothing yet") << 0 << 0 << 0 << QString();
    QTest::newRow("same second: nothing") << 41 << 41 << 3 << QString();
    QTest::newRow("new second: caption") << 42 << 41 << 3 << "12:6 9:5" + f + "zZZ";
    QTest::newRow("first tick after start") << 7 << 0 << 0 << "12:6 9:5" + f + "Zzz";
}

void TestClockCaption::tick()
{
    QFETCH(int, second);
    QFETCH(int, lastSecond);
    QFETCH(int, counter);
    QFETCH(QString, expected);
    const QDateTime now(QDate(2026, 12, 6), QTime(9, 5, second));
    qint16 last = qint16(lastSecond);
    qint16 frames = qint16(counter);
    const clockcaption::Tick t = clockcaption::tick([&] { return now; }, last, frames);
    QCOMPARE(t.changed, !expected.isEmpty());
    QCOMPARE(t.caption, expected);
    QCOMPARE(last, qint16(expected.isEmpty() ? lastSecond : second));
    QCOMPARE(frames, qint16(expected.isEmpty() ? counter : (counter + 1) % 6));
}

void TestClockCaption::lastSecondIsReadAfterTheUpdate()
{
    // The clock moves on between the reads: the stored second is the later one.
    int reads = 0;
    auto clock = [&] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 10 + reads++)); };
    qint16 last = 0;
    qint16 frames = 0;
    QVERIFY(clockcaption::tick(clock, last, frames).changed);
    QCOMPARE(last, qint16(12));
}

QTEST_GUILESS_MAIN(TestClockCaption)
#include "tst_clockcaption.moc"
