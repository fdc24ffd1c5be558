#include "desktopinputmethods.h"

#include "busaddress.h"

#include <QDir>

namespace platform::freedesktop {

namespace {

QString currentIBusAddress()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString configHome = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return ibusAddress(env, configHome, localMachineId());
}

}  // namespace

DesktopInputMethods::DesktopInputMethods(std::function<void()> settle)
    : m_fcitx5(sessionBusAddress(QProcessEnvironment::systemEnvironment()), settle), m_ibus(&currentIBusAddress, settle)
{}

}  // namespace platform::freedesktop
