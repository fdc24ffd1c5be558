// The window chrome on a real display (Xvfb + openbox): stacking, placement,
// compact mode through the window manager, dragging by the title band, splash.
#include "chrome/ftitle.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "services.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

bool xdotool(const QStringList &args) { return QProcess::execute(QStringLiteral("xdotool"), args) == 0; }

QString xprop(WId id, const QString &property)
{
    QProcess p;
    // In the C locale xprop prints non-ASCII text as octal escapes.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(id), property});
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void pointerTo(const QPoint &global)
{
    xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
    QTest::qWait(150);
}

}  // namespace

class TestChromeDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void topmostAtTheBottomRight();
    void compactModeAnimatesAndRestoreKeepsTheBottomEdge();
    void dragPastTheEdgeEndsInsideTheDesktop();
    void doubleClickMaximizes();
    void splashClosesAfterAboutThreeSeconds();

private:
    // The window has no frame of its own: its geometry is its outer edge.
    // Screen position of a point of a control, from the window's own geometry (the
    // native window's idea of its position can lag behind while it is being framed).
    QPoint globalOf(QWidget *w, const QPoint &p) const
    {
        return m_window->geometry().topLeft() + w->mapTo(m_window, p);
    }
    QRect desktop() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    QTemporaryDir m_dir;
    std::unique_ptr<platform::ServiceSet> m_services;
    FMain *m_window = nullptr;
};

void TestChromeDisplay::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the X display of scripts/with-display.sh");
    m_services = platform::createNativeServices();
}

void TestChromeDisplay::init()
{
    common::AppInfo app{m_dir.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    m_window = new FMain(m_services->services(), app);
    if (FTitle *splash = m_window->splash())
        splash->close();  // out of the way; it has a test of its own
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTRY_COMPARE(m_window->geometry().bottomRight(), desktop().bottomRight());
}

void TestChromeDisplay::cleanup()
{
    delete m_window;
    m_window = nullptr;
    QTest::qWait(100);
}

void TestChromeDisplay::topmostAtTheBottomRight()
{
    QCOMPARE(m_window->geometry().size(), QSize(400, 200));
    QTRY_VERIFY(
        xprop(m_window->winId(), QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("_NET_WM_STATE_ABOVE")));
}

void TestChromeDisplay::compactModeAnimatesAndRestoreKeepsTheBottomEdge()
{
    const int bottom = m_window->geometry().bottom();
    QToolBar *buttons = toolbar3(*m_window);
    QWidget *minimize = buttons->widgetForAction(buttons->actions().at(0));
    pointerTo(globalOf(minimize, minimize->rect().center()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QTRY_VERIFY(m_window->isMinimized());
    QTRY_VERIFY(xprop(m_window->winId(), QStringLiteral("WM_STATE")).contains(QLatin1String("Iconic")));
    // The caption comes, then changes with the next second.
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->windowTitle().isEmpty(), 3000);
    const QString first = m_window->windowTitle();
    QTRY_VERIFY_WITH_TIMEOUT(m_window->windowTitle() != first, 3000);
    QTRY_VERIFY(xprop(m_window->winId(), QStringLiteral("_NET_WM_NAME")).contains(m_window->windowTitle()));

    // The user brings it back through the window manager.
    xdotool({QStringLiteral("windowactivate"), QString::number(m_window->winId())});
    QTRY_VERIFY(!m_window->isMinimized());
    QTRY_VERIFY(m_window->windowTitle().isEmpty());
    QVERIFY(!timer1(*m_window)->isActive());
    QTRY_COMPARE(m_window->geometry().bottom(), bottom);
    QCOMPARE(m_window->height(), 200);
}

void TestChromeDisplay::dragPastTheEdgeEndsInsideTheDesktop()
{
    const QRect before = m_window->geometry();
    QLabel *title = label1(*m_window);
    const QPoint grab = globalOf(title, QPoint(10, title->height() / 2));
    pointerTo(grab);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(600);  // a person holds the button a moment before moving; a slow machine needs it
    pointerTo(grab + QPoint(60, -100));
    pointerTo(grab + QPoint(150, -250));
    pointerTo(grab + QPoint(250, -300));
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    // Moved up by the drag, pulled back from past the right edge.
    QTRY_COMPARE(m_window->geometry().top(), before.top() - 300);
    QTRY_COMPARE(m_window->geometry().right(), desktop().right());
    QTest::qWait(300);
    QCOMPARE(m_window->geometry().right(), desktop().right());
}

void TestChromeDisplay::doubleClickMaximizes()
{
    QFrame *band = frame2(*m_window);
    pointerTo(globalOf(band, QPoint(band->width() - 10, band->height() / 2)));
    xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
             QStringLiteral("80"), QStringLiteral("1")});
    QTRY_VERIFY(m_window->isMaximized());
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Restore);
    QTRY_COMPARE(m_window->geometry().size(), desktop().size());
    pressCaptionButton(*m_window, CaptionButton::Maximize);
    QTRY_COMPARE(m_window->geometry().size(), QSize(400, 200));
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Maximize);
}

void TestChromeDisplay::splashClosesAfterAboutThreeSeconds()
{
    QElapsedTimer clock;
    clock.start();
    common::AppInfo app{m_dir.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    FMain window(m_services->services(), app);
    QPointer<FTitle> splash = window.splash();
    QVERIFY(splash);
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QCOMPARE(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 8000);
    QVERIFY2(clock.elapsed() >= 2500 && clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_MAIN(TestChromeDisplay)
#include "tst_chrome_display.moc"
