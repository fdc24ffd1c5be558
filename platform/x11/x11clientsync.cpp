#include <QThread>

#include "x11clientsync.h"

#include <X11/Xatom.h>
#include "x11events.h"
#include "x11property.h"
#include <X11/extensions/XRes.h>
#include <unistd.h>

namespace platform::x11 {

ClientSync::ClientSync(Display *display)
    : display(display),
      root(DefaultRootWindow(display)),
      wmProtocols(XInternAtom(display, "WM_PROTOCOLS", False)),
      netWmPing(XInternAtom(display, "_NET_WM_PING", False)),
      netActiveWindow(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      netWmPid(XInternAtom(display, "_NET_WM_PID", False))
{
    // The answer goes to the root window for the window manager; clients send it with
    // a structure or a substructure mask, so listen for both.
    XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
}

Window ClientSync::activeWindow() const
{
    return x11::readProperty32(display, root, netActiveWindow, XA_WINDOW, static_cast<unsigned long>(None));
}

bool ClientSync::belongsToThisProcess(Window window) const
{
    const std::vector<unsigned long> pid = x11::readProperty32(display, window, netWmPid, XA_CARDINAL, 1L);
    return pid.size() == 1 && static_cast<pid_t>(pid.front()) == ::getpid();
}

bool ClientSync::supportsPing(Window window) const
{
    Atom *protocols = nullptr;
    int count = 0;
    bool found = false;
    if (XGetWMProtocols(display, window, &protocols, &count)) {
        for (int i = 0; i < count; ++i)
            found = found || protocols[i] == netWmPing;
        XFree(protocols);
    }
    return found;
}

long ClientSync::activeClientPid() const
{
    const Window window = activeWindow();
    if (window == None)
        return 0;
    // The server knows the process of a local client from its socket, also for programs
    // that do not say it in _NET_WM_PID (Java's, plain Xlib ones).
    int event = 0, error = 0;
    if (XResQueryExtension(display, &event, &error)) {
        XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue *ids = nullptr;
        pid_t pid = -1;
        if (XResQueryClientIds(display, 1, &spec, &count, &ids) == Success) {
            for (long i = 0; i < count && pid <= 0; ++i)
                pid = XResGetClientPid(&ids[i]);
            XResClientIdsDestroy(count, ids);
        }
        return pid > 0 ? pid : 0;
    }
    return 0;
}

ClientSync::Answer ClientSync::pingActiveClient(int timeoutMs)
{
    const Window window = activeWindow();
    if (window != None && belongsToThisProcess(window))
        return Answer::OwnWindow;
    if (window == None || !supportsPing(window))
        return Answer::NoPing;
    return ping(window, timeoutMs) ? Answer::Answered : Answer::NoAnswer;
}

bool ClientSync::waitForActiveClient(int timeoutMs, int fallbackMs, int rounds)
{
    const Window window = activeWindow();
    // Our own window cannot answer while this thread waits for it.
    if (window != None && belongsToThisProcess(window))
        return false;
    if (window == None || !supportsPing(window)) {
        XSync(display, False);
        QThread::msleep(static_cast<unsigned long>(fallbackMs));
        return false;
    }
    for (int i = 0; i < rounds; ++i)
        if (!ping(window, timeoutMs))
            return false;
    return true;
}

bool ClientSync::ping(Window window, int timeoutMs)
{
    // Numbered across calls: a late answer to an earlier ping must not end this wait.
    static long stamp = 0;
    const long myStamp = ++stamp;
    XEvent ping{};
    ping.xclient.type = ClientMessage;
    ping.xclient.window = window;
    ping.xclient.message_type = wmProtocols;
    ping.xclient.format = 32;
    ping.xclient.data.l[0] = static_cast<long>(netWmPing);
    ping.xclient.data.l[1] = myStamp;
    ping.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &ping);
    XFlush(display);

    return waitForEvent(display, timeoutMs, [&](const XEvent &event) {
        return event.type == ClientMessage && event.xclient.message_type == wmProtocols &&
               static_cast<Atom>(event.xclient.data.l[0]) == netWmPing && event.xclient.data.l[1] == myStamp;
    });
}

}  // namespace platform::x11
