#include "desktopinputmethods.h"

#include "busaddress.h"

#include <QDir>

namespace platform::freedesktop {

QString currentIBusAddress()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString configHome = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return ibusAddress(env, configHome, localMachineId());
}

DesktopInputMethods::DesktopInputMethods(std::function<void()> settle, std::function<void()> drain,
                                         std::function<bool()> ibusEngineTyping)
    : m_drain(std::move(drain)),
      m_fcitx5(sessionBusAddress(QProcessEnvironment::systemEnvironment()), settle),
      m_ibus(&currentIBusAddress, settle)
{
    m_ibus.setEngineTyping(std::move(ibusEngineTyping));
}

InputMethod::Resumption DesktopInputMethods::resume()
{
    // A window passes its keys to the input method on its own time, after it has read
    // them: one switched back too early still converts the last few.
    if (m_chain.holdsAny() && m_drain)
        m_drain();
    return m_chain.resume();
}

}  // namespace platform::freedesktop
