#include "ibusengine.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace platform::freedesktop {

namespace {

const QString Root = QStringLiteral("/org/freedesktop/IBus");
const QString FactoryPath = QStringLiteral("/org/freedesktop/IBus/Factory");
const QString EngineInterface = QStringLiteral("org.freedesktop.IBus.Engine");
constexpr quint32 ReleaseMask = 1u << 30;

// IBus's serialised objects are structures of a type name, attachments and their
// fields: an IBusText is (sa{sv}sv), its last field an IBusAttrList (sa{sv}av).
QDBusVariant ibusText(const QString &text)
{
    QDBusArgument attributes;
    attributes.beginStructure();
    attributes << QStringLiteral("IBusAttrList") << QVariantMap();
    attributes.beginArray(QMetaType::fromType<QDBusVariant>());
    attributes.endArray();
    attributes.endStructure();

    QDBusArgument value;
    value.beginStructure();
    value << QStringLiteral("IBusText") << QVariantMap() << text << QDBusVariant(QVariant::fromValue(attributes));
    value.endStructure();
    return QDBusVariant(QVariant::fromValue(value));
}

}  // namespace

IBusKeyEngine::IBusKeyEngine(const QDBusConnection &bus) : m_bus(bus) {}

IBusKeyEngine::~IBusKeyEngine()
{
    release();
    if (m_registered)
        m_bus.unregisterObject(Root, QDBusConnection::UnregisterTree);
}

bool IBusKeyEngine::serve()
{
    if (m_serving)
        return true;
    if (!m_registered)
        m_registered = m_bus.registerVirtualObject(Root, this, QDBusConnection::SubPath);
    if (!m_registered)
        return false;
    // Never queued behind another owner: while one viewer types, another waits its turn.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
        busName(), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    m_serving = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    return m_serving;
}

void IBusKeyEngine::release()
{
    if (m_serving)
        m_bus.unregisterService(busName());
    m_serving = false;
}

bool IBusKeyEngine::commitText(const QString &text)
{
    return emitSignal(QStringLiteral("CommitText"), {QVariant::fromValue(ibusText(text))});
}

bool IBusKeyEngine::forwardKey(quint32 keysym, quint32 evdevKeycode, quint32 state)
{
    return emitSignal(QStringLiteral("ForwardKeyEvent"), {keysym, evdevKeycode, state}) &&
           emitSignal(QStringLiteral("ForwardKeyEvent"), {keysym, evdevKeycode, state | ReleaseMask});
}

bool IBusKeyEngine::emitSignal(const QString &member, const QList<QVariant> &arguments)
{
    if (m_enginePath.isEmpty())
        return false;
    QDBusMessage message = QDBusMessage::createSignal(m_enginePath, EngineInterface, member);
    message.setArguments(arguments);
    return m_bus.send(message);
}

QString IBusKeyEngine::introspect(const QString &) const { return {}; }

bool IBusKeyEngine::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    const QString member = message.member();
    auto reply = [&](const QList<QVariant> &values = {}) {
        if (!message.isReplyRequired())
            return;
        QDBusMessage answer = message.createReply();
        answer.setArguments(values);
        connection.send(answer);
    };
    if (message.path() == FactoryPath && member == QLatin1String("CreateEngine")) {
        const QString name = message.arguments().value(0).toString();
        if (name != engineName()) {
            connection.send(
                message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("unknown engine ") + name));
            return true;
        }
        m_enginePath = QStringLiteral("/org/freedesktop/IBus/Engine/tuvelv/%1").arg(++m_made);
        m_focused = false;
        reply({QVariant::fromValue(QDBusObjectPath(m_enginePath))});
        return true;
    }
    if (m_enginePath.isEmpty() || message.path() != m_enginePath) {
        connection.send(message.createErrorReply(QDBusError::UnknownObject, message.path()));
        return true;
    }
    if (member == QLatin1String("ProcessKeyEvent")) {
        reply({false});  // the user's own keys pass untouched
        return true;
    }
    if (member == QLatin1String("FocusIn") || member == QLatin1String("FocusInId") ||
        member == QLatin1String("FocusOut") || member == QLatin1String("Disable")) {
        // Each one counts, a FocusIn on the focused engine too: the daemon moved it to
        // another window.
        m_focused = member.startsWith(QLatin1String("FocusIn"));
        emit focusChanged(m_focused);
    } else if (member == QLatin1String("Destroy")) {
        m_enginePath.clear();
        if (m_focused) {
            m_focused = false;
            emit focusChanged(false);
        }
    }
    reply();
    return true;
}

}  // namespace platform::freedesktop
