// Types key strings into a real Qt window through XTest and checks what arrived.
#include "services_x11.h"
#include "sinkdriver.h"

#include <QTest>
#include <memory>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// The key text as the viewer hands it over: the twelve reserved characters in braces,
// and braces as "{{}" and "{}}" so any text comes out as written.
QString escaped(const QString &text)
{
    static const QString reserved = QStringLiteral("+＋^＾%％~～(（)）{}");
    QString out;
    for (QChar c : text) {
        if (reserved.contains(c))
            out += QLatin1Char('{') + c + QLatin1Char('}');
        else
            out += c;
    }
    return out;
}

std::vector<KeySym> keyboardMapping(Display *display)
{
    int minCode = 0, maxCode = 0, per = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    KeySym *map = XGetKeyboardMapping(display, static_cast<KeyCode>(minCode), maxCode - minCode + 1, &per);
    std::vector<KeySym> result(map, map + (maxCode - minCode + 1) * per);
    XFree(map);
    return result;
}

QString keysDown(Display *display)
{
    char keys[32] = {};
    XQueryKeymap(display, keys);
    QStringList down;
    for (int code = 0; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8)))
            down.append(QString::number(code));
    return down.join(u' ');
}

}  // namespace

class TestTyperX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void typesExactly_data();
    void typesExactly();
    void refusedStringTypesNothing_data();
    void refusedStringTypesNothing();
    void capsLockDoesNotChangeCase();
    void mappingPutBackAfterTheLastKey();
    void taskSwitchEventsLeaveNoKeyDown();

private:
    std::unique_ptr<TypingSink> sink;
    platform::X11KeyTyper typer;
    Display *display = nullptr;
    std::vector<KeySym> originalMapping;
    void checkKeyboardLeftAlone();
};

void TestTyperX11::initTestCase()
{
    display = XOpenDisplay(nullptr);
    if (!display)
        QSKIP("no X display");
    originalMapping = keyboardMapping(display);
    sink = std::make_unique<TypingSink>();
    QString why;
    QVERIFY2(sink->start(&why), qPrintable(why));
}

void TestTyperX11::cleanupTestCase()
{
    sink.reset();
    if (display)
        XCloseDisplay(display);
}

void TestTyperX11::init()
{
    const platform::KeyTyper::Result cleared = platform::typeKeyString(typer, QStringLiteral("^a{BS}"), true);
    QVERIFY2(cleared.ok, qPrintable(cleared.error));
    QCOMPARE(sink->waitForText(QString(), 3000), QString());
}

void TestTyperX11::checkKeyboardLeftAlone()
{
    QCOMPARE(keysDown(display), QString());
    typer.restoreKeyboard();
    QVERIFY2(keyboardMapping(display) == originalMapping, "keyboard mapping not restored");
}

void TestTyperX11::typesExactly_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("expected");
    auto plain = [](const char *name, const QString &text) { QTest::newRow(name) << escaped(text) << text; };
    plain("japanese sentence", QStringLiteral("こんにちは、世界。今日は良い天気ですね。"));
    plain("mixed scripts", QStringLiteral("カタカナとひらがなと漢字が混ざった文です"));
    plain("full-width reserved", QStringLiteral("～＋（）％＾"));
    plain("company name", QStringLiteral("（株）東京～大阪"));
    plain("full-width sum", QStringLiteral("１＋１＝２"));
    plain("ascii reserved", QStringLiteral("a+b^c%d~e(f)g"));
    plain("braces and brackets", QStringLiteral("{braces} and [brackets] {+}"));
    plain("ascii punctuation", QStringLiteral("Hello, World! 123 @#$&*_=|;:'\",.<>/?\\`"));
    plain("heading", QStringLiteral("#[見出し]"));
    plain("half-width kana", QStringLiteral("ｶﾀｶﾅﾃﾞｽ"));
    plain("outside BMP", QString::fromUtf8("𠮷野家の🍣"));
    plain("latin-1", QStringLiteral("café naïve ß © ±"));
    plain("full-width latin", QStringLiteral("ＡＢＣａｂｃ１２３"));
    plain("greek cyrillic", QStringLiteral("αβγ Привет"));
    plain("repeated character", QStringLiteral("ああああいいい"));
    plain("tab character", QStringLiteral("a\tb"));
    // More distinct characters than there are spare keycodes: several batches.
    plain("many distinct", QStringLiteral("一二三四五六七八九十百千万億兆京春夏秋冬東西南北上下左右前後"
                                          "赤青黄緑白黒金銀銅鉄山川海空雲雨雪風花鳥月星火水木土"));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("full-width escaped by hand")
        << QStringLiteral("{～}{＋}{（}{）}{％}{＾}") << QStringLiteral("～＋（）％＾");
    QTest::newRow("tab and enter keys") << QStringLiteral("a{TAB}b{ENTER}c~d") << QStringLiteral("a\tb\nc\nd");
    QTest::newRow("shift") << QStringLiteral("+a+(bc)d") << QStringLiteral("ABCd");
    QTest::newRow("repeat and cursor") << QStringLiteral("{x 3}{BS}{LEFT 2}y{END}{あ 2}") << QStringLiteral("yxxああ");
    QTest::newRow("ctrl does not type") << QStringLiteral("ab^{HOME}c") << QStringLiteral("cab");
}

