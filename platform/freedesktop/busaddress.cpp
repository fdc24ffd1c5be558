#include "busaddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform::freedesktop {

QString sessionBusAddress(const QProcessEnvironment &env)
{
    const QString given = env.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!given.isEmpty())
        return given;
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (runtime.isEmpty())
        return {};
    const QString socket = runtime + QStringLiteral("/bus");
    return QFileInfo::exists(socket) ? QStringLiteral("unix:path=") + socket : QString();
}

QStringList ibusAddressFileNames(const QString &machineId, const QString &x11Display, const QString &waylandDisplay)
{
    QStringList names;
    if (machineId.isEmpty())
        return names;
    // A Wayland display is used whole ("wayland-1"); an X display "host:N.S" gives
    // its host ("unix" when empty) and its number N.
    if (!waylandDisplay.isEmpty() && !waylandDisplay.contains(QLatin1Char('/')))
        names.append(machineId + QStringLiteral("-unix-") + waylandDisplay);
    const qsizetype colon = x11Display.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        QString host = x11Display.left(colon);
        if (host.isEmpty())
            host = QStringLiteral("unix");
        const QString number = x11Display.mid(colon + 1).section(QLatin1Char('.'), 0, 0);
        bool numeric = false;
        number.toUInt(&numeric);
        if (numeric && !host.contains(QLatin1Char('/')))
            names.append(machineId + QLatin1Char('-') + host + QLatin1Char('-') + number);
    }
    return names;
}

QString ibusAddressFromFile(const QByteArray &contents)
{
    for (const QByteArray &line : contents.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith("IBUS_ADDRESS="))
            return QString::fromUtf8(trimmed.mid(int(qstrlen("IBUS_ADDRESS="))));
    }
    return {};
}

QString ibusAddress(const QProcessEnvironment &env, const QString &configHome, const QString &machineId)
{
    const QString given = env.value(QStringLiteral("IBUS_ADDRESS"));
    if (!given.isEmpty())
        return given;
    const QStringList names = ibusAddressFileNames(machineId, env.value(QStringLiteral("DISPLAY")),
                                                   env.value(QStringLiteral("WAYLAND_DISPLAY")));
    for (const QString &name : names) {
        QFile file(configHome + QStringLiteral("/ibus/bus/") + name);
        // The file is a few lines; anything larger is not ibus-daemon's.
        if (file.open(QIODevice::ReadOnly))
            return ibusAddressFromFile(file.read(4096));
    }
    return {};
}

QString localMachineId()
{
    for (const char *path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromLatin1(file.read(64)).trimmed();
            if (!id.isEmpty())
                return id;
        }
    }
    return {};
}

}  // namespace platform::freedesktop
