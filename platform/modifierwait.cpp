#include "modifierwait.h"

#include <QStringList>

namespace platform {

quint8 waitForModifierRelease(const std::function<quint8()> &held, const std::function<void(int)> &sleep, int boundMs)
{
    quint8 down = held();
    // Counting the sleeps rather than reading a clock keeps the bound the same for
    // the recording fakes, whose sleeps take no time.
    for (int slept = 0; down != 0 && slept < boundMs; slept += ModifierPollMs) {
        sleep(ModifierPollMs);
        down = held();
    }
    return down;
}

quint8 waitForModifierRelease(KeyEvents &events, int boundMs)
{
    return waitForModifierRelease([&events] { return events.heldModifiers(); }, [&events](int ms) { events.sleep(ms); },
                                  boundMs);
}

QString modifiersStillHeldMessage(quint8 held)
{
    QStringList names;
    if (held & KeyEvents::HeldCtrl)
        names.append(QStringLiteral("Ctrl"));
    if (held & KeyEvents::HeldShift)
        names.append(QStringLiteral("Shift"));
    if (held & KeyEvents::HeldAlt)
        names.append(QStringLiteral("Alt"));
    if (held & KeyEvents::HeldSuper)
        names.append(QStringLiteral("Windows"));
    if (held & KeyEvents::HeldOtherKey)
        names.append(QStringLiteral("Enter などの"));
    return QStringLiteral("%1 キーが押されたままのため入力しませんでした").arg(names.join(QStringLiteral("、")));
}

}  // namespace platform
