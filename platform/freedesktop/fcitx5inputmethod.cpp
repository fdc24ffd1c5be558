#include "fcitx5inputmethod.h"

#include "boundedcall.h"

namespace platform::freedesktop {

namespace {

const QString Fcitx5Service = QStringLiteral("org.fcitx.Fcitx5");
const BusObject Controller{Fcitx5Service, QStringLiteral("/controller"), QStringLiteral("org.fcitx.Fcitx.Controller1")};
const QString ConnectionName = QStringLiteral("tuvel-fcitx5");

// The controller's State(): no input context, inactive (direct keys) or active.
enum class Fcitx5State { Unanswered = -1, NoContext = 0, Inactive = 1, Active = 2 };

Fcitx5State state(const QDBusConnection &bus)
{
    const QDBusMessage reply = boundedCall(bus, Controller, QStringLiteral("State"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return Fcitx5State::Unanswered;
    const int value = reply.arguments().constFirst().toInt();
    return value == 2 ? Fcitx5State::Active : value == 1 ? Fcitx5State::Inactive : Fcitx5State::NoContext;
}

QString unanswered()
{
    return QStringLiteral("fcitx5 が %1 ミリ秒以内に応答しませんでした。").arg(InputMethodCallBoundMs);
}

}  // namespace

Fcitx5InputMethod::Fcitx5InputMethod(QString busAddress, std::function<void()> settle)
    : m_busAddress(std::move(busAddress)), m_settle(std::move(settle))
{}

InputMethod::Suspension Fcitx5InputMethod::suspend()
{
    m_switchedOff = false;
    bool silent = false;
    const QDBusConnection bus = connectBus(m_busAddress, ConnectionName, &silent);
    if (silent)
        return {false, unanswered()};  // whether fcitx5 is there cannot be told
    if (!bus.isConnected() || !hasOwner(bus, Fcitx5Service))
        return {};  // fcitx5 is not running: keys go in as they are
    if (m_settle)
        m_settle();
    switch (state(bus)) {
    case Fcitx5State::Unanswered: return {false, unanswered()};
    case Fcitx5State::NoContext:
    case Fcitx5State::Inactive: return {};
    case Fcitx5State::Active: break;
    }
    const QDBusMessage reply = boundedCall(bus, Controller, QStringLiteral("Deactivate"));
    const Fcitx5State after = reply.type() == QDBusMessage::ReplyMessage ? state(bus) : Fcitx5State::Unanswered;
    if (after == Fcitx5State::Inactive) {
        m_switchedOff = true;
        return {};
    }
    // A deactivation that came late may still take effect: ask for the input method
    // back, so that a refusal leaves it as the user had it.
    if (after != Fcitx5State::Active)
        boundedCall(bus, Controller, QStringLiteral("Activate"));
    return {false, after == Fcitx5State::Unanswered
                       ? unanswered()
                       : QStringLiteral("fcitx5 の入力メソッドがオフになりませんでした。")};
}

InputMethod::Resumption Fcitx5InputMethod::resume()
{
    if (!m_switchedOff)
        return {};
    m_switchedOff = false;
    const QDBusMessage reply = boundedCall(QDBusConnection(ConnectionName), Controller, QStringLiteral("Activate"));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {};
    // It stays off in the user's window, which then types no kana: the user must know.
    return {false, QStringLiteral("fcitx5 の入力メソッドをオンに戻せませんでした。") +
                       (isUnanswered(reply) ? unanswered() : QString())};
}

}  // namespace platform::freedesktop
