// Switching input methods off for the typing: the chain that puts everything back,
// where the frameworks' buses are found, and the fcitx5 and IBus clients against
// stand-ins on a private bus (a framework that answers, and one that hangs).
#include "boundedcall.h"
#include "busaddress.h"
#include "fakeservices.h"
#include "fcitx5inputmethod.h"
#include "ibusengine.h"
#include "ibusinputmethod.h"
#include "inputmethodoff.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusVariant>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using platform::fake::RecordingInputMethod;
using namespace platform::freedesktop;

namespace {

// A stand-in: input method off (1) or on (2), calls (read once its thread stops).
struct StandIn {
    std::atomic<int> state{1};
    std::atomic<bool> hang{false};
    QString ignored, refused;
    QStringList calls;
};

// fcitx5's controller as a stand-in: State() 1 or 2, Activate(), Deactivate(); or no
// answer at all.
class FakeController : public QObject, protected QDBusContext, public StandIn {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.fcitx.Fcitx.Controller1")
public slots:
    int State(const QDBusMessage &message)
    {
        answer(message, "State");
        return state;
    }
    void Activate(const QDBusMessage &message)
    {
        if (answer(message, "Activate"))
            state = 2;
    }
    void Deactivate(const QDBusMessage &message)
    {
        if (answer(message, "Deactivate"))
            state = 1;
    }

private:
    bool answer(const QDBusMessage &message, const char *method)
    {
        const QString call = QString::fromLatin1(method);
        calls.append(call);
        if (hang)
            message.setDelayedReply(true);  // and never sent
        else if (call == refused)
            sendErrorReply(QDBusError::Failed, "no");
        return !hang && call != refused && call != ignored;
    }
};

// ibus-daemon's object: the global engine "mozc-jp" when on (2), else "xkb:jp::jpn".
class FakeIBus : public QDBusVirtualObject, public StandIn {
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
    {
        const QVariantList in = message.arguments();
        const bool get = message.member() == QLatin1String("Get");
        const QString call = get ? in.value(1).toString() : message.member() + ' ' + in.value(0).toString();
        calls.append(call);
        QDBusArgument value;  // the engine; asked for ActiveEngines, this is no list of any
        value.beginStructure();
        value << QStringLiteral("IBusEngineDesc") << QVariantMap() << QString(state == 2 ? "mozc-jp" : "xkb:jp::jpn");
        value.endStructure();
        if (!get && call != ignored && call != refused)
            state = in.value(0).toString() == QLatin1String("mozc-jp") ? 2 : 1;
        return bus.send(call == refused ? message.createErrorReply(QDBusError::Failed, "no")
                        : get ? message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(value))))
                              : message.createReply());
    }
};

}  // namespace

class TestInputMethods : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void chainPutsBackWhatItSwitchedOff_data();
    void chainPutsBackWhatItSwitchedOff();
    void offOnlyWhileInScope();
    void ibusAddressFiles_data();
    void ibusAddressFiles();
    void ibusAddressLookup();
    void plainEngine_data();
    void plainEngine();
    void fcitx5_data();
    void fcitx5();
    void frameworkNotRunning();
    void ibusThatHangsRefuses();
    void oneViewerTypesThroughTheEngineAtATime();

private:
    // Publishes a stand-in object under a service name on the private bus, served from
    // a thread of its own so that the blocking calls of the code under test reach it.
    void serve(QObject *object, const QString &service, const QString &path);

    QProcess m_bus;
    QString m_address;
    QThread m_serviceThread;
};

void TestInputMethods::initTestCase()
{
    m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    if (!m_bus.waitForStarted(5000))
        QSKIP("dbus-daemon is not installed");
    QVERIFY(m_bus.waitForReadyRead(5000));
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    m_serviceThread.start();
}

void TestInputMethods::cleanupTestCase()
{
    m_serviceThread.quit();
    m_serviceThread.wait();
    m_bus.terminate();
    m_bus.waitForFinished(5000);
}

void TestInputMethods::serve(QObject *object, const QString &service, const QString &path)
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_address, service);
    QVERIFY(bus.isConnected());
    object->moveToThread(&m_serviceThread);
    if (auto *whole = qobject_cast<QDBusVirtualObject *>(object))
        QVERIFY(bus.registerVirtualObject(path, whole));
    else
        QVERIFY(bus.registerObject(path, object, QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(service));
}

