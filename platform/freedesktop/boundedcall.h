#pragma once
// D-Bus calls that wait a bounded time: the viewer blocks while it types, and an
// input method that hangs must not hang it.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantList>

namespace platform::freedesktop {

// How long one call to an input method framework may take.
constexpr int InputMethodCallBoundMs = 500;

struct BusObject {
    QString service;
    QString path;
    QString interface;
};

// The reply, or an error message (a time-out has NoReply or Timeout as its name).
QDBusMessage boundedCall(const QDBusConnection &bus, const BusObject &object, const QString &method,
                         const QVariantList &arguments = {}, int boundMs = InputMethodCallBoundMs);

// Whether the reply is a time-out rather than an answer.
bool isUnanswered(const QDBusMessage &reply);

// Whether a program owns the name on the bus (asked of the bus itself, bounded).
// Nothing is started for it: names are never activated from here.
bool hasOwner(const QDBusConnection &bus, const QString &name);

// A connection of our own to the bus at address, under a name unique to it; not
// connected when the address is empty or nobody answers there.
QDBusConnection connectBus(const QString &address, const QString &connectionName);

}  // namespace platform::freedesktop
