// The Wayland typer against a real compositor (headless sway, scripts/with-sway.sh) and
// a real native Wayland client (the typing sink on Qt's wayland platform): what the
// sink receives must be the key exactly, first character included.
#include "keystring.h"
#include "output/taskchange.h"
#include "services.h"
#include "waylandkeyevents.h"
#include "waylandsession.h"
#include "waylandtyper.h"
#include "sinkdriver.h"

#include <QTest>

namespace {

QString longText()
{
    // 150 characters, hiragana, katakana, kanji, full-width and ASCII, some repeated.
    const QString piece = QStringLiteral("吾輩は猫である。名前はまだ無い。ｶﾀｶﾅＡＢＣabcXYZ！？～");
    QString text;
    while (text.size() < 150)
        text += piece;
    return text.left(150);
}

// More distinct characters than one keymap holds: several keymaps in a row.
QString manyDistinct(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(0x4e00 + i * 7);
    return text;
}

}  // namespace

class TestTyperWayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void typesExactly_data();
    void typesExactly();
    void keymapChangesInOneWindow();
    void refusesWhatCannotBeTyped();
    void refusesWithoutTheProtocols_data();
    void refusesWithoutTheProtocols();

private:
    std::unique_ptr<platform::ServiceSet> m_services;
    platform::KeyTyper *m_typer = nullptr;
};

void TestTyperWayland::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        QSKIP("no Wayland session: run through scripts/with-sway.sh");
    // The services tuvelv makes: on a Wayland session their typer is the Wayland one.
    m_services = platform::createNativeServices();
    m_typer = m_services->services().keyTyper;
}

void TestTyperWayland::typesExactly_data()
{
    QTest::addColumn<QString>("qpa");  // of the receiving window: native Wayland or XWayland
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    const QString wayland = QStringLiteral("wayland");
    const QString xwayland = QStringLiteral("xcb");
    const QString wtypeLoss = QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～");
    QTest::newRow("japanese") << wayland << wtypeLoss << wtypeLoss;
    QTest::newRow("japanese again, new keymap")
        << wayland << QStringLiteral("さようなら、世界") << QStringLiteral("さようなら、世界");
    QTest::newRow("half-width kana") << wayland << QStringLiteral("ｱｲｳｴｵﾊﾟﾋﾟﾌﾟｰ｡｢｣")
                                     << QStringLiteral("ｱｲｳｴｵﾊﾟﾋﾟﾌﾟｰ｡｢｣");
    QTest::newRow("full-width symbols") << wayland << QStringLiteral("！＂＃＄｛｝［］＠￥{＋}{（}{）}{％}{＾}{～}")
                                        << QStringLiteral("！＂＃＄｛｝［］＠￥＋（）％＾～");
    QTest::newRow("tab and enter") << wayland << QStringLiteral("氏名{TAB}山田{ENTER}次~終")
                                   << QStringLiteral("氏名\t山田\n次\n終");
    QTest::newRow("ascii, capitals, reserved") << wayland << QStringLiteral("Hello, World! {+}{^}{%}{~}{(}{)} aZ09")
                                               << QStringLiteral("Hello, World! +^%~() aZ09");
    QTest::newRow("shift held") << wayland << QStringLiteral("+(ab)c") << QStringLiteral("ABc");
    // The cursor goes back over two あ, Backspace takes the first.
    QTest::newRow("repeats and named keys")
        << wayland << QStringLiteral("{x 5}{あ 3}{LEFT 2}{BS}") << QStringLiteral("xxxxxああ");
    QTest::newRow("150 characters") << wayland << longText() << longText();
    QTest::newRow("three keymaps") << wayland << manyDistinct(500) << manyDistinct(500);
    // An X client reads keys with the keymap it fetched last: batches must wait for it.
    QTest::newRow("xwayland japanese") << xwayland << wtypeLoss << wtypeLoss;
    QTest::newRow("xwayland tab, enter, capitals")
        << xwayland << QStringLiteral("Ab{TAB}c~d") << QStringLiteral("Ab\tc\nd");
    QTest::newRow("xwayland three keymaps") << xwayland << manyDistinct(500) << manyDistinct(500);
}

void TestTyperWayland::typesExactly()
{
    QFETCH(QString, qpa);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    TypingSink sink(qpa);
    QString why;
    QVERIFY2(sink.start(&why), qPrintable(why));
    const platform::KeyTyper::Result result = platform::typeKeyString(*m_typer, keys, true);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(sink.waitForText(expected, 5000), expected);
}

// Each key brings a keymap of its own; the window keeps its focus and must read every
// key of each with the right keymap, the first one included.
void TestTyperWayland::keymapChangesInOneWindow()
{
    TypingSink sink(QStringLiteral("wayland"));
    QString why;
    QVERIFY2(sink.start(&why), qPrintable(why));
    const QStringList keys{QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～"), QStringLiteral("さようなら"),
                           QStringLiteral("ｱｲｳ"), QStringLiteral("Abc"), QStringLiteral("世界")};
    QString expected;
    for (const QString &key : keys) {
        const platform::KeyTyper::Result result = platform::typeKeyString(*m_typer, key, true);
        QVERIFY2(result.ok, qPrintable(result.error));
        expected += key;
        QCOMPARE(sink.waitForText(expected, 5000), expected);
    }
}

void TestTyperWayland::refusesWhatCannotBeTyped()
{
    TypingSink sink(QStringLiteral("wayland"));
    QString why;
    QVERIFY2(sink.start(&why), qPrintable(why));
    const platform::KeyTyper::Result result = platform::typeKeyString(*m_typer, QStringLiteral("ab{"), true);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QTest::qWait(300);
    QCOMPARE(sink.text(), QString());
}

void TestTyperWayland::refusesWithoutTheProtocols_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("message");
    QTest::newRow("no window list") << QStringLiteral("zwlr_foreign_toplevel_manager_v1")
                                    << platform::wayland::noToplevelListMessage();
    QTest::newRow("no virtual keyboard") << QStringLiteral("zwp_virtual_keyboard_manager_v1")
                                         << platform::wayland::noVirtualKeyboardMessage();
}

// A compositor without one of the two protocols: the switch cannot happen or nothing
// can be typed, so nothing is typed anywhere and the typer says why.
void TestTyperWayland::refusesWithoutTheProtocols()
{
    QFETCH(QString, missing);
    QFETCH(QString, message);
    using namespace platform::wayland;
    std::unique_ptr<Session> session = Session::connect({missing});
    QVERIFY(session);
    SwitchState state;
    WaylandKeyEvents events(*session, state, {});
    WaylandKeyTyper typer(*session, state, {}, {});
    TypingSink sink(QStringLiteral("wayland"));
    QString why;
    QVERIFY2(sink.start(&why), qPrintable(why));
    MTaskChange::ChangeTask(events, 0);
    const platform::KeyTyper::Result result = platform::typeKeyString(typer, QStringLiteral("打たない"), true);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, message);
    QTest::qWait(300);
    QCOMPARE(sink.text(), QString());
}

QTEST_GUILESS_MAIN(TestTyperWayland)
#include "tst_typer_wayland.moc"
