#pragma once
// Owning wrappers for an X display connection and for the X error handler, so that
// every way out of a function closes the one and puts back the other.
#include <X11/Xlib.h>

namespace platform::x11 {

class DisplayConnection {
public:
    DisplayConnection() : m_display(XOpenDisplay(nullptr)) {}
    ~DisplayConnection()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    DisplayConnection(const DisplayConnection &) = delete;
    DisplayConnection &operator=(const DisplayConnection &) = delete;

    Display *get() const { return m_display; }
    explicit operator bool() const { return m_display != nullptr; }

private:
    Display *m_display;
};

// Counts the protocol errors of one display while it lives, instead of letting
// Xlib's default handler end the program; the previous handler is put back.
class ErrorTrap {
public:
    explicit ErrorTrap(Display *display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    // Errors so far, once the server has answered every request sent before.
    int errors() const;

private:
    Display *m_display;
    XErrorHandler m_previous;
};

}  // namespace platform::x11
