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
    // True once the active window answered `rounds` pings one after the other; false
    // when it has no ping support (then it just waits fallbackMs), did not answer
    // within timeoutMs, or is a window of this very process (no wait at all).
    bool waitForActiveClient(int timeoutMs, int fallbackMs, int rounds = 1);

    enum class Answer { Answered, NoAnswer, NoPing, OwnWindow };
    // One ping to the active window, waiting at most timeoutMs for the answer.
    Answer pingActiveClient(int timeoutMs);
    // The process of the active window, when it runs on this machine; 0 when unknown.
    long activeClientPid() const;

private:
    Display *display;
    Window root;
    Atom wmProtocols;
    Atom netWmPing;
    Atom netActiveWindow;
    Atom netWmPid;

    Window activeWindow() const;
    bool supportsPing(Window window) const;
    bool belongsToThisProcess(Window window) const;
    bool ping(Window window, int timeoutMs);
};

}  // namespace platform::x11
