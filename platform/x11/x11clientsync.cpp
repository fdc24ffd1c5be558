#include <QDeadlineTimer>
#include <QThread>

#include "x11clientsync.h"

#include <X11/Xatom.h>
#include <poll.h>
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
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    Window window = None;
    if (XGetWindowProperty(display, root, netActiveWindow, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success
        && data) {
        if (type == XA_WINDOW && format == 32 && count == 1)
            window = *reinterpret_cast<Window *>(data);
        XFree(data);
    }
    return window;
}

bool ClientSync::belongsToThisProcess(Window window) const
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    bool ours = false;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success
        && data) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            ours = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data)) == ::getpid();
        XFree(data);
    }
    return ours;
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
    const long myStamp = stamp++;
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

    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == wmProtocols
                && static_cast<Atom>(event.xclient.data.l[0]) == netWmPing
                && event.xclient.data.l[1] == myStamp)
                return true;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return false;
}

} // namespace platform::x11
