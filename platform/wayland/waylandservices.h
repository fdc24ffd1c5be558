#pragma once
// Key events and the key typer for a Wayland session, chosen at run time.
#include "services.h"

#include <functional>
#include <memory>

namespace platform::wayland {

class WaylandKeyServices {
public:
    virtual ~WaylandKeyServices() = default;
    virtual KeyEvents *keyEvents() = 0;
    virtual KeyTyper *keyTyper() = 0;
    // False on a compositor that lets no program type (GNOME's mutter).
    virtual bool hasVirtualKeyboard() const = 0;
};

// nullptr when this is no Wayland session (WAYLAND_DISPLAY unset or unreachable). On a
// Wayland session whose compositor lacks the virtual keyboard, the typer refuses every
// key with a message saying so. The hooks are handed to the typer (see WaylandKeyTyper).
std::unique_ptr<WaylandKeyServices> openWaylandKeyServices(std::function<quint8()> heldModifiers,
                                                           std::function<void()> clientSync);

}  // namespace platform::wayland
