#include "chrome/ftitle.h"
#include "main/viewerfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestFTitle : public QObject {
    Q_OBJECT
private slots:
    void splashShowsVersionAndCountdown();
    void countdownFollowsTheLabel_data();
    void countdownFollowsTheLabel();
    void leadingNumberAsTheCountdownRule_data();
    void leadingNumberAsTheCountdownRule();
    void clicks_data();
    void clicks();
    void versionLabelHoldsItsText_data();
    void versionLabelHoldsItsText();
    void aboutWaitsForAClick();
    void closesWithItsOwner();
    void preferredFamiliesDrawWithTheSameFace_data();
    void preferredFamiliesDrawWithTheSameFace();

private:
    common::AppInfo m_app{QString(), QStringLiteral("tuvelv"), 1, 0, 40};
};

void TestFTitle::splashShowsVersionAndCountdown()
{
    QWidget owner;
    QPointer<FTitle> title = FTitle::showSplash(&owner, m_app);
    // Read before the event loop runs: a slow machine may take over a second to show the
    // window, and the countdown goes on meanwhile.
    QCOMPARE(title->Label3->text(), QStringLiteral("3"));
    QVERIFY(QTest::qWaitForWindowExposed(title));
    QCOMPARE(title->Label2->text(), QStringLiteral("version 1.0.(40)"));
    QCOMPARE(title->size(), QSize(320, 240));
    QVERIFY(title->Timer1->isActive());
    QCOMPARE(title->Timer1->interval(), 1000);
    QCOMPARE(title->frameGeometry().center(), title->screen()->geometry().center());
    QVERIFY(title->isWindow());
    QCOMPARE(title->parentWidget(), &owner);
}

void TestFTitle::countdownFollowsTheLabel_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("shown");  // after each tick that leaves it open
    QTest::addColumn<int>("ticksToClose");
    QTest::newRow("3-2-1") << "3" << QStringList{"2", "1"} << 3;
    QTest::newRow("one second") << "1" << QStringList{} << 1;
    QTest::newRow("no number counts as 0") << "abc" << QStringList{} << 1;
    QTest::newRow("leading number with text after it") << "2 秒" << QStringList{"1"} << 2;
    QTest::newRow("fraction") << "2.5" << QStringList{"1.5", "0.5"} << 3;
    QTest::newRow("already negative") << "-4" << QStringList{} << 1;
}

void TestFTitle::countdownFollowsTheLabel()
{
    QFETCH(QString, start);
    QFETCH(QStringList, shown);
    QFETCH(int, ticksToClose);
    QWidget owner;
    QPointer<FTitle> title = FTitle::showSplash(&owner, m_app);
    title->Timer1->stop();
    title->Label3->setText(start);
    for (int tick = 1; tick < ticksToClose; ++tick) {
        title->Timer1_Timer();
        QVERIFY(title->isVisible());
        QCOMPARE(title->Label3->text(), shown.at(tick - 1));
    }
    title->Timer1_Timer();
    QVERIFY(!title || !title->isVisible());
}

// The countdown reads the label's leading number by hand; the rule it follows is this
// regular expression, the one it was first written with.
void TestFTitle::leadingNumberAsTheCountdownRule_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text :
         {"3",   "  2 秒", "\t\n\v\f\r7", "+4",  "-4",    "2.5", "-.5", "5.",      ".",  "+",    "-.",
          "+.e", "1e3",    "0x10",        "..5", "1.2.3", "",    "abc", "\u00a05", "１", " - 3", "007.50x"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void TestFTitle::leadingNumberAsTheCountdownRule()
{
    QFETCH(QString, text);
    static const QRegularExpression rule(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch match = rule.match(text);
    QCOMPARE(FTitle::leadingNumber(text), match.hasMatch() ? match.captured(1).toDouble() : 0.0);
}

void TestFTitle::clicks_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("closes");
    QTest::newRow("picture") << "picture" << true;
    QTest::newRow("version label") << "Label2" << false;
    QTest::newRow("countdown label") << "Label3" << false;
}

void TestFTitle::clicks()
{
    QFETCH(QString, where);
    QFETCH(bool, closes);
    QWidget owner;
    QPointer<FTitle> title = FTitle::showSplash(&owner, m_app);
    QVERIFY(QTest::qWaitForWindowExposed(title));
    QPoint at(160, 200);
    if (where != QLatin1String("picture"))
        at = title->findChild<QLabel *>(where)->geometry().center();
    QTest::mouseClick(title, Qt::LeftButton, {}, at);
    QCOMPARE(!title || !title->isVisible(), closes);
}

// The version label has a fixed box: the whole text shows in it, clear of the countdown.
void TestFTitle::versionLabelHoldsItsText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::newRow("1.0.(40)") << 1 << 0 << 40;
    QTest::newRow("widest version numbers") << 9999 << 9999 << 9999;
}

void TestFTitle::versionLabelHoldsItsText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QWidget owner;
    QPointer<FTitle> title = FTitle::showSplash(&owner, {QString(), QStringLiteral("tuvelv"), major, minor, revision});
    QVERIFY(QTest::qWaitForWindowExposed(title));
    const QSize text = title->Label2->sizeHint();
    QVERIFY2(text.width() <= title->Label2->width(), qPrintable(QString::number(text.width())));
    QVERIFY(text.height() <= title->Label2->height());
    QVERIFY(title->Label2->geometry().right() < title->Label3->geometry().left());
}

void TestFTitle::aboutWaitsForAClick()
{
    QWidget owner;
    QPointer<FTitle> title = FTitle::showAbout(&owner, m_app);
    QVERIFY(!title->Timer1->isActive());
    QVERIFY(title->Label3->text().isEmpty());
    QCOMPARE(title->Label2->text(), QStringLiteral("version 1.0.(40)"));
    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(100, 120));
    QTRY_VERIFY(!title);
}

void TestFTitle::closesWithItsOwner()
{
    auto *owner = new QWidget;
    QPointer<FTitle> splash = FTitle::showSplash(owner, m_app);
    QPointer<FTitle> about = FTitle::showAbout(owner, m_app);
    QVERIFY(splash && about);
    delete owner;
    QVERIFY(!splash);
    QVERIFY(!about);
}

// The picture's and the lists' fonts get only their first family when it is installed:
// the face that draws must be the one the whole list gives.
void TestFTitle::preferredFamiliesDrawWithTheSameFace_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<bool>("bold");
    const QString installed = QFontDatabase::families().value(0);
    QTest::newRow("lists") << QStringList{"Noto Sans Mono CJK JP", "Noto Sans CJK JP", "monospace"} << false;
    QTest::newRow("picture, bold") << QStringList{"DejaVu Sans", "Noto Sans"} << true;
    QTest::newRow("first missing") << QStringList{"No Such Family Here", installed} << false;
    QTest::newRow("first installed") << QStringList{installed, "No Such Family Here"} << true;
}

void TestFTitle::preferredFamiliesDrawWithTheSameFace()
{
    QFETCH(QStringList, families);
    QFETCH(bool, bold);
    QFont whole, preferred;
    whole.setFamilies(families);
    setPreferredFamilies(preferred, families);
    for (QFont *font : {&whole, &preferred})
        font->setBold(bold);
    QCOMPARE(QFontInfo(preferred).family(), QFontInfo(whole).family());
    QCOMPARE(QFontInfo(preferred).styleName(), QFontInfo(whole).styleName());
    QCOMPARE(preferred.families().size() == 1, QFontDatabase::hasFamily(families.first()));
}

QTEST_MAIN(TestFTitle)
#include "tst_ftitle.moc"
