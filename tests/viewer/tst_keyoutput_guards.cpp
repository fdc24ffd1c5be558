// Direct output's guards, with recording platform fakes: keys that cannot be typed are
// refused before the switch, and the switch waits for the user's modifier keys.
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "fakeservices.h"
#include "modifierwait.h"
#include "testwindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList altTab{"key 18 0", "key 9 0", "key 9 2", "key 18 2", "sleep 100"};

}  // namespace

class TestKeyOutputGuards : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keyRefusedBeforeSwitch_data();
    void keyRefusedBeforeSwitch();
    void outputWaitsForModifiers_data();
    void outputWaitsForModifiers();
    void copyWithCtrlHeld();
    void inputMethodOffWhileTyping_data();
    void inputMethodOffWhileTyping();
    void inputMethodPerField_data();
    void inputMethodPerField();

private:
    // The keys as loaded rows, the row at index current selected.
    void showKeys(const QStringList &keys, int current);
    // Direct output as the user starts it: "dblclick", "menu" (Ctrl+B) or a Toolbar4 key.
    void sendBy(const QString &trigger);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::fake::FakeServiceSet> m_fakes;
    std::unique_ptr<TestWindow> m_window;
};

void TestKeyOutputGuards::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_fakes = std::make_unique<platform::fake::FakeServiceSet>();
    m_fakes->keyTyper.sharedLog = &m_fakes->keyEvents.log;
    m_fakes->inputMethod.sharedLog = &m_fakes->keyEvents.log;
    m_window = std::make_unique<TestWindow>(m_fakes->services(), testAppInfo(m_dir->path()));
}

void TestKeyOutputGuards::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestKeyOutputGuards::showKeys(const QStringList &keys, int current)
{
    for (const QString &key : keys)
        m_window->keyList()->AddKeyRow(key, false);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    listView2(*m_window)->setCurrentRow(current);
    combo1(*m_window)->setFocus();
}

void TestKeyOutputGuards::sendBy(const QString &trigger)
{
    if (trigger == "dblclick")
        doubleClickKey(*m_window);
    else if (trigger == "menu")
        chooseMenuItem(*m_window, "mnuEditSendKey");
    else
        pressButton(*m_window, "Toolbar4", trigger);
}

void TestKeyOutputGuards::keyRefusedBeforeSwitch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("reason");
    const QString thousand = QStringLiteral("{x 1000}");
    QTest::newRow("one stroke over the bound") << thousand.repeated(100) + "a" << QString::fromUtf8("打鍵が多すぎます");
    QTest::newRow("1 MiB of repeats") << thousand.repeated(131072) << QString::fromUtf8("打鍵が多すぎます");
    QTest::newRow("lone brace") << QString("{bad") << QString::fromUtf8("「{」を閉じる「}」がありません");
    QTest::newRow("unknown key name") << QString("a{NOPE}") << QString::fromUtf8("知らないキー名");
}

// A key that cannot be typed is reported before the switch: the user's window gets
// neither an Alt+Tab nor any key, and the focus is on the key list again.
void TestKeyOutputGuards::keyRefusedBeforeSwitch()
{
    QFETCH(QString, key);
    QFETCH(QString, reason);
    showKeys({QStringLiteral("first"), key}, 1);
    doubleClickKey(*m_window);
    QVERIFY(m_fakes->keyEvents.events.isEmpty());
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
    QVERIFY(m_fakes->keyTyper.calls.isEmpty());
    QCOMPARE(m_fakes->inputMethod.suspends, 0);
    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY(m_window->messages.first().startsWith(QString::fromUtf8("このキーは出力できませんでした。\n")));
    QVERIFY2(m_window->messages.first().contains(reason), qPrintable(m_window->messages.first()));
    QVERIFY(listView2(*m_window)->activeView()->hasFocus());
}

void TestKeyOutputGuards::outputWaitsForModifiers_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("polls");  // questions answered "held"; -1: held throughout
    using platform::KeyEvents;
    QTest::newRow("double-click, Ctrl let go at once") << "dblclick" << int(KeyEvents::HeldCtrl) << 1;
    QTest::newRow("Ctrl+B, Ctrl held a while") << "menu" << int(KeyEvents::HeldCtrl) << 15;
    QTest::newRow("SendKey button, Shift and Super")
        << "SendKey" << int(KeyEvents::HeldShift | KeyEvents::HeldSuper) << 3;
    QTest::newRow("Ctrl never let go") << "menu" << int(KeyEvents::HeldCtrl) << -1;
}

// The switch waits until the user has let go of every modifier, on every path; after
// the bound it goes ahead without releasing the user's keys.
void TestKeyOutputGuards::outputWaitsForModifiers()
{
    QFETCH(QString, trigger);
    QFETCH(int, held);
    QFETCH(int, polls);
    showKeys({QStringLiteral("x+y")}, 0);
    m_fakes->keyEvents.userHeld = static_cast<quint8>(held);
    m_fakes->keyEvents.heldForPolls = polls;
    sendBy(trigger);

    const int waits = polls < 0 ? platform::ModifierReleaseBoundMs / platform::ModifierPollMs : polls;
    QStringList expected;
    for (int i = 0; i < waits; ++i)
        expected << QStringLiteral("held %1").arg(held) << QStringLiteral("sleep %1").arg(platform::ModifierPollMs);
    if (polls < 0)
        expected << QStringLiteral("held %1").arg(held);  // the last look, at the bound
    QCOMPARE(m_fakes->keyEvents.log,
             expected + altTab + QStringList{platform::fake::RecordingKeyTyper::typedLine("x{+}y")});
    // Only the switch's own Alt and Tab: nothing released on the user's behalf.
    QCOMPARE(m_fakes->keyEvents.events.size(), 4);
}

