// Caption buttons, compact mode with its clock caption, and dragging by the title
// band, offscreen (no system move here: the window follows the pointer itself).
#include "chrome/clockcaption.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "fakeservices.h"

#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

class TestCompact : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captionButtonsHaveNames();
    void compactModeSavesTheHeightAndStartsTheClock();
    void restoringKeepsTheBottomEdge();
    void compactFromMaximized();
    void restoreBeforeTheFirstCaptionKeepsTheClock();
    void clockCaption();
    void doubleClickMaximizesAndRestores_data();
    void doubleClickMaximizesAndRestores();
    void onlyTheLeftButtonDrags_data();
    void onlyTheLeftButtonDrags();
    void dragEndsInsideTheDesktop();
    void closeButtonCloses();

private:
    void restore();
    QTemporaryDir m_dir;
    platform::fake::FakeServiceSet m_fakes;
    FMain *m_window = nullptr;
    QDateTime m_now;
};

void TestCompact::init()
{
    common::AppInfo app{m_dir.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    m_now = QDateTime(QDate(2026, 12, 6), QTime(9, 5, 0));
    m_window = new FMain(m_fakes.services(), app);
    m_window->compactMode()->setClock([this] { return m_now; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestCompact::cleanup() { delete m_window; }

void TestCompact::restore()
{
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    QCoreApplication::processEvents();
}

void TestCompact::captionButtonsHaveNames()
{
    QStringList names;
    for (QAction *a : toolbar3(*m_window)->actions())
        names << toolbar3(*m_window)->widgetForAction(a)->accessibleName();
    QCOMPARE(names, (QStringList{"最小化", "最大化", "閉じる"}));
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Minimize), CaptionPicture::Minimize);
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Maximize);
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Close), CaptionPicture::Close);
}

void TestCompact::compactModeSavesTheHeightAndStartsTheClock()
{
    QVERIFY(!timer1(*m_window)->isActive());
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    QVERIFY(m_window->isMinimized());
    QVERIFY(timer1(*m_window)->isActive());
    QCOMPARE(timer1(*m_window)->interval(), 100);
    QCOMPARE(m_window->compactMode()->savedHeight(), 3000.0);
    m_now = m_now.addSecs(1);
    m_window->compactMode()->tick();
    restore();
    QVERIFY(!timer1(*m_window)->isActive());
    QVERIFY(m_window->windowTitle().isEmpty());
}

void TestCompact::restoringKeepsTheBottomEdge()
{
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    m_now = m_now.addSecs(1);
    m_window->compactMode()->tick();
    QVERIFY(!m_window->windowTitle().isEmpty());
    // The system hands the window back with another height.
    m_window->setGeometry(100, 300, 400, 120);
    const int bottom = 300 + 120;
    restore();
    QVERIFY(m_window->windowTitle().isEmpty());
    QVERIFY(!timer1(*m_window)->isActive());
    QCOMPARE(m_window->height(), 200);
    QCOMPARE(m_window->y() + m_window->height(), bottom);
}

void TestCompact::compactFromMaximized()
{
    pressCaptionButton(*m_window, CaptionButton::Maximize);
    QVERIFY(m_window->isMaximized());
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Restore);
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    QVERIFY(m_window->isMinimized());
    QVERIFY(!m_window->isMaximized());
    QCOMPARE(m_window->compactMode()->savedHeight(), 3000.0);  // the normal height, not the maximized one
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Maximize);
    restore();
    QVERIFY(!m_window->isMaximized());
    QCOMPARE(m_window->height(), 200);
}

void TestCompact::restoreBeforeTheFirstCaptionKeepsTheClock()
{
    // Started in second 0: the caption stays empty until the second changes, and a
    // restore in that second does not end compact mode; the next layout with a
    // caption does.
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    m_window->compactMode()->tick();
    QVERIFY(m_window->windowTitle().isEmpty());
    restore();
    QVERIFY(timer1(*m_window)->isActive());
    m_now = m_now.addSecs(1);
    m_window->compactMode()->tick();
    QVERIFY(!m_window->windowTitle().isEmpty());
    m_window->resize(410, 200);
    QCoreApplication::processEvents();
    QVERIFY(!timer1(*m_window)->isActive());
    QVERIFY(m_window->windowTitle().isEmpty());
}

