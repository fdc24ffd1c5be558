#pragma once
// Where the input method frameworks' buses are. Reading the environment and the files
// only: no connection is made here, and no bus is ever started for us (a session bus
// that is not there means no framework that uses it is running either).

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace platform::freedesktop {

// The user's session bus: DBUS_SESSION_BUS_ADDRESS, else the bus socket that systemd
// keeps in XDG_RUNTIME_DIR. Empty when there is none.
QString sessionBusAddress(const QProcessEnvironment &env);

// IBus runs a bus of its own. IBUS_ADDRESS names it; otherwise ibus-daemon writes its
// address into a file named after the machine and the display it serves, in the
// user's configuration folder. The names to try, the Wayland display's first.
QStringList ibusAddressFileNames(const QString &machineId, const QString &x11Display, const QString &waylandDisplay);

// The IBUS_ADDRESS line of such a file; empty when it has none.
QString ibusAddressFromFile(const QByteArray &contents);

// IBUS_ADDRESS, else the address in the first address file that exists under
// configHome (XDG_CONFIG_HOME or ~/.config). Empty when IBus has left none.
QString ibusAddress(const QProcessEnvironment &env, const QString &configHome, const QString &machineId);

// The machine's D-Bus id (/var/lib/dbus/machine-id, else /etc/machine-id).
QString localMachineId();

}  // namespace platform::freedesktop
