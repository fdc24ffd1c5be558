// Direct output end to end on the private display (Xvfb + openbox): the typing sink
// is the window the user was working in, the viewer is activated after it, and the
// user's own actions (a double-click on a key row, or Ctrl+B with the row selected)
// must make the sink receive exactly the key, with the focus back in the viewer.
//
// The viewer is an FMain in this process with the native services, the very objects
// tuvelv's main() builds. The program itself is not started: from outside its rows
// can only be found by guessing at pixels, while here every row's place on the screen
// is known exactly. Everything the user does still goes through the X server as real
// input (xdotool, XTest), and openbox answers the viewer's Alt+Tab.
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "chrome/ftitle.h"
#include "main/fmain.h"
#include "../viewer/windowcontrols.h"
#include "cp932.h"
#include "services.h"
#include "sinkdriver.h"
#include "../viewer/testwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include "x11property.h"

namespace {

enum Trigger {
    DoubleClick,
    ClickThenCtrlB,
    DownThenCtrlB,
    CtrlLetGoLate,  // Ctrl+B as a person presses it: Ctrl still down for a moment after B
};

struct KeyCase {
    const char *name;
    QString line;      // the key line of the data file
    QString received;  // what the sink must get
    Trigger trigger;
};

// In file order. Braces appear only in forms the typer accepts: "{{}" and "{}}" for a
// brace itself, "{TAB}", "{ENTER}" and "{- 5}" as named keys and a repeat. A lone
// brace or "{+}" (which the viewer turns into "{{+}}") would be refused.
QList<KeyCase> keyCases()
{
    return {
        {"japanese sentence", QStringLiteral("今日は良い天気ですね。明日も晴れるでしょう。"),
         QStringLiteral("今日は良い天気ですね。明日も晴れるでしょう。"), DoubleClick},
        {"full-width reserved", QStringLiteral("～＋（）％＾"), QStringLiteral("～＋（）％＾"), ClickThenCtrlB},
        {"company name", QStringLiteral("（株）東京～大阪"), QStringLiteral("（株）東京～大阪"), DoubleClick},
        {"full-width sum", QStringLiteral("１＋１＝２"), QStringLiteral("１＋１＝２"), DownThenCtrlB},
        {"ascii reserved", QStringLiteral("a+b^c%d~e(f)g"), QStringLiteral("a+b^c%d~e(f)g"), DoubleClick},
        {"only reserved", QStringLiteral("+^%~()"), QStringLiteral("+^%~()"), DownThenCtrlB},
        {"empty key", QString(), QString(), DoubleClick},
        {"heading", QStringLiteral("#[挨拶]"), QStringLiteral("#[挨拶]"), DoubleClick},
        {"brackets", QStringLiteral("[見出しではない] [a]"), QStringLiteral("[見出しではない] [a]"), ClickThenCtrlB},
        {"brace itself", QStringLiteral("関数{{}x{}}"), QStringLiteral("関数{x}"), DoubleClick},
        {"tab and enter keys", QStringLiteral("氏名{TAB}山田{ENTER}次の行"), QStringLiteral("氏名\t山田\n次の行"),
         DownThenCtrlB},
        {"named key in lower case", QStringLiteral("上{enter}下"), QStringLiteral("上\n下"), DoubleClick},
        {"repeat", QStringLiteral("線{- 5}"), QStringLiteral("線-----"), ClickThenCtrlB},
        {"heading with reserved", QStringLiteral("#[記号（全角）+%]"), QStringLiteral("#[記号（全角）+%]"),
         DoubleClick},
        {"bare heading mark", QStringLiteral("#["), QStringLiteral("#["), DownThenCtrlB},
        {"half-width kana", QStringLiteral("ｶﾀｶﾅﾃﾞｽ"), QStringLiteral("ｶﾀｶﾅﾃﾞｽ"), DoubleClick},
        {"ascii punctuation", QStringLiteral("Hello, World! 123 @#$&*_=|;:'\",.<>/?\\`"),
         QStringLiteral("Hello, World! 123 @#$&*_=|;:'\",.<>/?\\`"), ClickThenCtrlB},
        {"tab character", QStringLiteral("列1\t列2"), QStringLiteral("列1\t列2"), DoubleClick},
        {"blanks kept", QStringLiteral("  前後に空白　"), QStringLiteral("  前後に空白　"), DownThenCtrlB},
        {"full-width latin", QStringLiteral("ＡＢＣａｂｃ１２３"), QStringLiteral("ＡＢＣａｂｃ１２３"), DoubleClick},
        {"percent and tilde", QStringLiteral("割引は５０％、送料（税込）～"),
         QStringLiteral("割引は５０％、送料（税込）～"), ClickThenCtrlB},
        {"mixed scripts", QStringLiteral("カタカナとひらがなと漢字"), QStringLiteral("カタカナとひらがなと漢字"),
         DoubleClick},
        {"same key again", QStringLiteral("今日は良い天気ですね。明日も晴れるでしょう。"),
         QStringLiteral("今日は良い天気ですね。明日も晴れるでしょう。"), DownThenCtrlB},
        {"ctrl let go late", QStringLiteral("遅れて離す"), QStringLiteral("遅れて離す"), CtrlLetGoLate},
        // Typed with Ctrl down these would be Ctrl+A, Ctrl+C, Ctrl+V in the sink.
        {"ctrl let go late, letters", QStringLiteral("acv"), QStringLiteral("acv"), CtrlLetGoLate},
    };
}

bool xdotool(const QStringList &args) { return QProcess::execute(QStringLiteral("xdotool"), args) == 0; }

bool doubleClickAt(const QPoint &global)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
                    QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                    QStringLiteral("60"), QStringLiteral("1")});
}

