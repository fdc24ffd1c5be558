// The task switch against scripted modifier keys of the user (recording fake).
#include "output/taskchange.h"
#include "fakeservices.h"
#include "modifierwait.h"

#include <QTest>

using platform::KeyEvents;

class TestTaskChange : public QObject {
    Q_OBJECT
private slots:
    void waitsForRelease_data();
    void waitsForRelease();
};

void TestTaskChange::waitsForRelease_data()
{
    const int boundPolls = platform::ModifierReleaseBoundMs / platform::ModifierPollMs;
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("polls");   // questions answered "held"; -1: held throughout
    QTest::addColumn<int>("sleeps");  // poll sleeps before the switch
    QTest::addColumn<bool>("heldAtSwitch");
    QTest::addColumn<QStringList>("keys");  // the key events of the switch
    const QStringList altTab{"key 18 0", "key 9 0", "key 9 2", "key 18 2"};
    QTest::newRow("nothing held") << 0 << -1 << 0 << false << altTab;
    QTest::newRow("Ctrl let go by the second look") << int(KeyEvents::HeldCtrl) << 1 << 1 << false << altTab;
    QTest::newRow("Ctrl and Alt held for five looks")
        << int(KeyEvents::HeldCtrl | KeyEvents::HeldAlt) << 5 << 5 << false << altTab;
    QTest::newRow("let go at the last look")
        << int(KeyEvents::HeldShift) << boundPolls << boundPolls << false << altTab;
    QTest::newRow("held one look too long")
        << int(KeyEvents::HeldSuper) << boundPolls + 1 << boundPolls << true << altTab;
    QTest::newRow("held throughout") << int(KeyEvents::HeldCtrl) << -1 << boundPolls << true << altTab;
    // The user's own Alt makes Tab the switch; an Alt up of ours would release it.
    QTest::newRow("Alt held throughout") << int(KeyEvents::HeldAlt | KeyEvents::HeldCtrl) << -1 << boundPolls << true
                                         << QStringList{"key 9 0", "key 9 2"};
}

void TestTaskChange::waitsForRelease()
{
    QFETCH(int, held);
    QFETCH(int, polls);
    QFETCH(int, sleeps);
    QFETCH(bool, heldAtSwitch);
    QFETCH(QStringList, keys);
    platform::fake::RecordingKeyEvents events;
    events.userHeld = static_cast<quint8>(held);
    events.heldForPolls = polls;
    MTaskChange::ChangeTask(events, 100);

    // The switch comes after the last look, whatever that look said.
    const QStringList switching = keys + QStringList{"sleep 100"};
    QCOMPARE(events.log.mid(events.log.size() - switching.size()), switching);
    const QStringList waiting = events.log.mid(0, events.log.size() - switching.size());
    QCOMPARE(waiting.count(QStringLiteral("sleep %1").arg(platform::ModifierPollMs)), sleeps);
    // A "held" answer before each sleep, and one more when the bound ran out.
    QCOMPARE(waiting.count(QStringLiteral("held %1").arg(held)), sleeps + (heldAtSwitch ? 1 : 0));
    QCOMPARE(waiting.size(), 2 * sleeps + (heldAtSwitch ? 1 : 0));
    QCOMPARE(events.sleeps.size(), sleeps + 1);
    // Only Alt and Tab are ever sent: none of the user's keys is released for them.
    QCOMPARE(events.events.size(), keys.size());
}

QTEST_GUILESS_MAIN(TestTaskChange)
#include "tst_taskchange.moc"
