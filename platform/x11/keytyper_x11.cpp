#include "services_x11.h"

namespace platform {

KeyTyper::Result X11KeyTyper::sendKeys(const QString &, bool)
{
    return {false, QStringLiteral("typing is not available yet")};
}

} // namespace platform