void TestTyperX11::typesExactly()
{
    QFETCH(QString, keyString);
    QFETCH(QString, expected);
    const platform::KeyTyper::Result result = platform::typeKeyString(typer, keyString, true);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(sink->waitForText(expected, 3000), expected);
    checkKeyboardLeftAlone();
}

void TestTyperX11::refusedStringTypesNothing_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::newRow("lone brace at end") << QStringLiteral("あいう{");
    QTest::newRow("unknown name at end") << QStringLiteral("abc{NOPE}");
    QTest::newRow("modifier at end") << QStringLiteral("漢字+");
}

void TestTyperX11::refusedStringTypesNothing()
{
    QFETCH(QString, keyString);
    QVERIFY(!platform::typeKeyString(typer, keyString, true).ok);
    // A marker typed afterwards must be all the sink has.
    QVERIFY(platform::typeKeyString(typer, QStringLiteral("end"), true).ok);
    QCOMPARE(sink->waitForText(QStringLiteral("end"), 3000), QStringLiteral("end"));
    checkKeyboardLeftAlone();
}

void TestTyperX11::capsLockDoesNotChangeCase()
{
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
    XSync(display, False);
    // Borrowed letters with case beside characters without, two of those to a keycode.
    const QString borrowed = QStringLiteral("éあαいΩう");
    const platform::KeyTyper::Result result =
        platform::typeKeyString(typer, QStringLiteral("abcXYZ+a1!") + borrowed, true);
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);
    XSync(display, False);
    QVERIFY2(result.ok, qPrintable(result.error));
    // "+a" is Shift+a: with Caps Lock on a real keyboard gives "a", and so does the typer
    // once the letters are on keys that ignore Caps Lock; the written text stays as written.
    const QString seen = sink->waitForText(QStringLiteral("abcXYZa1!") + borrowed, 3000);
    QVERIFY2(seen == QStringLiteral("abcXYZa1!") + borrowed || seen == QStringLiteral("abcXYZA1!") + borrowed,
             qPrintable(seen));
    checkKeyboardLeftAlone();
}

// A receiver may read its keys late: the borrowed characters stay on their keycodes for
// a while after the last key, and then go back without being asked.
void TestTyperX11::mappingPutBackAfterTheLastKey()
{
    QVERIFY(platform::typeKeyString(typer, QStringLiteral("漢字"), true).ok);
    QCOMPARE(sink->waitForText(QStringLiteral("漢字"), 3000), QStringLiteral("漢字"));
    QVERIFY(keyboardMapping(display) != originalMapping);
    QTRY_VERIFY_WITH_TIMEOUT(keyboardMapping(display) == originalMapping, 10000);
}

// Alt down, Tab down, Tab up, Alt up through the one shared connection, twice.
void TestTyperX11::taskSwitchEventsLeaveNoKeyDown()
{
    platform::X11KeyEvents events;
    using platform::KeyEvents;
    for (int round = 0; round < 2; ++round) {
        events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyDown, 0);
        events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyDown, 0);
        QVERIFY(!keysDown(display).isEmpty());
        events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyUp, 0);
        events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyUp, 0);
        QCOMPARE(keysDown(display), QString());
    }
}

QTEST_GUILESS_MAIN(TestTyperX11)
#include "tst_typer_x11.moc"
