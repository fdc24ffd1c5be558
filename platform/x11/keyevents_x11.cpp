#include "services_x11.h"

#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include "x11events.h"
#include "x11property.h"
#include "x11modifiers.h"

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
constexpr int WindowManagerTimeoutMs = 500;

bool windowManagerSupports(Display *display, Atom wanted)
{
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    for (unsigned long atom : x11::readProperty32(display, DefaultRootWindow(display), supported, XA_ATOM, 4096L))
        if (atom == wanted)
            return true;
    return false;
}

// Returns once the window manager has handled every event sent before. A window
// manager reads Alt+Tab from its own queue: four events sent back to back can all be
// over before it looks at the first, and it then sees Tab without Alt held and
// switches nowhere. It answers a frame-extents request in turn with its queue, so
// the answer means the keys before it have been seen.
void waitForWindowManager(Display *display)
{
    static const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    static const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    static const bool supported = windowManagerSupports(display, request);
    if (!supported)
        return;
    // An unmapped window of our own that only carries the answer.
    static const Window probe = [display] {
        const Window w = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(display, w, PropertyChangeMask);
        return w;
    }();
    XEvent ask{};
    ask.xclient.type = ClientMessage;
    ask.xclient.window = probe;
    ask.xclient.message_type = request;
    ask.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &ask);
    XFlush(display);

    x11::waitForEvent(display, WindowManagerTimeoutMs, [&](const XEvent &event) {
        return event.type == PropertyNotify && event.xproperty.window == probe && event.xproperty.atom == extents;
    });
}

}  // namespace

void X11KeyEvents::keybdEvent(quint8 virtualKey, quint8, quint32 flags, quintptr)
{
    Display *display = eventDisplay();
    if (!display)
        return;
    const KeySym sym = keysymFor(virtualKey);
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (code != 0) {
        const bool down = !(flags & KeyUp);
        XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
        XSync(display, False);
        // The window manager must see each key held before the next event releases it.
        if (down)
            waitForWindowManager(display);
    }
}

void X11KeyEvents::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

quint8 X11KeyEvents::heldModifiers() { return x11::heldModifiers(eventDisplay()); }

}  // namespace platform
