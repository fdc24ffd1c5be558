#pragma once
// The order in which the desktop's windows were last active, newest first, as the
// compositor reports activations. "The window the user worked in before" is the
// newest one that is not active now.
#include <QList>

namespace platform::wayland {

class ActivationHistory {
public:
    using Window = const void *;
    // A window became active, or was reported for the first time (active or not).
    void seen(Window window, bool active);
    void closed(Window window);
    Window active() const { return current; }
    // The newest window other than the active one; nullptr when there is none.
    Window previous() const;
    int size() const { return static_cast<int>(order.size()); }

private:
    QList<Window> order;  // newest first
    Window current = nullptr;
};

}  // namespace platform::wayland
