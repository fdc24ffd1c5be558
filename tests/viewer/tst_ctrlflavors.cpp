#include "fakeservices.h"
#include "util/ctrlflavors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

class TestCtrlFlavors : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void desktopSizeComesFromTheMetrics();
    void form2DPosition_data();
    void form2DPosition();
    void insideDeskTop_data();
    void insideDeskTop();
    void insideDeskTopLeavesMinimizedAndMaximizedAlone();
    void maxCtrlSizeFitsTheControl_data();
    void maxCtrlSizeFitsTheControl();
    void formNameTakesOnlyWindows();
    void form3DPositionChangesTheStacking();
    void undoGoesToTheSendTarget();
    void textBoxAutoSize();

private:
    platform::fake::FixedDesktopMetrics m_metrics;
    QWidget *m_form = nullptr;
    CCtrlFlavors *m_flavors = nullptr;
};

void TestCtrlFlavors::init()
{
    m_metrics.widthTwips = 1024 * 15;
    m_metrics.heightTwips = 768 * 15;
    m_form = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    m_form->setGeometry(10, 10, 400, 200);  // 6000 x 3000 twips
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_flavors = new CCtrlFlavors(&m_metrics);
    QVERIFY(m_flavors->setFormName(m_form));
}

void TestCtrlFlavors::cleanup()
{
    delete m_flavors;
    delete m_form;
}

void TestCtrlFlavors::desktopSizeComesFromTheMetrics()
{
    QCOMPARE(m_flavors->DeskTopWidth(), 15360);
    QCOMPARE(m_flavors->DeskTopHeight(), 11520);
}

void TestCtrlFlavors::form2DPosition_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("bottom-right corner on the desktop's") << 3 << QPoint(1024 - 400, 768 - 200);
    QTest::newRow("top-left") << 0 << QPoint(0, 0);
    QTest::newRow("top-right") << 1 << QPoint(1024 - 400, 0);
    QTest::newRow("bottom-left") << 2 << QPoint(0, 768 - 200);
    QTest::newRow("centre") << -1 << QPoint(312, 284);
    QTest::newRow("4 leaves it") << 4 << QPoint(10, 10);
    QTest::newRow("-2 leaves it") << -2 << QPoint(10, 10);
}

void TestCtrlFlavors::form2DPosition()
{
    QFETCH(int, type);
    QFETCH(QPoint, topLeft);
    m_flavors->Form2DPosition(type);
    QCOMPARE(m_form->frameGeometry().topLeft(), topLeft);
}

void TestCtrlFlavors::insideDeskTop_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("500 twips past the right edge") << QPoint(1024 - 400 + 33, 100) << QPoint(1024 - 400, 100);
    QTest::newRow("above the screen") << QPoint(50, -40) << QPoint(50, 0);
    QTest::newRow("below and left") << QPoint(-20, 700) << QPoint(0, 768 - 200);
    QTest::newRow("inside stays") << QPoint(5, 6) << QPoint(5, 6);
}

void TestCtrlFlavors::insideDeskTop()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    m_form->move(from);
    m_flavors->InsideDeskTop();
    QCOMPARE(m_form->frameGeometry().topLeft(), to);
}

void TestCtrlFlavors::insideDeskTopLeavesMinimizedAndMaximizedAlone()
{
    m_form->move(2000, -300);
    m_form->setWindowState(Qt::WindowMinimized);
    m_flavors->InsideDeskTop();
    QCOMPARE(m_form->pos(), QPoint(2000, -300));
}

void TestCtrlFlavors::maxCtrlSizeFitsTheControl_data()
{
    QTest::addColumn<QList<int>>("margins");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("catalogue list, bar at 2000") << QList<int>{975, 0, 6000 - 2000, 255} << QRect(0, 65, 133, 118);
    QTest::newRow("key list from 2050") << QList<int>{975, 2050, 0, 255} << QRect(137, 65, 263, 118);
    QTest::newRow("margins beyond the client") << QList<int>{975, 0, 9000, 9000} << QRect(0, 65, 0, 0);
}

void TestCtrlFlavors::maxCtrlSizeFitsTheControl()
{
    QFETCH(QList<int>, margins);
    QFETCH(QRect, pixels);
    auto *control = new QLabel(m_form);
    m_flavors->setCtrlName(control);
    QCOMPARE(m_flavors->CtrlName(), control);
    m_flavors->MaxCtrlSize(margins[0], margins[1], margins[2], margins[3]);
    QCOMPARE(control->geometry(), pixels);
}

void TestCtrlFlavors::formNameTakesOnlyWindows()
{
    auto *child = new QLabel(m_form);
    QVERIFY(!m_flavors->setFormName(child));
    QCOMPARE(m_flavors->FormName(), m_form);
    QVERIFY(m_flavors->setFormName(nullptr));
    QCOMPARE(m_flavors->FormName(), nullptr);
}

void TestCtrlFlavors::form3DPositionChangesTheStacking()
{
    QVERIFY(m_flavors->Form3DPosition(CCtrlFlavors::HWND_TOPMOST) != 0);
    QVERIFY(m_form->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(m_form->isVisible());
    const QRect before = m_form->geometry();
    m_flavors->Form3DPosition(CCtrlFlavors::HWND_NOTOPMOST);
    QVERIFY(!(m_form->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->geometry(), before);
    m_flavors->setFormName(nullptr);
    QCOMPARE(m_flavors->Form3DPosition(CCtrlFlavors::HWND_TOPMOST), 0);
}

void TestCtrlFlavors::undoGoesToTheSendTarget()
{
    QCOMPARE(m_flavors->Undo(), 0);  // send handle 0

    auto *box = new QLineEdit(m_form);
    box->setText(QStringLiteral("abc"));
    QTest::keyClicks(box, QStringLiteral("d"));
    QCOMPARE(box->text(), QStringLiteral("abcd"));
    m_flavors->setSendHandle(CCtrlFlavors::sendHandleOf(box));
    QVERIFY(m_flavors->SendHandle() != 0);
    QCOMPARE(m_flavors->Undo(), 1);
    QCOMPARE(box->text(), QStringLiteral("abc"));

    auto *plain = new QPlainTextEdit(m_form);
    m_flavors->setSendHandle(CCtrlFlavors::sendHandleOf(plain));
    QCOMPARE(m_flavors->Undo(), 0);  // nothing to undo yet
    delete plain;
    QCOMPARE(m_flavors->Undo(), 0);  // the box has gone
}

void TestCtrlFlavors::textBoxAutoSize()
{
    auto *label = new QLabel(QStringLiteral("not a text box"), m_form);
    label->resize(33, 44);
    m_flavors->setCtrlName(label);
    QVERIFY(!m_flavors->TextBoxAutoSize());
    QCOMPARE(label->size(), QSize(33, 44));

    auto *box = new QLineEdit(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), m_form);
    QFont big = box->font();
    big.setPixelSize(30);
    box->setFont(big);
    m_flavors->setCtrlName(box);
    QVERIFY(m_flavors->TextBoxAutoSize());
    const QFontMetrics metrics(big);
    QCOMPARE(box->width(), metrics.horizontalAdvance(box->text()));
    QCOMPARE(box->height(), metrics.height());
}

QTEST_MAIN(TestCtrlFlavors)
#include "tst_ctrlflavors.moc"
