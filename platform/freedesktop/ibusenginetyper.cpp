#include "ibusenginetyper.h"

#include "boundedcall.h"
#include "enginesteps.h"
#include "ibusengine.h"
#include "ibusinputmethod.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>

namespace platform::freedesktop {

namespace {

const BusObject IBus{QStringLiteral("org.freedesktop.IBus"), QStringLiteral("/org/freedesktop/IBus"),
                     QStringLiteral("org.freedesktop.IBus")};

// How long the user's window must keep the focus before anything is sent: a focus that
// bounces once takes a whole commit with it, and the engine hears of no delivery.
constexpr int SteadyFocusMs = 120;
constexpr int FocusBoundMs = 1000;
constexpr int SwitchBoundMs = 1000;
// A GTK window reads committed text and forwarded keys in the order they came only
// when each had about 10 ms to itself.
constexpr int PieceGapMs = 20;
// On GNOME on Wayland a forwarded key goes its own way (the shell hands it to mutter's
// input thread) while text goes by the text-input protocol: with 20 ms a Tab arrived
// after the text committed behind it, once in seven keys.
constexpr int ForwardedKeyGapMs = 60;

// Runs the event loop (the daemon calls into this process) without the user's input,
// until done or the bound is up.
bool runUntil(const std::function<bool()> &done, int boundMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        const qint64 left = boundMs - waited.elapsed();
        if (left <= 0)
            return false;
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<qint64>(left, 5)), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

void pause(int ms)
{
    runUntil([] { return false; }, ms);
}

// Whether the daemon has our engine's component (installed with the package).
bool daemonKnowsEngine(const QDBusConnection &bus)
{
    const QDBusMessage reply =
        boundedCall(bus, IBus, QStringLiteral("GetEnginesByNames"), {QStringList{IBusKeyEngine::engineName()}});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    if (list.currentType() != QDBusArgument::ArrayType)
        return false;
    list.beginArray();
    const bool any = !list.atEnd();
    list.endArray();
    return any;
}

}  // namespace

IBusEngineTyper::IBusEngineTyper(KeyTyper *fallback, std::function<QString()> address, std::function<void()> settle)
    : m_fallback(fallback),
      m_address(std::move(address)),
      m_settle(std::move(settle)),
      m_connectionName(QStringLiteral("tuvel-ibus-engine-%1").arg(reinterpret_cast<quintptr>(this)))
{
    m_sinceFocusChange.start();
}

IBusEngineTyper::~IBusEngineTyper()
{
    // Never leave the user without their input method, however the program ends.
    if (engaged())
        putBack();
    m_engine.reset();
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool IBusEngineTyper::connectToDaemon()
{
    const QString address = m_address();
    if (address.isEmpty())
        return false;
    if (m_engine && address == m_busAddress && QDBusConnection(m_connectionName).isConnected())
        return true;
    // A daemon that was restarted has a new bus, and no engine of ours made on the old one.
    m_engine.reset();
    QDBusConnection::disconnectFromBus(m_connectionName);
    const QDBusConnection bus = connectBus(address, m_connectionName);
    if (!bus.isConnected())
        return false;
    m_busAddress = address;
    m_engine = std::make_unique<IBusKeyEngine>(bus);
    QObject::connect(m_engine.get(), &IBusKeyEngine::focusChanged, m_engine.get(),
                     [this] { m_sinceFocusChange.restart(); });
    m_engineKnown = daemonKnowsEngine(bus);
    return true;
}

QString IBusEngineTyper::engage()
{
    const QString noIBus = QStringLiteral(
        "この Wayland デスクトップでは IBus を通してキーを入力しますが、IBus が使われていないため、キーを入力しませんでした。"
        "設定の「キーボード」で入力ソースに「日本語 (Mozc)」などを加えると入力できます。");
    if (!connectToDaemon())
        return noIBus;
    if (!m_engineKnown)
        return QStringLiteral(
            "IBus が tuvelv のエンジンを知らないため、キーを入力しませんでした。"
            "tuvelv の Debian パッケージ（tuvelv_*.deb）をインストールして、ログインし直してください。");
    // Another viewer typing a key with the engine: two would type nothing.
    if (!m_engine->serve())
        return QStringLiteral("ほかの tuvelv が IBus のエンジンでキーを入力中のため、キーを入力しませんでした。"
                              "もう一度お試しください。");
    if (m_settle)
        m_settle();
    const QDBusConnection bus(m_connectionName);
    IBusEngineAnswer current = ibusGlobalEngine(bus);
    if (current.name == IBusKeyEngine::engineName()) {
        // Left by a viewer that ended half-way through a key: the user's own engines are
        // the others the daemon has in use.
        current.name.clear();
        for (const QString &name : ibusActiveEngines(bus))
            if (name != IBusKeyEngine::engineName() && current.name.isEmpty())
                current.name = name;
    }
    if (current.name.isEmpty()) {
        m_engine->release();
        return noIBus;  // IBus serves no window: its keys go as they are
    }
    m_previousEngine = current.name;
    if (!switchTo(IBusKeyEngine::engineName(), SwitchBoundMs)) {
        putBack();
        return QStringLiteral("IBus がこのプログラムのエンジンに切り替わらなかったため、キーを入力しませんでした。");
    }
    if (!waitForSteadyFocus(FocusBoundMs)) {
        putBack();
        return QStringLiteral("キーを入力する欄に IBus の入力フォーカスがないため、キーを入力しませんでした。"
                              "入力欄をクリックしてから、もう一度お試しください。");
    }
    return {};
}

// The daemon makes the engine by calling back into this process: the call must not
// block the thread that answers.
bool IBusEngineTyper::switchTo(const QString &engine, int boundMs)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(IBus.service, IBus.path, IBus.interface, QStringLiteral("SetGlobalEngine"));
    call.setArguments({engine});
    call.setAutoStartService(false);
    QDBusPendingCallWatcher watcher(QDBusConnection(m_connectionName).asyncCall(call, boundMs));
    runUntil([&] { return watcher.isFinished(); }, boundMs + 100);
    return watcher.isFinished() && !watcher.isError();
}

bool IBusEngineTyper::waitForSteadyFocus(int boundMs)
{
    return runUntil([this] { return m_engine->hasFocus() && m_sinceFocusChange.elapsed() >= SteadyFocusMs; }, boundMs);
}

void IBusEngineTyper::beginKey(const QList<KeyStroke> &strokes)
{
    m_refusal = engage();
    if (!m_refusal.isEmpty() && m_fallback)
        m_fallback->beginKey(strokes);
}

KeyTyper::Result IBusEngineTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    if (!engaged())
        return m_fallback ? m_fallback->type(strokes, wait) : Result{false, m_refusal};
    for (const EngineStep &step : engineSteps(strokes)) {
        if (!m_engine->hasFocus() && !waitForSteadyFocus(FocusBoundMs))
            return {false, QStringLiteral(
                               "入力先のウィンドウが入力フォーカスを失ったため、キーを最後まで入力できませんでした。")};
        const bool sent = step.text.isEmpty() ? m_engine->forwardKey(step.keysym, step.keycode, step.state)
                                              : m_engine->commitText(step.text);
        if (!sent)
            return {false, QStringLiteral("IBus にキーを送れませんでした。")};
        pause(step.text.isEmpty() ? ForwardedKeyGapMs : PieceGapMs);
    }
    return {};
}

KeyTyper::Result IBusEngineTyper::keyDone()
{
    if (!engaged())
        return m_fallback ? m_fallback->keyDone() : Result{};
    return putBack();
}

KeyTyper::Result IBusEngineTyper::putBack()
{
    const QString engine = std::exchange(m_previousEngine, QString());
    const bool back = switchTo(engine, SwitchBoundMs);
    m_engine->release();
    if (back)
        return {};
    return {false, QStringLiteral("IBus のエンジンを %1 に戻せませんでした。").arg(engine)};
}

}  // namespace platform::freedesktop
