#include "activationhistory.h"

namespace platform::wayland {

void ActivationHistory::seen(Window window, bool active)
{
    if (active) {
        order.removeOne(window);
        order.prepend(window);
        current = window;
        return;
    }
    if (window == current)
        current = nullptr;
    // A window never active so far counts as older than every one that was.
    if (!order.contains(window))
        order.append(window);
}

void ActivationHistory::closed(Window window)
{
    order.removeOne(window);
    if (window == current)
        current = nullptr;
}

ActivationHistory::Window ActivationHistory::previous() const
{
    for (Window window : order)
        if (window != current)
            return window;
    return nullptr;
}

}  // namespace platform::wayland
