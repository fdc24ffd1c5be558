#include "taskchange.h"

namespace MTaskChange {

void ChangeTask(platform::KeyEvents &events, qint32 milliseconds)
{
    using platform::KeyEvents;
    events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyDown, 0);
    events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyDown, 0);
    events.keybdEvent(KeyEvents::VK_Tab, 0, KeyEvents::KeyUp, 0);
    events.keybdEvent(KeyEvents::VK_Menu, 0, KeyEvents::KeyUp, 0);
    // A negative wait would be an endless one for the native sleep; it means no wait.
    events.sleep(qMax(milliseconds, 0));
}

} // namespace MTaskChange
