// The user's modifier keys on a real X server: the query that the task switch and
// the typer wait on, and the typer holding back while Ctrl is down.
#include "modifierwait.h"
#include "services_x11.h"
#include "sinkdriver.h"

#include <QElapsedTimer>
#include <QTest>
#include <memory>
#include <thread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using platform::KeyEvents;

namespace {

// Presses or releases a key through XTest, as a person at the keyboard would.
void setKey(Display *display, KeySym sym, bool down)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), down ? True : False, CurrentTime);
    XSync(display, False);
}

}  // namespace

class TestModifiersX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void queryFollowsTheKeyboard_data();
    void queryFollowsTheKeyboard();
    void typerWaitsForCtrlRelease();
    void typerRefusesWhileCtrlStaysDown();

private:
    Display *display = nullptr;
    std::unique_ptr<TypingSink> sink;
    platform::X11KeyTyper typer;
    platform::X11KeyEvents events;
};

void TestModifiersX11::initTestCase()
{
    display = XOpenDisplay(nullptr);
    if (!display)
        QSKIP("no X display");
}

void TestModifiersX11::cleanupTestCase()
{
    sink.reset();
    if (display)
        XCloseDisplay(display);
}

void TestModifiersX11::cleanup()
{
    for (KeySym sym : {XK_Control_L, XK_Control_R, XK_Shift_L, XK_Shift_R, XK_Alt_L, XK_Super_L})
        if (XKeysymToKeycode(display, sym))
            setKey(display, sym, false);
}

void TestModifiersX11::queryFollowsTheKeyboard_data()
{
    QTest::addColumn<QList<KeySym>>("keys");
    QTest::addColumn<int>("held");
    QTest::newRow("left Ctrl") << QList<KeySym>{XK_Control_L} << int(KeyEvents::HeldCtrl);
    QTest::newRow("right Ctrl") << QList<KeySym>{XK_Control_R} << int(KeyEvents::HeldCtrl);
    QTest::newRow("right Shift") << QList<KeySym>{XK_Shift_R} << int(KeyEvents::HeldShift);
    QTest::newRow("Alt") << QList<KeySym>{XK_Alt_L} << int(KeyEvents::HeldAlt);
    QTest::newRow("Super") << QList<KeySym>{XK_Super_L} << int(KeyEvents::HeldSuper);
    QTest::newRow("Ctrl and Shift") << QList<KeySym>{XK_Control_L, XK_Shift_L}
                                    << int(KeyEvents::HeldCtrl | KeyEvents::HeldShift);
    QTest::newRow("a letter is held as another key") << QList<KeySym>{XK_a} << int(KeyEvents::HeldOtherKey);
}

void TestModifiersX11::queryFollowsTheKeyboard()
{
    QFETCH(QList<KeySym>, keys);
    QFETCH(int, held);
    for (KeySym sym : keys)
        if (!XKeysymToKeycode(display, sym))
            QSKIP("the keyboard mapping lacks this key");
    QCOMPARE(int(events.heldModifiers()), 0);
    for (KeySym sym : keys)
        setKey(display, sym, true);
    QCOMPARE(int(events.heldModifiers()), held);
    for (KeySym sym : keys)
        setKey(display, sym, false);
    QCOMPARE(int(events.heldModifiers()), 0);
}

// "abc" typed while Ctrl is still down would be Ctrl+A, Ctrl+B, Ctrl+C: the sink would
// get no text at all. The typer waits for the release and then types the letters.
void TestModifiersX11::typerWaitsForCtrlRelease()
{
    sink = std::make_unique<TypingSink>();
    QString why;
    QVERIFY2(sink->start(&why), qPrintable(why));
    setKey(display, XK_Control_L, true);
    std::thread releaser([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Display *own = XOpenDisplay(nullptr);
        setKey(own, XK_Control_L, false);
        XCloseDisplay(own);
    });
    const platform::KeyTyper::Result result = platform::typeKeyString(typer, QStringLiteral("abc"), true);
    releaser.join();
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(sink->waitForText(QStringLiteral("abc"), 3000), QStringLiteral("abc"));
}

// Ctrl never let go: after the bound nothing is typed, the refusal says why, and
// the user's Ctrl is still down (the typer releases nothing of the user's).
void TestModifiersX11::typerRefusesWhileCtrlStaysDown()
{
    if (!sink) {
        sink = std::make_unique<TypingSink>();
        QString why;
        QVERIFY2(sink->start(&why), qPrintable(why));
    }
    const QString before = sink->text();
    setKey(display, XK_Control_L, true);
    QElapsedTimer waited;
    waited.start();
    const platform::KeyTyper::Result result = platform::typeKeyString(typer, QStringLiteral("xyz"), true);
    const qint64 elapsed = waited.elapsed();
    QCOMPARE(int(events.heldModifiers()), int(KeyEvents::HeldCtrl));
    setKey(display, XK_Control_L, false);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QStringLiteral("Ctrl")), qPrintable(result.error));
    // It did wait before giving up.
    QVERIFY2(elapsed >= platform::ModifierReleaseBoundMs, qPrintable(QString::number(elapsed)));
    QVERIFY(platform::typeKeyString(typer, QStringLiteral("!"), true).ok);
    QCOMPARE(sink->waitForText(before + QStringLiteral("!"), 3000), before + QStringLiteral("!"));
}

QTEST_GUILESS_MAIN(TestModifiersX11)
#include "tst_modifiers_x11.moc"
