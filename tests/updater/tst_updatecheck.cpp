// Header reading, dates and the day count of the update check.
#include "updatecheck.h"

#include <QTest>

using updatecheck::ParseLastModified;

class TestUpdateCheck : public QObject {
    Q_OBJECT
private slots:
    void lastModified_data();
    void lastModified();
    void dayCount_data();
    void dayCount();
    void contentLength_data();
    void contentLength();
    void headerNamesIgnoreCase();
    void summaryKeepsCrLf();
};

void TestUpdateCheck::lastModified_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    QTest::newRow("http date") << "Sun, 06 Nov 1994 08:49:37 GMT" << true
                               << QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC);
    QTest::newRow("lower-case month") << "Mon, 7 dec 2026 23:05:00 GMT" << true
                                      << QDateTime(QDate(2026, 12, 7), QTime(23, 5), Qt::UTC);
    QTest::newRow("no blank is the zero date") << "garbage" << true << zero;
    QTest::newRow("empty") << "" << false << QDateTime();
    QTest::newRow("too few fields") << "Sun, 06 Nov" << false << QDateTime();
    QTest::newRow("four fields") << "Sun, 06 Nov 1994" << false << QDateTime();
    QTest::newRow("bad month") << "Sun, 06 Foo 1994 08:49:37 GMT" << false << QDateTime();
    QTest::newRow("bad day") << "Sun, 31 Feb 1994 08:49:37 GMT" << false << QDateTime();
    QTest::newRow("bad time") << "Sun, 06 Nov 1994 8h49 GMT" << false << QDateTime();
    QTest::newRow("two blanks shift the fields") << "Sun,  06 Nov 1994 08:49:37 GMT" << false << QDateTime();
    // Real dates whose date-time lies beyond what a date-time can hold are unknown too.
    QTest::newRow("year past the date-time range") << "Sat, 01 Jan 300000000 00:00:00 GMT" << false << QDateTime();
    QTest::newRow("leading blank, huge year") << " 6 Jan 1245351232 0:0" << false << QDateTime();
    QTest::newRow("year before the date-time range") << "Sat, 01 Jan -300000000 00:00:00 GMT" << false << QDateTime();
    QTest::newRow("last day within range")
        << "Fri, 31 Dec 9999 23:59:59 GMT" << true << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
}

void TestUpdateCheck::lastModified()
{
    QFETCH(QString, header);
    QFETCH(bool, parsed);
    QFETCH(QDateTime, expected);
    const auto result = ParseLastModified(header);
    QCOMPARE(result.has_value(), parsed);
    if (parsed)
        QCOMPARE(*result, expected);
}

void TestUpdateCheck::dayCount_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<QString>("header");
    QTest::addColumn<qint64>("days");
    auto at = [](int y, int m, int d, int h, int min) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); };
    // Remote dates are GMT plus nine hours.
    QTest::newRow("across midnight by minutes")
        << at(2026, 3, 1, 23, 58) << "Sun, 01 Mar 2026 15:01:00 GMT" << qint64(1);
    QTest::newRow("same day, later time") << at(2026, 3, 1, 0, 1) << "Sun, 01 Mar 2026 14:00:00 GMT" << qint64(0);
    QTest::newRow("nine hours push to next day")
        << at(2026, 3, 1, 12, 0) << "Sun, 01 Mar 2026 15:00:00 GMT" << qint64(1);
    QTest::newRow("remote older") << at(2026, 3, 10, 8, 0) << "Sun, 01 Mar 2026 00:00:00 GMT" << qint64(-9);
    QTest::newRow("across a year") << at(2025, 12, 31, 10, 0) << "Thu, 01 Jan 2026 00:00:00 GMT" << qint64(1);
    QTest::newRow("never-seen local file")
        << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC) << "Thu, 01 Jan 1900 00:00:00 GMT" << qint64(2);
    QTest::newRow("no blank, local exists")
        << at(2026, 1, 1, 0, 0) << "x" << qint64(-46023);  // serial day of 1 Jan 2026
}

void TestUpdateCheck::dayCount()
{
    QFETCH(QDateTime, local);
    QFETCH(QString, header);
    QFETCH(qint64, days);
    const QDateTime remote = updatecheck::remoteDateOf(*ParseLastModified(header));
    QCOMPARE(updatecheck::calendarDays(local, remote), days);
}

void TestUpdateCheck::contentLength_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << "1234" << qint64(1234);
    QTest::newRow("blanks ignored") << " 1 2 3 " << qint64(123);
    QTest::newRow("stops at letters") << "12ab3" << qint64(12);
    QTest::newRow("no number") << "abc" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("fraction rounds to even") << "2.5" << qint64(2);
    QTest::newRow("fraction rounds up") << "7.6" << qint64(8);
    QTest::newRow("exponent") << "1e3" << qint64(1000);
    QTest::newRow("bare e stops") << "12e" << qint64(12);
    QTest::newRow("negative") << "-5" << qint64(-5);
    QTest::newRow("beyond 32 bits") << "5000000000" << qint64(5000000000);
    QTest::newRow("full-width digits do not count") << QString::fromUtf8("１２") << qint64(0);
}

void TestUpdateCheck::contentLength()
{
    QFETCH(QString, header);
    QFETCH(qint64, value);
    QCOMPARE(updatecheck::ReadContentLength(header), value);
}

void TestUpdateCheck::headerNamesIgnoreCase()
{
    const updatecheck::HeaderList headers{{"content-length", "42"}, {"Last-Modified", "x y"}};
    QCOMPARE(updatecheck::headerValue(headers, "Content-length"), QString("42"));
    QCOMPARE(updatecheck::headerValue(headers, "LAST-MODIFIED"), QString("x y"));
    QCOMPARE(updatecheck::headerValue(headers, "ETag"), QString());
}

void TestUpdateCheck::summaryKeepsCrLf()
{
    const QString text = updatecheck::summaryText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC), 77);
    QVERIFY(text.startsWith("last : "));
    QVERIFY(text.contains("3:04:05\r\nsize : 77 byte"));
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
