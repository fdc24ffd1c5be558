#pragma once
// The modifier keys held down on the X server's keyboard, real or synthesised.
#include "../services.h"

#include <X11/Xlib.h>

namespace platform::x11 {

// KeyEvents::Held* bits for every Shift, Control, Alt, Meta and Super key that the
// server reports down, wherever the current mapping puts those keys.
quint8 heldModifiers(Display *display);

}  // namespace platform::x11
