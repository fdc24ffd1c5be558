#include "x11connection.h"

namespace platform::x11 {

namespace {

// Xlib's handler is process-wide and takes no context; one trap lives at a time.
int trappedErrors = 0;

int countError(Display *, XErrorEvent *)
{
    ++trappedErrors;
    return 0;
}

}  // namespace

ErrorTrap::ErrorTrap(Display *display) : m_display(display), m_previous(XSetErrorHandler(countError))
{
    trappedErrors = 0;
}

ErrorTrap::~ErrorTrap()
{
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
}

int ErrorTrap::errors() const
{
    XSync(m_display, False);
    return trappedErrors;
}

}  // namespace platform::x11
