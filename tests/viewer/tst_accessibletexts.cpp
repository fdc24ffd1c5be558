// Assistive technology reads what a label shows: no label's accessible name hides
// its text, whatever the text says at the moment.
#include "chrome/ftitle.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "fakeservices.h"
#include "testwindow.h"

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

// Every label of the window that shows text is read as that text.
void verifyLabelsReadTheirTexts(QWidget *window)
{
    int checked = 0;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;  // a picture; its name says what it is
        QCOMPARE(accessibleName(label), label->text());
        ++checked;
    }
    QVERIFY(checked > 0);
}

}  // namespace

class TestAccessibleTexts : public QObject {
    Q_OBJECT
private slots:
    void statusPanelsReadTheirTexts_data();
    void statusPanelsReadTheirTexts();
    void mainWindowLabels();
    void titleWindowLabels();
    void captionButtonsKeepTheirNames();
};

// clang-format off
void TestAccessibleTexts::statusPanelsReadTheirTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("list") << "list" << "all 0 lists";
    QTest::newRow("key") << "key" << "all 12 keys";
    QTest::newRow("date") << "date" << "";
    QTest::newRow("comment") << "comment" << "";
}
// clang-format on

void TestAccessibleTexts::statusPanelsReadTheirTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QTemporaryDir dir;
    platform::fake::FakeServiceSet fakes;
    TestWindow window(fakes.services(), testAppInfo(dir.path()));
    window.catalogue()->UpdateStatusBar(12);
    // Found by object name: the panels carry their keys there.
    auto *panel = statusBar1(window)->findChild<QLabel *>(key);
    QVERIFY(panel);
    QCOMPARE(panel->text(), text);
    QCOMPARE(accessibleName(panel), text);
}

void TestAccessibleTexts::mainWindowLabels()
{
    QTemporaryDir dir;
    platform::fake::FakeServiceSet fakes;
    TestWindow window(fakes.services(), testAppInfo(dir.path()));
    QCOMPARE(accessibleName(label1(window)), QStringLiteral("tuvelv ver1.0.(40)"));
    verifyLabelsReadTheirTexts(&window);
}

void TestAccessibleTexts::titleWindowLabels()
{
    QWidget owner;
    FTitle *title = FTitle::showSplash(&owner, testAppInfo(QString()));
    QCOMPARE(accessibleName(title->Label2), QStringLiteral("version 1.0.(40)"));
    QCOMPARE(accessibleName(title->Label3), QStringLiteral("3"));
    title->Timer1_Timer();  // the countdown moves on; so does what is read
    QCOMPARE(accessibleName(title->Label3), QStringLiteral("2"));
    verifyLabelsReadTheirTexts(title);
}

void TestAccessibleTexts::captionButtonsKeepTheirNames()
{
    QTemporaryDir dir;
    platform::fake::FakeServiceSet fakes;
    TestWindow window(fakes.services(), testAppInfo(dir.path()));
    QStringList names;
    for (QAction *action : toolbar3(window)->actions())
        names << accessibleName(toolbar3(window)->widgetForAction(action));
    QCOMPARE(names.size(), 3);
    QVERIFY2(names.contains(QStringLiteral("最小化")) && names.contains(QStringLiteral("閉じる")),
             qPrintable(names.join(QLatin1Char(','))));
}

QTEST_MAIN(TestAccessibleTexts)
#include "tst_accessibletexts.moc"
