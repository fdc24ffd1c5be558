#include "services_x11.h"

#include <QThread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace platform {

namespace {
KeySym keysymFor(quint8 virtualKey)
{
    switch (virtualKey) {
    case KeyEvents::VK_Menu: return XK_Alt_L;
    case KeyEvents::VK_Tab: return XK_Tab;
    default: return NoSymbol;
    }
}

// One connection for the life of the program: the task switch sends four events back
// to back, and each reopening would cost a connection handshake. Opened on first use,
// so a program that never switches tasks never connects.
Display *eventDisplay()
{
    static Display *const display = XOpenDisplay(nullptr);
    return display;
}
} // namespace

void X11KeyEvents::keybdEvent(quint8 virtualKey, quint8, quint32 flags, quintptr)
{
    Display *display = eventDisplay();
    if (!display)
        return;
    const KeySym sym = keysymFor(virtualKey);
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (code != 0) {
        XTestFakeKeyEvent(display, code, (flags & KeyUp) ? False : True, CurrentTime);
        XSync(display, False);
    }
}

void X11KeyEvents::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace platform
