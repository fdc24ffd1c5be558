#include "x11modifiers.h"

#include <X11/keysym.h>

namespace platform::x11 {

namespace {

quint8 modifierBit(KeySym sym)
{
    switch (sym) {
    case XK_Shift_L:
    case XK_Shift_R: return KeyEvents::HeldShift;
    case XK_Control_L:
    case XK_Control_R: return KeyEvents::HeldCtrl;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R: return KeyEvents::HeldAlt;
    case XK_Super_L:
    case XK_Super_R: return KeyEvents::HeldSuper;
    default: return 0;
    }
}

}  // namespace

quint8 heldModifiers(Display *display)
{
    if (!display)
        return 0;
    // The key state comes from the server, so releases count whether or not any
    // client has read its events yet.
    char keys[32] = {};
    XQueryKeymap(display, keys);
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    quint8 held = 0;
    for (int code = minCode; code <= maxCode; ++code) {
        if (!(keys[code / 8] & (1 << (code % 8))))
            continue;
        int perCode = 0;
        KeySym *syms = XGetKeyboardMapping(display, static_cast<KeyCode>(code), 1, &perCode);
        if (!syms)
            continue;
        // A modifier key carries its keysym on the first level; the second may be
        // its twin (Alt_L / Meta_L).
        quint8 bits = 0;
        for (int i = 0; i < perCode && i < 2; ++i)
            bits |= modifierBit(syms[i]);
        held |= bits ? bits : KeyEvents::HeldOtherKey;
        XFree(syms);
    }
    return held;
}

}  // namespace platform::x11
