#include <QDeadlineTimer>

#include "x11events.h"

#include <poll.h>

#include <algorithm>

namespace platform::x11 {

bool waitForEvent(Display *display, int timeoutMs, const std::function<bool(const XEvent &)> &wanted)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (wanted(event))
                return true;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return false;
}

}  // namespace platform::x11