void TestInputMethods::chainPutsBackWhatItSwitchedOff_data()
{
    QTest::addColumn<QList<bool>>("on");
    QTest::addColumn<int>("refusing");  // the member that cannot be switched off; -1: none
    QTest::addColumn<int>("stuck");     // the member that cannot be put back; -1: none
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("both off: nothing to do") << QList<bool>{false, false} << -1 << -1 << true << QStringList{};
    QTest::newRow("both on: off in order, back in reverse")
        << QList<bool>{true, true} << -1 << -1 << true << QStringList{"ime off", "ime off", "ime back", "ime back"};
    QTest::newRow("second refuses: the first is put back at once")
        << QList<bool>{true, true} << 1 << -1 << false << QStringList{"ime off", "ime refused", "ime back"};
    QTest::newRow("first refuses: the second is never touched")
        << QList<bool>{true, true} << 0 << -1 << false << QStringList{"ime refused"};
    QTest::newRow("second stays off: the first still back, the failure told")
        << QList<bool>{true, true} << -1 << 1 << true << QStringList{"ime off", "ime off", "ime stays off", "ime back"};
}

void TestInputMethods::chainPutsBackWhatItSwitchedOff()
{
    QFETCH(QList<bool>, on);
    QFETCH(int, refusing);
    QFETCH(int, stuck);
    QFETCH(bool, ok);
    QFETCH(QStringList, log);
    QStringList shared;
    RecordingInputMethod first, second;
    QList<RecordingInputMethod *> members{&first, &second};
    for (int i = 0; i < 2; ++i) {
        members[i]->on = on[i];
        members[i]->sharedLog = &shared;
        if (i == refusing)
            members[i]->refuseWith = QStringLiteral("hangs");
        if (i == stuck)
            members[i]->refuseBackWith = QStringLiteral("stuck");
    }
    platform::InputMethodChain chain({&first, &second});
    {
        platform::InputMethodOff off(&chain);
        QCOMPARE(off.ok(), ok);
        if (!ok)
            QCOMPARE(off.error(), QStringLiteral("hangs"));
        QCOMPARE(off.putBack().error, stuck < 0 ? QString() : QStringLiteral("stuck"));
    }
    QVERIFY(chain.resume().ok);  // a second resume puts nothing back twice
    QCOMPARE(shared, log);
    QCOMPARE(first.on, on[0] && stuck != 0);
    QCOMPARE(second.on, on[1] && stuck != 1);
}

void TestInputMethods::offOnlyWhileInScope()
{
    RecordingInputMethod inputMethod;
    inputMethod.on = true;
    try {
        const platform::InputMethodOff off(&inputMethod);
        QVERIFY(!inputMethod.on);
        throw std::bad_alloc();
    } catch (const std::bad_alloc &) {
    }
    QVERIFY(inputMethod.on);
    const platform::InputMethodOff none(nullptr);  // no input method service at all
    QVERIFY(none.ok());
}

void TestInputMethods::ibusAddressFiles_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("local display") << ":0"
                                   << "" << QStringList{"id-unix-0"};
    QTest::newRow("screen number dropped") << ":12.1"
                                           << "" << QStringList{"id-unix-12"};
    QTest::newRow("remote host") << "box:3"
                                 << "" << QStringList{"id-box-3"};
    QTest::newRow("wayland first, then xwayland") << ":1"
                                                  << "wayland-1" << QStringList{"id-unix-wayland-1", "id-unix-1"};
    QTest::newRow("no display") << ""
                                << "" << QStringList{};
    QTest::newRow("not a display number") << ":x"
                                          << "" << QStringList{};
    QTest::newRow("no path out of the folder") << "../../etc:0"
                                               << "../w" << QStringList{};
}

void TestInputMethods::ibusAddressFiles()
{
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QStringList, names);
    QCOMPARE(ibusAddressFileNames("id", display, wayland), names);
    QVERIFY(ibusAddressFileNames("", display, wayland).isEmpty());
}

