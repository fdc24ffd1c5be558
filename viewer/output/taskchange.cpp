#include "taskchange.h"

#include "modifierwait.h"

namespace MTaskChange {

void ChangeTask(platform::KeyEvents &events, qint32 milliseconds)
{
    using platform::KeyEvents;
    // The user may still hold the Ctrl of Ctrl+B: the window manager would read the
    // switch as Ctrl+Alt+Tab and switch nowhere. After the bound the switch goes
    // ahead; the user's keys are left as they are.
    const quint8 stillHeld = platform::waitForModifierRelease(events);
    // An Alt the user holds serves for the switch; an Alt up of ours would release it.
    const bool userAlt = stillHeld & KeyEvents::HeldAlt;
    if (!userAlt)
        events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyDown, 0);
    events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyDown, 0);
    events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyUp, 0);
    if (!userAlt)
        events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyUp, 0);
    // A negative wait would be an endless one for the native sleep; it means no wait.
    events.sleep(qMax(milliseconds, 0));
}

}  // namespace MTaskChange