bool clickAt(const QPoint &global)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

bool pressKeys(const QString &keys) { return xdotool({QStringLiteral("key"), keys}); }

}  // namespace

class TestViewerOutputE2E : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void emptyListSendsNothing();
    void doubleClickOnCatalogueOpensTheList();
    void typesTheKeyAndTakesTheFocusBack_data();
    void typesTheKeyAndTakesTheFocusBack();

private:
    QTemporaryDir m_programFolder;
    std::unique_ptr<TypingSink> m_sink;
    std::unique_ptr<platform::ServiceSet> m_services;
    TestWindow *m_window = nullptr;
    Display *m_display = nullptr;
    Window m_sinkWindow = None;

    Window activeWindow() const;
    int sinkFocusIns();
    QString keysDown() const;
    QPoint globalOf(QWidget *w, const QPoint &p) const
    {
        return m_window->geometry().topLeft() + w->mapTo(m_window, p);
    }
    QPoint rowCentre(int row) const;
    QPoint serverPosition() const;
    bool viewerHasFocus() const;
};

Window TestViewerOutputE2E::activeWindow() const
{
    // _NET_ACTIVE_WINDOW of the root, as xprop -root shows it.
    const Atom active = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    return platform::x11::readProperty32(m_display, DefaultRootWindow(m_display), active, XA_WINDOW,
                                         static_cast<unsigned long>(None));
}

// The times the sink got the focus since the last call: the server reports them to
// this connection even while the viewer's thread (this thread) is busy typing.
int TestViewerOutputE2E::sinkFocusIns()
{
    XSync(m_display, False);
    int count = 0;
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == FocusIn && event.xfocus.window == m_sinkWindow && event.xfocus.mode == NotifyNormal &&
            event.xfocus.detail != NotifyPointer && event.xfocus.detail != NotifyInferior)
            ++count;
    }
    return count;
}

QString TestViewerOutputE2E::keysDown() const
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    QStringList down;
    for (int code = 0; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8)))
            down.append(QString::number(code));
    return down.join(u' ');
}

QPoint TestViewerOutputE2E::rowCentre(int row) const
{
    QAbstractItemView *view = listView2(*m_window)->activeView();
    const QRect rect = view->visualRect(keyListModel(*m_window)->index(row, 0));
    return globalOf(view->viewport(), rect.center());
}

