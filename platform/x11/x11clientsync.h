#pragma once
// Waiting until the active window's client has read every event sent before.
//
// X clients read their events in order, so once the client answers a _NET_WM_PING
// sent after some key events it has translated those keys (with the keyboard mapping
// it fetched on the MappingNotify that came before them). Only then may the typer
// change the mapping again.

#include <X11/Xlib.h>

namespace platform::x11 {

class ClientSync {
public:
    explicit ClientSync(Display *display);
    // True once the active window answered; false when it has no ping support or did
    // not answer within timeoutMs. Without an answer it falls back to fallbackMs of waiting.
    bool waitForActiveClient(int timeoutMs, int fallbackMs);

private:
    Display *display;
    Window root;
    Atom wmProtocols;
    Atom netWmPing;
    Atom netActiveWindow;
    long stamp = 1;

    Window activeWindow() const;
    bool supportsPing(Window window) const;
};

} // namespace platform::x11
