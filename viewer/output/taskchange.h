#pragma once
// MTaskChange: back to the previously active window.
#include "services.h"

namespace MTaskChange {

// Waits (bounded) until the user has let go of every modifier key, then Alt down,
// Tab down, Tab up, Alt up, back to back (scan code 0, no extra information, no
// extended-key flag), then a wait of milliseconds. Alt is left out while the user
// still holds it.
void ChangeTask(platform::KeyEvents &events, qint32 milliseconds);

}  // namespace MTaskChange
