// The text window keeps its text box filling it at every size.
#include "ftextview.h"

#include <QPlainTextEdit>
#include <QTest>

class TestFTextView : public QObject {
    Q_OBJECT
private slots:
    void fills_data();
    void fills();
};

void TestFTextView::fills_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("design size") << QSize(312, 213);
    QTest::newRow("wide") << QSize(900, 120);
    QTest::newRow("tiny") << QSize(40, 30);
}

void TestFTextView::fills()
{
    QFETCH(QSize, size);
    QWidget owner;
    FTextView view(&owner);
    view.Text1->setPlainText(QString::fromUtf8("日本語\nline"));
    view.show();
    view.resize(size);
    QCOMPARE(view.Text1->geometry(), QRect(QPoint(0, 0), view.size()));
    view.showMinimized();
    view.showNormal();
    QCOMPARE(view.Text1->geometry(), QRect(QPoint(0, 0), view.size()));
    QVERIFY(view.Text1->isReadOnly());
}

QTEST_MAIN(TestFTextView)
#include "tst_ftextview.moc"