void TestCompact::clockCaption()
{
    const QString face = clockcaption::face();
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    m_window->compactMode()->tick();
    QVERIFY(m_window->windowTitle().isEmpty());
    m_now = m_now.addSecs(1);
    m_window->compactMode()->tick();
    QCOMPARE(m_window->windowTitle(), "12:6 9:5" + face + "Zzz");
    m_window->compactMode()->tick();  // same second
    QCOMPARE(m_window->windowTitle(), "12:6 9:5" + face + "Zzz");
    m_now = m_now.addSecs(1);
    m_window->compactMode()->tick();
    QCOMPARE(m_window->windowTitle(), "12:6 9:5" + face + "ZZz");
    // The cycle goes on in the next compact mode.
    restore();
    QVERIFY(m_window->windowTitle().isEmpty());
    pressCaptionButton(*m_window, CaptionButton::Minimize);
    m_now = QDateTime(QDate(2027, 1, 1), QTime(0, 0, 30));
    m_window->compactMode()->tick();
    QCOMPARE(m_window->windowTitle(), "1:1 0:0" + face + "ZZZ");
    // The timer itself writes the caption.
    m_now = m_now.addSecs(1);
    QTRY_COMPARE(m_window->windowTitle(), "1:1 0:0" + face + "zZZ");
}

void TestCompact::doubleClickMaximizesAndRestores_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("title band") << "Frame2";
    QTest::newRow("icon") << "Image1";
    QTest::newRow("title") << "Label1";
}

void TestCompact::doubleClickMaximizesAndRestores()
{
    QFETCH(QString, target);
    QWidget *w = m_window->findChild<QWidget *>(target);
    QVERIFY(w);
    const QPoint at(2, 2);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    QVERIFY(m_window->isMaximized());
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Restore);
    QCOMPARE(toolbar3(*m_window)->widgetForAction(toolbar3(*m_window)->actions().at(1))->accessibleName(),
             QStringLiteral("元に戻す"));
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    QVERIFY(!m_window->isMaximized());
    QCOMPARE(m_window->captionButtons()->picture(CaptionButton::Maximize), CaptionPicture::Maximize);
}

void TestCompact::onlyTheLeftButtonDrags_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("moves");
    QTest::newRow("left") << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(Qt::RightButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
}

void TestCompact::onlyTheLeftButtonDrags()
{
    QFETCH(int, button);
    QFETCH(bool, moves);
    m_window->move(100, 100);
    QLabel *title = label1(*m_window);
    const auto b = Qt::MouseButton(button);
    const QPoint start = title->mapToGlobal(QPoint(3, 3));
    QTest::mousePress(title, b, {}, QPoint(3, 3));
    QTest::mouseMove(title, title->mapFromGlobal(start + QPoint(-30, -20)));
    QTest::mouseRelease(title, b, {}, title->mapFromGlobal(start + QPoint(-30, -20)));
    QCOMPARE(m_window->pos(), moves ? QPoint(70, 80) : QPoint(100, 100));
}

void TestCompact::dragEndsInsideTheDesktop()
{
    // The fakes' desktop is 1024 x 768; the window starts in its bottom-right corner.
    QFrame *band = frame2(*m_window);
    const QPoint start = band->mapToGlobal(QPoint(40, 3));
    QTest::mousePress(band, Qt::LeftButton, {}, QPoint(40, 3));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(band, band->mapFromGlobal(start + QPoint(100 * step, -50 * step)));
    QCOMPARE(m_window->x(), 624 + 400);  // past the edge while the button is held
    QTest::mouseRelease(band, Qt::LeftButton, {}, band->mapFromGlobal(start + QPoint(400, -200)));
    QCOMPARE(m_window->frameGeometry().right(), 1023);
    QCOMPARE(m_window->y(), 568 - 200);
}

void TestCompact::closeButtonCloses()
{
    pressCaptionButton(*m_window, CaptionButton::Close);
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestCompact)
#include "tst_compact.moc"