void TestInputMethods::ibusAddressLookup()
{
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath("ibus/bus"));
    QFile file(config.filePath("ibus/bus/m-unix-7"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# written by ibus-daemon\nIBUS_ADDRESS=unix:abstract=/tmp/x,guid=1\nIBUS_DAEMON_PID=42\n");
    file.close();
    QProcessEnvironment env;
    env.insert("DISPLAY", ":7");
    QCOMPARE(ibusAddress(env, config.path(), "m"), QStringLiteral("unix:abstract=/tmp/x,guid=1"));
    env.insert("DISPLAY", ":8");
    QCOMPARE(ibusAddress(env, config.path(), "m"), QString());
    env.insert("IBUS_ADDRESS", "unix:path=/given");
    QCOMPARE(ibusAddress(env, config.path(), "m"), QStringLiteral("unix:path=/given"));

    QProcessEnvironment session;
    QCOMPARE(sessionBusAddress(session), QString());  // nothing is started for us
    session.insert("XDG_RUNTIME_DIR", config.path());
    QCOMPARE(sessionBusAddress(session), QString());
    session.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/bus");
    QCOMPARE(sessionBusAddress(session), QStringLiteral("unix:path=/run/bus"));
}

void TestInputMethods::plainEngine_data()
{
    QTest::addColumn<QStringList>("active");
    QTest::addColumn<QString>("plain");
    QTest::newRow("the user's keyboard engine") << QStringList{"mozc-jp", "xkb:jp::jpn"} << "xkb:jp::jpn";
    QTest::newRow("the first of several") << QStringList{"xkb:us::eng", "mozc-jp", "xkb:jp::jpn"} << "xkb:us::eng";
    QTest::newRow("none listed: Japanese") << QStringList{"mozc-jp"} << "xkb:jp::jpn";
}

void TestInputMethods::plainEngine()
{
    QFETCH(QStringList, active);
    QFETCH(QString, plain);
    QCOMPARE(plainEngineAmong(active), plain);
}

void TestInputMethods::fcitx5_data()
{
    QTest::addColumn<QString>("framework");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("hang");  // IBus: its bus's socket takes the connection and says nothing
    QTest::addColumn<QString>("ignored");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("stateAfter");
    QTest::addColumn<bool>("putBack");
    const QString fcitx5 = "fcitx5", ibus = "IBus", none, plain = "SetGlobalEngine xkb:jp::jpn";
    const QStringList ibusOff{"GlobalEngine", "ActiveEngines", plain, "GlobalEngine", "SetGlobalEngine mozc-jp"};
    QTest::newRow("off: asked, left alone")
        << fcitx5 << 1 << false << none << none << true << QStringList{"State"} << 1 << true;
    QTest::newRow("on: off, then back") << fcitx5 << 2 << false << none << none << true
                                        << QStringList{"State", "Deactivate", "State", "Activate"} << 2 << true;
    QTest::newRow("stays on: refused, left on") << fcitx5 << 2 << false << "Deactivate" << none << false
                                                << QStringList{"State", "Deactivate", "State"} << 2 << true;
    QTest::newRow("hangs: refused within the bound")
        << fcitx5 << 2 << true << none << none << false << QStringList{"State"} << 2 << true;
    QTest::newRow("back on refused: told") << fcitx5 << 2 << false << none << "Activate" << true
                                           << QStringList{"State", "Deactivate", "State", "Activate"} << 1 << false;
    QTest::newRow("IBus socket silent: refused within the bound")
        << ibus << 2 << true << none << none << false << QStringList{} << 2 << true;
    QTest::newRow("IBus switch refused: refused, left on")
        << ibus << 2 << false << none << plain << false << ibusOff.first(3) << 2 << true;
    QTest::newRow("IBus engine back refused: told")
        << ibus << 2 << false << none << ibusOff.last() << true << ibusOff << 1 << false;
}

void TestInputMethods::fcitx5()
{
    QFETCH(QString, framework);
    QFETCH(int, state);
    QFETCH(bool, hang);
    QFETCH(QString, ignored);
    QFETCH(QString, refused);
    QFETCH(bool, ok);
    QFETCH(QStringList, calls);
    QFETCH(int, stateAfter);
    QFETCH(bool, putBack);
    const bool isIBus = framework == QLatin1String("IBus");
    const QString service = isIBus ? "org.freedesktop.IBus" : "org.fcitx.Fcitx5";
    auto *controller = new FakeController;
    auto *daemon = new FakeIBus;
    StandIn *standIn = isIBus ? static_cast<StandIn *>(daemon) : controller;
    standIn->state = state;
    standIn->hang = hang && !isIBus;
    standIn->ignored = ignored;
    standIn->refused = refused;
    QObject *served = isIBus ? static_cast<QObject *>(daemon) : controller;
    serve(served, service, isIBus ? "/org/freedesktop/IBus" : "/controller");
    QTemporaryDir dir;
    QLocalServer silent;  // takes connections and never reads them
    QVERIFY(silent.listen(dir.filePath("silent")));
    int settled = 0;
    platform::freedesktop::Fcitx5InputMethod fcitx5(m_address, [&] { ++settled; });
    platform::freedesktop::IBusInputMethod ibusInputMethod(
        [&] { return hang ? "unix:path=" + silent.fullServerName() : m_address; }, [&] { ++settled; });
    platform::InputMethod &inputMethod = isIBus ? static_cast<platform::InputMethod &>(ibusInputMethod) : fcitx5;
    QElapsedTimer clock;
    clock.start();
    {
        platform::InputMethodOff off(&inputMethod);
        QCOMPARE(off.ok(), ok);
        QCOMPARE(off.error().isEmpty(), ok);
        QVERIFY2(off.error().isEmpty() || off.error().contains(framework), qPrintable(off.error()));
        if (ok)
            QCOMPARE(standIn->state.load(), 1);
        const platform::InputMethod::Resumption back = off.putBack();
        QCOMPARE(back.ok, putBack);
        QVERIFY2(putBack ? back.error.isEmpty() : back.error.contains(framework), qPrintable(back.error));
    }
    QVERIFY2(clock.elapsed() < 3 * InputMethodCallBoundMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(settled, calls.isEmpty() ? 0 : 1);
    QDBusConnection::connectToBus(m_address, service).unregisterService(service);
    QDBusConnection::disconnectFromBus(service);
    QMetaObject::invokeMethod(
        served, [] {},
        Qt::BlockingQueuedConnection);  // its calls are all in
    QCOMPARE(standIn->calls, calls);
    QCOMPARE(standIn->state.load(), stateAfter);
    controller->deleteLater();
    daemon->deleteLater();
}

// No fcitx5 on the bus and no IBus address: nothing is asked, nothing waits.
void TestInputMethods::frameworkNotRunning()
{
    int settled = 0;
    platform::freedesktop::Fcitx5InputMethod fcitx5(m_address, [&] { ++settled; });
    platform::freedesktop::IBusInputMethod ibus([] { return QString(); }, [&] { ++settled; });
    platform::freedesktop::Fcitx5InputMethod noBus(QString(), [&] { ++settled; });
    for (platform::InputMethod *inputMethod :
         {static_cast<platform::InputMethod *>(&fcitx5), static_cast<platform::InputMethod *>(&ibus),
          static_cast<platform::InputMethod *>(&noBus)}) {
        QVERIFY(inputMethod->suspend().ok);
        inputMethod->resume();
    }
    QCOMPARE(settled, 0);
}

// An IBus whose bus takes the connection but never answers: the key is refused.
void TestInputMethods::ibusThatHangsRefuses()
{
    auto *silent = new FakeController;
    silent->hang = true;
    serve(silent, "org.freedesktop.IBus", "/org/freedesktop/IBus");
    platform::freedesktop::IBusInputMethod ibus([this] { return m_address; }, {});
    // Busy past the bound: even the property questions the bus library answers go
    // unanswered.
    QMetaObject::invokeMethod(
        silent, [] { QThread::msleep(3 * InputMethodCallBoundMs); }, Qt::QueuedConnection);
    const platform::InputMethod::Suspension suspension = ibus.suspend();
    QVERIFY(!suspension.ok);
    QVERIFY(suspension.error.contains(QStringLiteral("IBus")));
    ibus.resume();
    QDBusConnection::disconnectFromBus("org.freedesktop.IBus");
    silent->deleteLater();
}

// Two processes serving one engine type nothing: a second viewer keeps out while the first
// types, and may type once the first's key is over.
void TestInputMethods::oneViewerTypesThroughTheEngineAtATime()
{
    IBusKeyEngine first(QDBusConnection::connectToBus(m_address, QStringLiteral("viewer-1")));
    IBusKeyEngine second(QDBusConnection::connectToBus(m_address, QStringLiteral("viewer-2")));
    QVERIFY(first.serve());
    QVERIFY(!second.serve());
    first.release();
    QVERIFY(second.serve());
}

QTEST_GUILESS_MAIN(TestInputMethods)
#include "tst_inputmethods.moc"
