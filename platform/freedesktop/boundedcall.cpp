#include "boundedcall.h"

namespace platform::freedesktop {

QDBusMessage boundedCall(const QDBusConnection &bus, const BusObject &object, const QString &method,
                         const QVariantList &arguments, int boundMs)
{
    QDBusMessage message = QDBusMessage::createMethodCall(object.service, object.path, object.interface, method);
    message.setArguments(arguments);
    message.setAutoStartService(false);
    // Block, not BlockWithGui: no window event may run while the key is being typed.
    return bus.call(message, QDBus::Block, boundMs);
}

bool isUnanswered(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
           name == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
           name == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
}

bool hasOwner(const QDBusConnection &bus, const QString &name)
{
    const QDBusMessage reply =
        boundedCall(bus,
                    {QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                     QStringLiteral("org.freedesktop.DBus")},
                    QStringLiteral("NameHasOwner"), {name});
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

QDBusConnection connectBus(const QString &address, const QString &connectionName)
{
    QDBusConnection existing(connectionName);
    if (existing.isConnected())
        return existing;
    QDBusConnection::disconnectFromBus(connectionName);
    if (address.isEmpty())
        return QDBusConnection(connectionName);
    return QDBusConnection::connectToBus(address, connectionName);
}

}  // namespace platform::freedesktop
