#pragma once
// Reads a 32-bit window property (windows, atoms, cardinals): Xlib hands such items
// back as longs. Empty when the property is missing or of another type.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <vector>

namespace platform::x11 {

inline std::vector<unsigned long> readProperty32(Display *display, Window window, Atom property, Atom type,
                                                 long maxItems)
{
    std::vector<unsigned long> items;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, maxItems, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (actualType == type && format == 32) {
            const auto *values = reinterpret_cast<const unsigned long *>(data);
            items.assign(values, values + count);
        }
        XFree(data);
    }
    return items;
}

// A single-item property, or fallback when it is missing.
inline unsigned long readProperty32(Display *display, Window window, Atom property, Atom type, unsigned long fallback)
{
    const std::vector<unsigned long> items = readProperty32(display, window, property, type, 1L);
    return items.size() == 1 ? items.front() : fallback;
}

}  // namespace platform::x11
