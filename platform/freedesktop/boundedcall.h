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

// How a bus's socket answers a client that signs in and says Hello, within a bound.
enum class BusAnswer {
    Answers,  // it did (or it is no unix socket, which is left to the bus library)
    Absent,   // nobody listens there, or the connection was closed
    Silent,   // something took the connection and said nothing in time
};
BusAnswer probeBus(const QString &address, int boundMs = InputMethodCallBoundMs);

// A connection of our own to the bus at address, under a name unique to it; not
// connected when the address is empty or nobody answers there. The bus library signs in
// with no time limit, so a new connection is made only to a socket that has just
// answered within the bound; silent, when given, says whether it kept quiet.
QDBusConnection connectBus(const QString &address, const QString &connectionName, bool *silent = nullptr);

}  // namespace platform::freedesktop
