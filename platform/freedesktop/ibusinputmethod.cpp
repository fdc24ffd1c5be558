#include "ibusinputmethod.h"

#include "boundedcall.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <utility>

namespace platform::freedesktop {

namespace {

const QString IBusService = QStringLiteral("org.freedesktop.IBus");
const BusObject IBus{IBusService, QStringLiteral("/org/freedesktop/IBus"), IBusService};
const BusObject IBusProperties{IBusService, IBus.path, QStringLiteral("org.freedesktop.DBus.Properties")};
const QString ConnectionName = QStringLiteral("tuvel-ibus");

QString unanswered()
{
    return QStringLiteral("IBus が %1 ミリ秒以内に応答しませんでした。").arg(InputMethodCallBoundMs);
}

// A variant as it comes off the bus, unwrapped down to what it holds.
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

// An IBusEngineDesc is a structure: its type name, attachments, then the engine's name.
QString engineName(const QVariant &desc)
{
    const QVariant value = unwrapped(desc);
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return {};
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::StructureType)
        return {};
    QString typeName, name;
    QVariantMap attachments;
    argument.beginStructure();
    argument >> typeName >> attachments >> name;
    argument.endStructure();  // frees what beginStructure() took
    return typeName == QLatin1String("IBusEngineDesc") ? name : QString();
}

QDBusMessage property(const QDBusConnection &bus, const QString &name)
{
    return boundedCall(bus, IBusProperties, QStringLiteral("Get"), {IBus.interface, name});
}

}  // namespace

IBusEngineAnswer ibusGlobalEngine(const QDBusConnection &bus)
{
    const QDBusMessage reply = property(bus, QStringLiteral("GlobalEngine"));
    if (isUnanswered(reply))
        return {};
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {true, {}};
    return {true, engineName(reply.arguments().constFirst())};
}

QStringList ibusActiveEngines(const QDBusConnection &bus)
{
    QStringList names;
    const QDBusMessage reply = property(bus, QStringLiteral("ActiveEngines"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return names;
    const QVariant list = unwrapped(reply.arguments().constFirst());
    if (list.userType() != qMetaTypeId<QDBusArgument>())
        return names;
    const QDBusArgument argument = list.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return names;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant engine;
        argument >> engine;
        names.append(engineName(engine.variant()));
    }
    argument.endArray();
    return names;
}

namespace {

// IBus refuses the switch when none of its input contexts has the focus (the user's
// window does not take its keys through IBus at all) or when it keeps an engine per
// window; the daemon says so in these words. Any other refusal leaves the engine on.
bool notInUse(const QDBusMessage &reply)
{
    const QString name = reply.errorName(), message = reply.errorMessage();
    return name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           message.startsWith(QLatin1String("No focused input context")) ||
           message.startsWith(QLatin1String("Global engine feature is disabled"));
}

}  // namespace

QDBusMessage setGlobalEngine(const QDBusConnection &bus, const QString &name)
{
    return boundedCall(bus, IBus, QStringLiteral("SetGlobalEngine"), {name});
}

bool isPlainEngine(const QString &engineName) { return engineName.startsWith(QLatin1String("xkb:")); }

QString plainEngineAmong(const QStringList &activeEngines)
{
    for (const QString &name : activeEngines) {
        if (isPlainEngine(name))
            return name;
    }
    return QStringLiteral("xkb:jp::jpn");
}

IBusInputMethod::IBusInputMethod(std::function<QString()> address, std::function<void()> settle)
    : m_address(std::move(address)), m_settle(std::move(settle))
{}

InputMethod::Suspension IBusInputMethod::suspend()
{
    m_previousEngine.clear();
    if (m_engineTyping && m_engineTyping())
        return {};  // the viewer's own engine is the global one for this key
    const QString address = m_address();
    if (address.isEmpty())
        return {};
    // A new connection each time: an address file outlives a daemon that was stopped,
    // and then nobody answers there (IBus is not running).
    QDBusConnection::disconnectFromBus(ConnectionName);
    bool silent = false;
    const QDBusConnection bus = connectBus(address, ConnectionName, &silent);
    if (silent)
        return {false, unanswered()};  // ibus-daemon serves this bus itself: it hangs
    if (!bus.isConnected())
        return {};
    if (m_settle)
        m_settle();
    const IBusEngineAnswer current = ibusGlobalEngine(bus);
    if (!current.answered)
        return {false, unanswered()};
    // A window that takes its keys through IBus asks the engine about each, plain or
    // not, and Qt's frontend lets an answer that came quickly overtake one still awaited.
    const Suspension asked{true, {}, true};
    if (current.name.isEmpty())
        return {};
    if (isPlainEngine(current.name))
        return asked;
    const QString plain = plainEngineAmong(ibusActiveEngines(bus));
    const QDBusMessage reply = setGlobalEngine(bus, plain);
    if (isUnanswered(reply)) {
        setGlobalEngine(bus, current.name);  // a switch that came late is undone
        return {false, unanswered()};
    }
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (notInUse(reply))
            return {};
        return {false, QStringLiteral("IBus のエンジンを %1 に切り替えられませんでした（%2）。")
                           .arg(plain, reply.errorMessage().trimmed())};
    }
    const IBusEngineAnswer now = ibusGlobalEngine(bus);
    if (now.name != plain) {
        setGlobalEngine(bus, current.name);
        return {false, now.answered ? QStringLiteral("IBus のエンジンを %1 に切り替えられませんでした。").arg(plain)
                                    : unanswered()};
    }
    m_previousEngine = current.name;
    return asked;
}

InputMethod::Resumption IBusInputMethod::resume()
{
    if (m_previousEngine.isEmpty())
        return {};
    const QString engine = std::exchange(m_previousEngine, QString());
    const QDBusMessage reply = setGlobalEngine(QDBusConnection(ConnectionName), engine);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {};
    // The plain engine stays: the user's window types no kana until the user puts it back.
    return {false, QStringLiteral("IBus のエンジンを %1 に戻せませんでした。").arg(engine) +
                       (isUnanswered(reply) ? unanswered() : QString())};
}

}  // namespace platform::freedesktop
