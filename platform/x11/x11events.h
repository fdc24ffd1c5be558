#pragma once
// Waiting for one event on a display, with a deadline.
#include <functional>

#include <X11/Xlib.h>

namespace platform::x11 {

// Reads the display's events until one satisfies wanted (true) or timeoutMs have
// passed (false). Events read meanwhile are consumed.
bool waitForEvent(Display *display, int timeoutMs, const std::function<bool(const XEvent &)> &wanted);

}  // namespace platform::x11
