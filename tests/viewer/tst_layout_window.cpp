// The main window's layout: band strip, splitter bar and the two lists, offscreen.
#include "catalogue/keylistview.h"
#include "layout/coolbar.h"
#include "layout/layoutmath.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "fakeservices.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TestLayoutWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsAt6000By3000WithTheBarAtAThird();
    void listsMeetTheBar_data();
    void listsMeetTheBar();
    void barSteps_data();
    void barSteps();
    void barShowsAboveTheListsWhileDragged_data();
    void barShowsAboveTheListsWhileDragged();
    void rightButtonDoesNothing();
    void bothButtonsMoveNothingAndLeftReleaseFits();
    void narrowWindowPullsTheBarIn();
    void bandsFitTheirButtons();
    void tallerStripMovesTheLists();
    void staysOnTop();

private:
    void verifyLayout(bool afterResize = true);
    QRect barRect() const { return frameCenterBar(*m_window)->geometry(); }

    QTemporaryDir m_dir;
    platform::fake::FakeServiceSet m_fakes;
    FMain *m_window = nullptr;
};

void TestLayoutWindow::init()
{
    common::AppInfo app{m_dir.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    m_window = new FMain(m_fakes.services(), app);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCoreApplication::processEvents();
}

void TestLayoutWindow::cleanup() { delete m_window; }

void TestLayoutWindow::verifyLayout(bool afterResize)
{
    const QRect strip = coolBar1(*m_window)->geometry();
    const QRect status = statusBar1(*m_window)->geometry();
    const QRect bar = barRect();
    const QRect list1 = listView1(*m_window)->geometry();
    const QRect list2 = listView2(*m_window)->geometry();
    QCOMPARE(strip.topLeft(), QPoint(0, 0));
    QCOMPARE(strip.width(), m_window->width());
    QCOMPARE(status.y() + status.height(), m_window->height());
    QCOMPARE(bar.y(), 0);
    QCOMPARE(bar.height(), m_window->height());
    QCOMPARE(list1.x(), 0);
    QCOMPARE(list1.x() + list1.width(), bar.x());
    QCOMPARE(list2.x(), bar.x() + bar.width());
    QCOMPARE(list2.x() + list2.width(), m_window->width());
    for (const QRect &list : {list1, list2}) {
        QCOMPARE(list.y(), strip.height());
        QCOMPARE(list.y() + list.height(), status.y());
    }
    // Each resize makes the key column 300 twips narrower than its list.
    if (afterResize)
        QCOMPARE(listView2(*m_window)->columnWidth(), qMax(0, list2.width() - 20));
    QCOMPARE(frameCenterBar(*m_window)->backgroundRole(), QPalette::Window);
}

void TestLayoutWindow::startsAt6000By3000WithTheBarAtAThird()
{
    QCOMPARE(m_window->size(), QSize(400, 200));
    QCOMPARE(m_window->listsLayout()->barLeft(), 2000.0);
    // Bottom-right corner of the desktop (1024 x 768 in the fakes).
    QCOMPARE(m_window->frameGeometry().bottomRight(), QPoint(1023, 767));
    verifyLayout();
}

void TestLayoutWindow::listsMeetTheBar_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("wider") << QSize(700, 300);
    QTest::newRow("narrower, bar still fits") << QSize(200, 150);
    QTest::newRow("odd sizes") << QSize(333, 177);
}

void TestLayoutWindow::listsMeetTheBar()
{
    QFETCH(QSize, size);
    m_window->resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->listsLayout()->barLeft(), 2000.0);  // the bar stays where it was
    verifyLayout();
}

void TestLayoutWindow::barSteps_data()
{
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("moveX");
    QTest::addColumn<double>("barLeft");
    QTest::addColumn<int>("list1Width");
    QTest::addColumn<int>("list2Width");
    QTest::newRow("right by 40 pixels") << 1 << 41 << 2000.0 + 41 * 15 << 174 << 400 - 178;
    QTest::newRow("past the left edge") << 1 << -500 << 0.0 << 0 << 400 - 3;
    QTest::newRow("past the right edge") << 1 << 900 << 5950.0 << 397 << 0;
}

void TestLayoutWindow::barSteps()
{
    QFETCH(int, pressX);
    QFETCH(int, moveX);
    QFETCH(double, barLeft);
    QFETCH(int, list1Width);
    QFETCH(int, list2Width);
    QFrame *bar = frameCenterBar(*m_window);
    const QRect list1Before = listView1(*m_window)->geometry();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(pressX, 20));
    QTest::mouseMove(bar, QPoint(moveX, 20));
    // While dragging only the bar moves, in the shadow colour.
    QCOMPARE(m_window->listsLayout()->barLeft(), barLeft);
    QCOMPARE(bar->backgroundRole(), QPalette::Dark);
    QCOMPARE(listView1(*m_window)->geometry(), list1Before);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromParent(bar->pos()));
    QCOMPARE(listView1(*m_window)->width(), list1Width);
    QCOMPARE(listView2(*m_window)->width(), list2Width);
    verifyLayout(false);
}

