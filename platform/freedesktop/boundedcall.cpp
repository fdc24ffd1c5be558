#include "boundedcall.h"

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QtEndian>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

namespace {

// The unix sockets of a D-Bus address ("unix:path=/run/bus,guid=…;tcp:…"); an abstract
// one starts with a nul byte.
QList<QByteArray> unixSockets(const QString &address)
{
    QList<QByteArray> sockets;
    for (const QString &entry : address.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!entry.startsWith(QLatin1String("unix:")))
            continue;
        for (const QString &pair : entry.mid(5).split(QLatin1Char(','))) {
            const QByteArray value = QByteArray::fromPercentEncoding(pair.section(QLatin1Char('='), 1).toUtf8());
            if (pair.startsWith(QLatin1String("path=")))
                sockets.append(value);
            else if (pair.startsWith(QLatin1String("abstract=")))
                sockets.append(QByteArray(1, '\0') + value);
        }
    }
    return sockets;
}

// org.freedesktop.DBus.Hello(), the first call of every client, as it goes on the wire.
QByteArray helloCall()
{
    const bool little = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    QByteArray fields;
    const auto field = [&fields](char code, char type, const QByteArray &value) {
        while (fields.size() % 8)
            fields.append('\0');
        const quint32 length = quint32(value.size());
        fields.append(code).append('\1').append(type).append('\0');
        fields.append(reinterpret_cast<const char *>(&length), 4).append(value).append('\0');
    };
    const QByteArray bus = "org.freedesktop.DBus";
    field(1, 'o', "/org/freedesktop/DBus");
    field(2, 's', bus);
    field(3, 's', "Hello");
    field(6, 's', bus);
    const quint32 fixed[3] = {0, 1, quint32(fields.size())};  // body length, serial, fields' length
    QByteArray message;
    message.append(little ? 'l' : 'B').append('\1').append('\0').append('\1');
    message.append(reinterpret_cast<const char *>(fixed), sizeof fixed).append(fields);
    while (message.size() % 8)
        message.append('\0');
    return message;
}

bool waitFor(int socket, short events, const QDeadlineTimer &deadline)
{
    pollfd watched{socket, events, 0};
    int ready;
    do
        ready = ::poll(&watched, 1, int(deadline.remainingTime()));
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

bool sendAll(int socket, QByteArray bytes, const QDeadlineTimer &deadline)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
        if (sent > 0)
            bytes.remove(0, sent);
        else if ((sent < 0 && errno != EAGAIN && errno != EINTR) || !waitFor(socket, POLLOUT, deadline))
            return false;
    }
    return true;
}

// What the bus says next, up to the end of a line when asked for one; empty when it
// said nothing in time, closed when it hung up.
QByteArray receive(int socket, bool line, const QDeadlineTimer &deadline, bool *closed)
{
    QByteArray answer;
    while (!(line ? answer.contains("\r\n") : !answer.isEmpty()) && answer.size() < 4096) {
        if (!waitFor(socket, POLLIN, deadline))
            return {};
        char chunk[512];
        const ssize_t got = ::recv(socket, chunk, sizeof chunk, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            *closed = true;
            return {};
        }
        if (got > 0)
            answer.append(chunk, got);
    }
    return answer;
}

BusAnswer probeSocket(const QByteArray &name, const QDeadlineTimer &deadline)
{
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof where.sun_path)
        return BusAnswer::Absent;
    std::memcpy(where.sun_path, name.constData(), size_t(name.size()));
    const bool abstract = name.startsWith('\0');
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()) + (abstract ? 0 : 1));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return BusAnswer::Answers;  // nothing to tell by: the bus library's own try decides
    const auto closeSocket = qScopeGuard([socket] { ::close(socket); });
    if (::connect(socket, reinterpret_cast<const sockaddr *>(&where), length) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return BusAnswer::Absent;
        int error = 0;
        socklen_t size = sizeof error;
        if (!waitFor(socket, POLLOUT, deadline))
            return BusAnswer::Silent;
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
            return BusAnswer::Absent;
    }
    // Signed in as the user the process runs as, the way the bus library does it.
    const QByteArray user = QByteArray::number(::geteuid()).toHex();
    bool closed = false;
    if (!sendAll(socket, QByteArray(1, '\0') + "AUTH EXTERNAL " + user + "\r\n", deadline))
        return BusAnswer::Absent;
    const QByteArray reply = receive(socket, true, deadline, &closed);
    if (reply.isEmpty())
        return closed ? BusAnswer::Absent : BusAnswer::Silent;
    if (!reply.startsWith("OK "))
        return BusAnswer::Answers;  // it answered; the bus library has other ways in
    if (!sendAll(socket, "BEGIN\r\n" + helloCall(), deadline))
        return BusAnswer::Absent;
    if (receive(socket, false, deadline, &closed).isEmpty())
        return closed ? BusAnswer::Absent : BusAnswer::Silent;
    return BusAnswer::Answers;
}

}  // namespace

BusAnswer probeBus(const QString &address, int boundMs)
{
    const QList<QByteArray> sockets = unixSockets(address);
    if (sockets.isEmpty())
        return address.isEmpty() ? BusAnswer::Absent : BusAnswer::Answers;
    // The bus library tries the addresses in order and takes the first that connects.
    const QDeadlineTimer deadline(boundMs);
    BusAnswer answer = BusAnswer::Absent;
    for (const QByteArray &socket : sockets) {
        answer = probeSocket(socket, deadline);
        if (answer != BusAnswer::Absent)
            break;
    }
    return answer;
}

QDBusConnection connectBus(const QString &address, const QString &connectionName, bool *silent)
{
    if (silent)
        *silent = false;
    QDBusConnection existing(connectionName);
    if (existing.isConnected())
        return existing;
    QDBusConnection::disconnectFromBus(connectionName);
    const BusAnswer answer = probeBus(address);
    if (silent)
        *silent = answer == BusAnswer::Silent;
    if (answer != BusAnswer::Answers)
        return QDBusConnection(connectionName);
    return QDBusConnection::connectToBus(address, connectionName);
}

}  // namespace platform::freedesktop
