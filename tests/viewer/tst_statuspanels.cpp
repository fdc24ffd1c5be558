// The status bar's panels at the window's own width: a text wider than its panel
// shows an ellipsis, never a cut that looks whole, and is still read out whole.
#include "catalogue/elidedlabel.h"
#include "catalogue/statuspanels.h"

#include <QAccessible>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

class TestStatusPanels : public QObject {
    Q_OBJECT
private slots:
    void commentFitsItsPanel_data();
    void commentFitsItsPanel();
};

void TestStatusPanels::commentFitsItsPanel_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("cut");
    QTest::newRow("short") << QStringLiteral("挨拶") << false;
    QTest::newRow("japanese sentence") << QStringLiteral(
                                              "東京の朝五時に保存した、とても長い説明の文です。最後まで読めますか。")
                                       << true;
    QTest::newRow("latin words")
        << QStringLiteral("a description that is far wider than the panel it sits in, whichever font draws it") << true;
}

void TestStatusPanels::commentFitsItsPanel()
{
    QFETCH(QString, comment);
    QFETCH(bool, cut);
    QWidget window;  // wide enough for a short comment beside the other three panels
    window.resize(700, 60);
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new QStatusBar;
    layout->addWidget(bar);
    StatusPanels panels(bar);
    panels.setText(StatusPanels::List, QStringLiteral("all 7 lists"));
    panels.setText(StatusPanels::Key, QStringLiteral("all 12 keys"));
    panels.setText(StatusPanels::Date, QStringLiteral("date 2026/12/04 18:38:31"));
    panels.setText(StatusPanels::Comment, comment);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *panel = bar->findChild<ElidedLabel *>(QStringLiteral("comment"));
    QVERIFY(panel);
    // Whether a text fits is a matter of the font the panel is drawn with, and that
    // follows the locale: under ja_JP fontconfig gives Noto Sans CJK JP, whose Latin
    // letters are narrower than DejaVu Sans'. Each row must come out the same in both.
    QCOMPARE(panel->fontMetrics().horizontalAdvance(comment) > panel->contentsRect().width(), cut);
    const QString shown = panel->shownText();
    QVERIFY2(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width(), qPrintable(shown));
    QCOMPARE(shown.endsWith(QChar(0x2026)), cut);
    if (cut)
        QVERIFY(comment.startsWith(shown.chopped(1)));
    else
        QCOMPARE(shown, comment);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(panel);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), comment);
}

QTEST_MAIN(TestStatusPanels)
#include "tst_statuspanels.moc"