// Ctrl+C copies at once, whether or not Ctrl is still down: no wait, no key events.
void TestKeyOutputGuards::copyWithCtrlHeld()
{
    showKeys({QStringLiteral("x+y")}, 0);
    m_fakes->keyEvents.userHeld = platform::KeyEvents::HeldCtrl;
    QWidget *focused = listView2(*m_window)->activeView();
    focused->setFocus();
    QTRY_VERIFY(focused->hasFocus());
    QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_fakes->clipboard.texts, QStringList{"x+y"});
    QCOMPARE(m_fakes->keyEvents.modifierQueries, 0);
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
}

void TestKeyOutputGuards::inputMethodOffWhileTyping_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("cannotSwitchOff");
    QTest::addColumn<QString>("typerRefuses");
    QTest::addColumn<QString>("cannotPutBack");
    QTest::addColumn<QStringList>("afterSwitch");  // the log after the Alt+Tab
    QTest::addColumn<QString>("message");          // a word the message must hold; empty: none
    const QString typed = platform::fake::RecordingKeyTyper::typedLine("x{+}y");
    QTest::newRow("off stays off, nothing else happens")
        << "dblclick" << false << QString() << QString() << QString() << QStringList{typed} << QString();
    QTest::newRow("on: off for the typing, back after it") << "menu" << true << QString() << QString() << QString()
                                                           << QStringList{"ime off", typed, "ime back"} << QString();
    QTest::newRow("SendKey button, on") << "SendKey" << true << QString() << QString() << QString()
                                        << QStringList{"ime off", typed, "ime back"} << QString();
    QTest::newRow("typing refused half-way: back all the same")
        << "menu" << true << QString() << "modifier held" << QString() << QStringList{"ime off", typed, "ime back"}
        << "modifier held";
    QTest::newRow("cannot be switched off: nothing typed, left on")
        << "dblclick" << true << "no answer" << QString() << QString() << QStringList{"ime refused"}
        << QString::fromUtf8("Ctrl+C");
    QTest::newRow("cannot be put back: typed, and the user told")
        << "dblclick" << true << QString() << QString() << "fcitx5 refused"
        << QStringList{"ime off", typed, "ime stays off"} << "fcitx5 refused";
}

// The receiving window's input method is off exactly while the key is typed, on every
// path that types; one that cannot be switched off stops the typing before it starts.
void TestKeyOutputGuards::inputMethodOffWhileTyping()
{
    QFETCH(QString, trigger);
    QFETCH(bool, on);
    QFETCH(QString, cannotSwitchOff);
    QFETCH(QString, typerRefuses);
    QFETCH(QString, cannotPutBack);
    QFETCH(QStringList, afterSwitch);
    QFETCH(QString, message);
    showKeys({QStringLiteral("x+y")}, 0);
    m_fakes->inputMethod.on = on;
    m_fakes->inputMethod.refuseWith = cannotSwitchOff;
    m_fakes->keyTyper.refuseWith = typerRefuses;
    m_fakes->inputMethod.refuseBackWith = cannotPutBack;
    sendBy(trigger);
    QCOMPARE(m_fakes->keyEvents.log, altTab + afterSwitch);
    QCOMPARE(m_fakes->inputMethod.on, on && cannotPutBack.isEmpty());
    QCOMPARE(m_fakes->inputMethod.suspends, 1);
    QCOMPARE(m_window->messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(m_window->messages.first().contains(message), qPrintable(m_window->messages.first()));
    QCOMPARE(announced(*m_window), message.isEmpty() ? QString::fromUtf8("キーを入力しました。") : QString());
    if (!cannotSwitchOff.isEmpty())
        QVERIFY(m_window->messages.first().contains(cannotSwitchOff));
    QVERIFY(listView2(*m_window)->activeView()->hasFocus());
}

void TestKeyOutputGuards::inputMethodPerField_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("refuseLater");
    QTest::addColumn<QStringList>("afterSwitch");
    const auto typed = [](const char *keyString) { return platform::fake::RecordingKeyTyper::typedLine(keyString); };
    QTest::newRow("Tab: back before it, asked again after it")
        << "ID{TAB}名前" << QString()
        << QStringList{"ime off", typed("ID"), "ime back", typed("{TAB}"), "ime off", typed("名前"), "ime back"};
    QTest::newRow("Enter first, a tab character last")
        << "{ENTER}a\t" << QString()
        << QStringList{typed("{ENTER}"), "ime off", typed("a"), "ime back", typed("{TAB}")};
    QTest::newRow("second field stays on: stopped there")
        << "ID{TAB}名前{TAB}x"
        << "no answer" << QStringList{"ime off", typed("ID"), "ime back", typed("{TAB}"), "ime refused"};
}

// Each field has the input method off while its text is typed and as the user left it
// afterwards; the keys that move the focus go in with it as the user has it.
void TestKeyOutputGuards::inputMethodPerField()
{
    QFETCH(QString, key);
    QFETCH(QString, refuseLater);
    QFETCH(QStringList, afterSwitch);
    showKeys({key}, 0);
    m_fakes->inputMethod.on = true;
    m_fakes->inputMethod.refuseLaterWith = refuseLater;
    sendBy(QStringLiteral("dblclick"));
    QCOMPARE(m_fakes->keyEvents.log, altTab + afterSwitch);
    QVERIFY(m_fakes->inputMethod.on);
    QCOMPARE(m_window->messages.size(), refuseLater.isEmpty() ? 0 : 1);
    if (!refuseLater.isEmpty())
        QVERIFY(m_window->messages.first().contains(QString::fromUtf8("途中まで")));
}

QTEST_MAIN(TestKeyOutputGuards)
#include "tst_keyoutput_guards.moc"