QPoint TestViewerOutputE2E::serverPosition() const
{
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(m_display, m_window->winId(), DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    return QPoint(x, y);
}

bool TestViewerOutputE2E::viewerHasFocus() const
{
    return activeWindow() == m_window->winId() && m_window->isActiveWindow() &&
           QApplication::focusWidget() == listView2(*m_window)->activeView();
}

void TestViewerOutputE2E::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the X display of scripts/with-display.sh");
    m_display = XOpenDisplay(nullptr);
    QVERIFY(m_display);

    // The program folder: one data file, CP932 with CR LF, in the data box.
    QVERIFY(QDir(m_programFolder.path()).mkpath(QStringLiteral("tuveldbox")));
    QStringList lines{QStringLiteral("出力試験"), QStringLiteral("直接出力の試験用リスト"), QString()};
    for (const KeyCase &k : keyCases())
        lines.append(k.line);
    const QString text = lines.join(QStringLiteral("\r\n"));
    const QByteArray bytes = common::cp932::encode(text);
    QCOMPARE(common::cp932::decode(bytes), text);  // every key survives the code page
    QFile data(m_programFolder.filePath(QStringLiteral("tuveldbox/keys.txt")));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(bytes);
    data.close();

    // The window the user was working in.
    m_sink = std::make_unique<TypingSink>();
    QString why;
    QVERIFY2(m_sink->start(&why), qPrintable(why));
    QTRY_VERIFY(activeWindow() != None);
    m_sinkWindow = activeWindow();
    XSelectInput(m_display, m_sinkWindow, FocusChangeMask);

    // Then the viewer, opened and clicked on by the user.
    m_services = platform::createNativeServices();
    common::AppInfo app{m_programFolder.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    m_window = new TestWindow(m_services->services(), app);
    if (FTitle *splash = m_window->splash())
        splash->close();  // the splash has a test of its own
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTRY_COMPARE(m_window->geometry().bottomRight(),
                 QGuiApplication::primaryScreen()->availableGeometry().bottomRight());
    QCOMPARE(catalogueModel(*m_window)->count(), 1);
    // Clicks go where the server has the window, which may lag behind Qt's idea of it.
    QTRY_COMPARE(serverPosition(), m_window->geometry().topLeft());
    QWidget *keys = listView2(*m_window)->activeView();
    QVERIFY(clickAt(globalOf(keys, keys->rect().center())));
    QTRY_VERIFY_WITH_TIMEOUT(viewerHasFocus(), 5000);
    QVERIFY(m_window->winId() != m_sinkWindow);
    sinkFocusIns();  // only what follows counts
}

void TestViewerOutputE2E::cleanupTestCase()
{
    // A look at the desktop as the user sees it, when asked for.
    const QString shot = qEnvironmentVariable("TUVEL_E2E_SCREENSHOT");
    if (!shot.isEmpty())
        QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
    delete m_window;
    m_sink.reset();
    if (m_display)
        XCloseDisplay(m_display);
}

void TestViewerOutputE2E::emptyListSendsNothing()
{
    QCOMPARE(keyListModel(*m_window)->count(), 0);
    QWidget *keys = listView2(*m_window)->activeView();
    QVERIFY(pressKeys(QStringLiteral("ctrl+b")));
    QVERIFY(doubleClickAt(globalOf(keys, keys->rect().center())));
    // Nothing can be waited for when nothing is to happen: a bounded look instead.
    QTest::qWait(500);
    QCOMPARE(sinkFocusIns(), 0);
    QVERIFY(viewerHasFocus());
    QCOMPARE(m_sink->text(), QString());
    QCOMPARE(keysDown(), QString());
}

void TestViewerOutputE2E::doubleClickOnCatalogueOpensTheList()
{
    QTableView *catalogue = listView1(*m_window);
    const QRect row = catalogue->visualRect(catalogueModel(*m_window)->index(0, 0));
    QVERIFY(doubleClickAt(globalOf(catalogue->viewport(), row.center())));
    QTRY_COMPARE(keyListModel(*m_window)->count(), int(keyCases().size()));
    QCOMPARE(keyListModel(*m_window)->heading(), QStringLiteral("キー (出力試験)"));
    QVERIFY(viewerHasFocus() || QApplication::focusWidget() == catalogue);
    QCOMPARE(sinkFocusIns(), 0);
}

void TestViewerOutputE2E::typesTheKeyAndTakesTheFocusBack_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("trigger");
    const QList<KeyCase> cases = keyCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name) << i << cases[i].received << int(cases[i].trigger);
}

void TestViewerOutputE2E::typesTheKeyAndTakesTheFocusBack()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    QFETCH(int, trigger);
    QVERIFY2(keyListModel(*m_window)->count() > row, "the list did not open");
    KeyListView *keys = listView2(*m_window);
    const QString before = m_sink->text();

    switch (trigger) {
    case DoubleClick:
        keys->scrollToRow(row);  // the user scrolls the row into sight
        QVERIFY(doubleClickAt(rowCentre(row)));
        break;
    case ClickThenCtrlB:
        keys->scrollToRow(row);
        QVERIFY(clickAt(rowCentre(row)));
        QTRY_COMPARE(keys->currentRow(), row);
        QVERIFY(pressKeys(QStringLiteral("ctrl+b")));
        break;
    case DownThenCtrlB:
        // The key before is still the current row after its output.
        QCOMPARE(keys->currentRow(), row - 1);
        QVERIFY(pressKeys(QStringLiteral("Down")));
        QTRY_COMPARE(keys->currentRow(), row);
        QVERIFY(pressKeys(QStringLiteral("ctrl+b")));
        break;
    case CtrlLetGoLate:
        keys->scrollToRow(row);
        QVERIFY(clickAt(rowCentre(row)));
        QTRY_COMPARE(keys->currentRow(), row);
        // Not waited for: the viewer must read Ctrl+B while xdotool still holds Ctrl.
        QVERIFY(QProcess::startDetached(QStringLiteral("xdotool"),
                                        {QStringLiteral("keydown"), QStringLiteral("ctrl"), QStringLiteral("key"),
                                         QStringLiteral("b"), QStringLiteral("sleep"), QStringLiteral("0.15"),
                                         QStringLiteral("keyup"), QStringLiteral("ctrl")}));
        break;
    }

    // The switch to the sink and back happens for every key, the empty one too.
    int focusIns = 0;
    QTRY_VERIFY_WITH_TIMEOUT((focusIns += sinkFocusIns()) > 0 && viewerHasFocus(), 5000);
    QCOMPARE(focusIns, 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_sink->text().mid(before.size()), expected, 3000);
    QVERIFY(m_sink->text().startsWith(before));
    QCOMPARE(keys->currentRow(), row);
    QCOMPARE(m_window->messages, QStringList());
    QCOMPARE(keysDown(), QString());
}

QTEST_MAIN(TestViewerOutputE2E)
#include "tst_viewer_output_e2e.moc"
