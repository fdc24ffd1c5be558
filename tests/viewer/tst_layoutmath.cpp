#include "layout/bandlayout.h"
#include "layout/layoutmath.h"

#include <QTest>

using namespace layoutmath;

class TestLayoutMath : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void maxCtrlSize_data();
    void maxCtrlSize();
    void form2DPosition_data();
    void form2DPosition();
    void insideDeskTop_data();
    void insideDeskTop();
    void dragBarLeft_data();
    void dragBarLeft();
    void pixelRectsMeet();
    void buttonMask_data();
    void buttonMask();
    void bandRows_data();
    void bandRows();
};

void TestLayoutMath::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 down") << 2.5 << 2;
    QTest::newRow("3.5 up") << 3.5 << 4;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("-3.5 to -4") << -3.5 << -4;
    QTest::newRow("below half") << 1999.49 << 1999;
    QTest::newRow("above half") << 1999.51 << 2000;
    QTest::newRow("whole") << 975.0 << 975;
}

void TestLayoutMath::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundHalfEven(value), expected);
}

void TestLayoutMath::maxCtrlSize_data()
{
    QTest::addColumn<double>("sw");
    QTest::addColumn<double>("sh");
    QTest::addColumn<QList<int>>("margins");   // top, left, width, height
    QTest::addColumn<QList<int>>("expected");  // top, left, width, height
    for (int l : {2000, 0, 5950, 1234})
        QTest::addRow("catalogue list, bar at %d", l)
            << 6000.0 << 3000.0 << QList<int>{975, 0, 6000 - l, 255} << QList<int>{975, 0, l, 1770};
    QTest::newRow("key list beside the bar")
        << 6000.0 << 3000.0 << QList<int>{975, 2050, 0, 255} << QList<int>{975, 2050, 3950, 1770};
    QTest::newRow("margins larger than the client")
        << 6000.0 << 3000.0 << QList<int>{975, 0, 7000, 2500} << QList<int>{975, 0, 1, 1};
    QTest::newRow("margins equal to the client")
        << 6000.0 << 3000.0 << QList<int>{975, 0, 6000, 2025} << QList<int>{975, 0, 0, 0};
    QTest::newRow("top and left beyond the client")
        << 600.0 << 300.0 << QList<int>{975, 700, 0, 0} << QList<int>{975, 700, 1, 1};
    QTest::newRow("half a twip rounds to even")
        << 6000.5 << 3000.5 << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 6000, 3000};
    QTest::newRow("odd half rounds up") << 6001.5 << 3001.5 << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 6002, 3002};
}

void TestLayoutMath::maxCtrlSize()
{
    QFETCH(double, sw);
    QFETCH(double, sh);
    QFETCH(QList<int>, margins);
    QFETCH(QList<int>, expected);
    const TwipRect r = layoutmath::maxCtrlSize(sw, sh, margins[0], margins[1], margins[2], margins[3]);
    QCOMPARE((QList<int>{r.top, r.left, r.width, r.height}), expected);
}

void TestLayoutMath::form2DPosition_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("left");
    const double dw = 15360, dh = 11520;
    QTest::newRow("centre, halves kept") << -1 << 6001.0 << 3001.0 << true << (dh - 3001) / 2 << (dw - 6001) / 2;
    QTest::newRow("centre, larger than the desktop") << -1 << 20000.0 << 12000.0 << true << -240.0 << -2320.0;
    QTest::newRow("top-left") << 0 << 6000.0 << 3000.0 << true << 0.0 << 0.0;
    QTest::newRow("top-right") << 1 << 6000.0 << 3000.0 << true << 0.0 << dw - 6000;
    QTest::newRow("bottom-left") << 2 << 6000.0 << 3000.0 << true << dh - 3000 << 0.0;
    QTest::newRow("bottom-right") << 3 << 6000.0 << 3000.0 << true << dh - 3000 << dw - 6000;
    QTest::newRow("4 does nothing") << 4 << 6000.0 << 3000.0 << false << 0.0 << 0.0;
    QTest::newRow("-2 does nothing") << -2 << 6000.0 << 3000.0 << false << 0.0 << 0.0;
}

void TestLayoutMath::form2DPosition()
{
    QFETCH(int, type);
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(bool, moves);
    QFETCH(double, top);
    QFETCH(double, left);
    const Placement p = layoutmath::form2DPosition(type, w, h, 15360, 11520);
    QCOMPARE(p.moves, moves);
    if (moves) {
        QCOMPARE(p.top, top);
        QCOMPARE(p.left, left);
    }
}

void TestLayoutMath::insideDeskTop_data()
{
    QTest::addColumn<QList<double>>("form");  // top, left, width, height
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("left");
    QTest::newRow("500 past the right edge")
        << QList<double>{1000, 15360 - 6000 + 500, 6000, 3000} << 1000.0 << 15360.0 - 6000;
    QTest::newRow("above the screen") << QList<double>{-300, 100, 6000, 3000} << 0.0 << 100.0;
    QTest::newRow("past the left edge") << QList<double>{100, -45, 6000, 3000} << 100.0 << 0.0;
    QTest::newRow("below the bottom") << QList<double>{11000, 0, 6000, 3000} << 11520.0 - 3000 << 0.0;
    QTest::newRow("inside stays") << QList<double>{15, 30, 6000, 3000} << 15.0 << 30.0;
    QTest::newRow("larger than the desktop: bottom and right win")
        << QList<double>{0, 0, 20000, 12000} << 11520.0 - 12000 << 15360.0 - 20000;
}