void TestLayoutWindow::barShowsAboveTheListsWhileDragged_data()
{
    QTest::addColumn<int>("moveX");
    QTest::newRow("over the catalogue") << -60;
    QTest::newRow("over the key list") << 80;
    QTest::newRow("at the left edge") << -500;
}

void TestLayoutWindow::barShowsAboveTheListsWhileDragged()
{
    QFETCH(int, moveX);
    QFrame *bar = frameCenterBar(*m_window);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 20));
    QTest::mouseMove(bar, QPoint(moveX, 20));
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->backgroundRole(), QPalette::Dark);
    const QObjectList stacking = m_window->children();  // bottom to top
    QVERIFY(stacking.indexOf(bar) > stacking.indexOf(listView1(*m_window)));
    QVERIFY(stacking.indexOf(bar) > stacking.indexOf(listView2(*m_window)));
    const QRect r = barRect();
    QCOMPARE(m_window->childAt(r.center()), bar);
    // The strip and the status bar stay whole over the bar's two ends.
    QWidget *top = m_window->childAt(r.center().x(), coolBar1(*m_window)->height() / 2);
    QVERIFY(top && (top == coolBar1(*m_window) || coolBar1(*m_window)->isAncestorOf(top)));
    const QRect status = statusBar1(*m_window)->geometry();
    QWidget *bottom = m_window->childAt(r.center().x(), status.center().y());
    QVERIFY(bottom && (bottom == statusBar1(*m_window) || statusBar1(*m_window)->isAncestorOf(bottom)));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(1, 20));
    verifyLayout(false);
}

void TestLayoutWindow::rightButtonDoesNothing()
{
    QFrame *bar = frameCenterBar(*m_window);
    const QRect before = barRect();
    // A narrower list beforehand shows whether the release re-fits the lists.
    listView1(*m_window)->resize(10, 10);
    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(1, 20));
    QTest::mouseMove(bar, QPoint(60, 20));
    QCOMPARE(bar->backgroundRole(), QPalette::Window);
    QCOMPARE(barRect(), before);
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(60, 20));
    QCOMPARE(listView1(*m_window)->size(), QSize(10, 10));
}

void TestLayoutWindow::bothButtonsMoveNothingAndLeftReleaseFits()
{
    QFrame *bar = frameCenterBar(*m_window);
    const QRect before = barRect();
    listView1(*m_window)->resize(10, 10);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 20));
    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(1, 20));
    QTest::mouseMove(bar, QPoint(60, 20));
    QCOMPARE(barRect(), before);
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(60, 20));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(60, 20));
    QCOMPARE(barRect(), before);
    verifyLayout(false);
}

void TestLayoutWindow::narrowWindowPullsTheBarIn()
{
    m_window->resize(100, 200);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->listsLayout()->barLeft(), 1500.0 - 50);
    verifyLayout();
}

void TestLayoutWindow::bandsFitTheirButtons()
{
    CoolBar *strip = coolBar1(*m_window);
    QCOMPARE(strip->bandCount(), 5);
    QCOMPARE(strip->bandCaption(5), QStringLiteral("項目"));
    // Band 1 can shrink to the icon, a square as high as the title band.
    QCOMPARE(image1(*m_window)->width(), frame2(*m_window)->height());
    QCOMPARE(image1(*m_window)->height(), frame2(*m_window)->height());
    QCOMPARE(strip->bandMinWidth(1), layoutmath::toTwips(image1(*m_window)->width()));
    QCOMPARE(label1(*m_window)->x(), image1(*m_window)->width());

    auto *menus = m_window->findChild<QToolBar *>(QStringLiteral("Toolbar2"));
    QVERIFY(menus);
    for (const char *key : {"File", "Edit", "View", "Help"})
        menus->addAction(QString::fromLatin1(key));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    for (auto [band, toolbar] : {std::pair{2, toolbar3(*m_window)}, std::pair{3, menus}}) {
        double sum = 0;
        for (QAction *a : toolbar->actions())
            sum += layoutmath::toTwips(toolbar->widgetForAction(a)->sizeHint().width());
        QVERIFY(sum > 0);
        QCOMPARE(strip->bandWidth(band), sum);
        QCOMPARE(strip->bandMinWidth(band), sum);
    }
    // Bands 1 and 5 fill their rows.
    QCOMPARE(strip->bandRect(2).right(), strip->width() - 1);
    QCOMPARE(strip->bandRect(1).right() + 1, strip->bandRect(2).left());
    QCOMPARE(strip->bandRect(5).right(), strip->width() - 1);
}

void TestLayoutWindow::tallerStripMovesTheLists()
{
    const int before = listView1(*m_window)->y();
    auto *commands = m_window->findChild<QToolBar *>(QStringLiteral("Toolbar4"));
    commands->setIconSize(QSize(48, 48));
    QPixmap big(48, 48);
    big.fill(Qt::red);
    commands->addAction(QIcon(big), QStringLiteral("DataOpen"));
    QTRY_VERIFY(listView1(*m_window)->y() > before);
    verifyLayout();
}

void TestLayoutWindow::staysOnTop()
{
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    m_window->showMinimized();
    QCoreApplication::processEvents();
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
}

QTEST_MAIN(TestLayoutWindow)
#include "tst_layout_window.moc"
