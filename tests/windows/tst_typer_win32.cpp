// The Win32 key typer (SendInput) types key strings into a plain Win32 edit control in
// another process; the control's text must be exactly what the key string says.
#include "services_win32.h"
#include "sinkdriver_win32.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

class TestTyperWin32 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void typesExactly_data();
    void typesExactly();
    void refusedStringTypesNothing();

private:
    QProcess sink;
    platform::Win32KeyTyper typer;
    QString typedText(const QString &expected);
};

void TestTyperWin32::initTestCase()
{
    sink.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tuvel_typing_sink_win32.exe"));
    QVERIFY2(sink.waitForStarted(10000), qPrintable(sink.errorString()));
    QVERIFY2(win32sink::waitForSink(20000), "the sink window did not appear");
}

void TestTyperWin32::cleanupTestCase()
{
    win32sink::closeSink();
    if (!sink.waitForFinished(5000))
        sink.kill();
}

// Polls until the sink holds expected (or time runs out) and returns what it holds.
QString TestTyperWin32::typedText(const QString &expected)
{
    QDeadlineTimer deadline(5000);
    QString text;
    do {
        text = QString::fromStdWString(win32sink::sinkText());
        if (text == expected)
            break;
        QTest::qWait(20);
    } while (!deadline.hasExpired());
    return text;
}

void TestTyperWin32::typesExactly_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("expected");
    QTest::newRow("japanese") << QStringLiteral("日本語のキーとｶﾀｶﾅ") << QStringLiteral("日本語のキーとｶﾀｶﾅ");
    QTest::newRow("tab") << QStringLiteral("ユーザー{TAB}パス") << QStringLiteral("ユーザー\tパス");
    QTest::newRow("enter") << QStringLiteral("一行目{ENTER}二行目") << QStringLiteral("一行目\r\n二行目");
    QTest::newRow("tilde is enter") << QStringLiteral("上~下") << QStringLiteral("上\r\n下");
    QTest::newRow("escaped reserved characters")
        << QStringLiteral("{（}株{）}{+}{＋}{^}{％}{~}{～}{(}{)}") << QStringLiteral("（株）+＋^％~～()");
    QTest::newRow("ascii and digits") << QStringLiteral("Abc 123 [x]") << QStringLiteral("Abc 123 [x]");
    QTest::newRow("beyond the BMP") << QStringLiteral("𠮷野家") << QStringLiteral("𠮷野家");
    QTest::newRow("backspace") << QStringLiteral("ab{BS}c") << QStringLiteral("ac");
}

void TestTyperWin32::typesExactly()
{
    QFETCH(QString, keyString);
    QFETCH(QString, expected);
    win32sink::clearSinkText();
    QVERIFY2(win32sink::bringSinkForward(), "the sink could not be made the foreground window");
    const auto result = platform::typeKeyString(typer, keyString, true);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(typedText(expected), expected);
}

void TestTyperWin32::refusedStringTypesNothing()
{
    win32sink::clearSinkText();
    QVERIFY(win32sink::bringSinkForward());
    const auto result = platform::typeKeyString(typer, QStringLiteral("abc{"), true);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QTest::qWait(300);
    QCOMPARE(QString::fromStdWString(win32sink::sinkText()), QString());
}

QTEST_GUILESS_MAIN(TestTyperWin32)
#include "tst_typer_win32.moc"