void TestLayoutMath::insideDeskTop()
{
    QFETCH(QList<double>, form);
    QFETCH(double, top);
    QFETCH(double, left);
    const Position p = layoutmath::insideDeskTop(form[0], form[1], form[2], form[3], 15360, 11520);
    QCOMPARE(p.top, top);
    QCOMPARE(p.left, left);
}

void TestLayoutMath::dragBarLeft_data()
{
    QTest::addColumn<double>("barLeft");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("clientWidth");
    QTest::addColumn<double>("expected");
    QTest::newRow("zero step keeps the bar") << 2000.0 << 0.0 << 6000.0 << 2000.0;
    QTest::newRow("jumps to the pointer") << 2000.0 << 315.0 << 6000.0 << 2315.0;
    QTest::newRow("beyond the left edge") << 2000.0 << -2600.0 << 6000.0 << 0.0;
    QTest::newRow("beyond the right edge") << 2000.0 << 9000.0 << 6000.0 << 5950.0;
    QTest::newRow("window narrowed") << 5000.0 << 0.0 << 3000.0 << 2950.0;
    QTest::newRow("client narrower than the bar") << 0.0 << 0.0 << 30.0 << -20.0;
}

void TestLayoutMath::dragBarLeft()
{
    QFETCH(double, barLeft);
    QFETCH(double, x);
    QFETCH(double, clientWidth);
    QFETCH(double, expected);
    QCOMPARE(layoutmath::dragBarLeft(barLeft, x, clientWidth), expected);
}

void TestLayoutMath::pixelRectsMeet()
{
    // The catalogue list, the bar and the key list share edges in pixels too.
    for (double l = 0; l < 600; l += 7.5) {
        const QRect list1 = toPixelRect(0, 975, l, 1770);
        const QRect bar = toPixelRect(l, 0, BarWidth, 3000);
        const QRect list2 = toPixelRect(l + BarWidth, 975, 6000 - l - BarWidth, 1770);
        QCOMPARE(list1.x() + list1.width(), bar.x());
        QCOMPARE(bar.x() + bar.width(), list2.x());
        QCOMPARE(list2.x() + list2.width(), 400);
    }
}

void TestLayoutMath::buttonMask_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("mask");
    QTest::newRow("left") << int(Qt::LeftButton) << 1;
    QTest::newRow("right") << int(Qt::RightButton) << 2;
    QTest::newRow("middle") << int(Qt::MiddleButton) << 4;
    QTest::newRow("left and middle held") << int(Qt::LeftButton | Qt::MiddleButton) << 5;
    QTest::newRow("back button only") << int(Qt::BackButton) << 0;
    QTest::newRow("none") << 0 << 0;
}

// One rule for the title band's mouse-down codes and the splitter bar's masks.
void TestLayoutMath::buttonMask()
{
    QFETCH(int, buttons);
    QFETCH(int, mask);
    QCOMPARE(layoutmath::buttonMask(Qt::MouseButtons(buttons)), mask);
}

void TestLayoutMath::bandRows_data()
{
    QTest::addColumn<double>("stripWidth");
    QTest::addColumn<double>("titleWidth");    // band 1 after stretching
    QTest::addColumn<double>("buttonsWidth");  // band 2, fitted to its toolbar
    QTest::addColumn<QList<double>>("expectedWidths");
    QTest::newRow("title band takes what the caption buttons leave")
        << 6000.0 << 6000.0 << 900.0 << QList<double>{5100, 900, 6000, 1500, 4500};
    QTest::newRow("narrow strip: title band down to its minimum")
        << 1000.0 << 1000.0 << 900.0 << QList<double>{255, 900, 1000, 1500, 495};
    QTest::newRow("short bands leave the rest to the row's last")
        << 6000.0 << 300.0 << 900.0 << QList<double>{300, 5700, 6000, 1500, 4500};
}

void TestLayoutMath::bandRows()
{
    QFETCH(double, stripWidth);
    QFETCH(double, titleWidth);
    QFETCH(double, buttonsWidth);
    QFETCH(QList<double>, expectedWidths);
    using bandlayout::Band;
    const QList<Band> bands{
        {255, 255, titleWidth, false, 0},   {buttonsWidth, 240, buttonsWidth, false, 270},
        {495, 270, stripWidth, true, 0},    {1500, 330, 1500, true, 0},
        {495, 315, stripWidth, false, 345},
    };
    const QList<QRectF> rects = bandlayout::arrange(bands, stripWidth);
    QList<double> widths;
    for (const QRectF &r : rects)
        widths.append(r.width());
    QCOMPARE(widths, expectedWidths);
    // Rows: title and buttons; menu buttons; commands and picker, each as tall as its
    // tallest band plus padding.
    const double p = 2 * bandlayout::RowPadding;
    QCOMPARE(rects[0].top(), 0.0);
    QCOMPARE(rects[1].top(), 0.0);
    QCOMPARE(rects[1].left(), rects[0].right());
    QCOMPARE(rects[2].top(), 270 + p);
    QCOMPARE(rects[3].top(), 270 + p + 270 + p);
    QCOMPARE(rects[4].top(), rects[3].top());
    QCOMPARE(rects[4].height(), 345 + p);
    QCOMPARE(bandlayout::stripHeight(bands), 270 + 270 + 345 + 3 * p);
}

QTEST_GUILESS_MAIN(TestLayoutMath)
#include "tst_layoutmath.moc"
