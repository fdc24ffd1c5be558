#pragma once
// The task switch of a wlroots Wayland session. The compositor binds no Alt+Tab of its
// own, so the Tab of the switch's Alt+Tab activates, through the compositor's list of
// toplevel windows, the window that was active before the current one (the viewer).
// The typer activates the viewer again once it has typed.
#include "activationhistory.h"
#include "services.h"

#include <QString>
#include <functional>

namespace platform::wayland {

class Session;

// What the switch left for the typer.
struct SwitchState {
    QString failure;                               // why the switch did not happen; the typer types nothing then
    ActivationHistory::Window returnTo = nullptr;  // the window to activate after typing
};

// The refusals of a Wayland session without the protocols the switch and the typer need.
QString noToplevelListMessage();
QString noVirtualKeyboardMessage();

class WaylandKeyEvents : public KeyEvents {
public:
    WaylandKeyEvents(Session &session, SwitchState &switchState, std::function<quint8()> heldModifiers);
    void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) override;
    void sleep(int milliseconds) override;
    quint8 heldModifiers() override;

private:
    Session &session;
    SwitchState &switchState;
    std::function<quint8()> held;
    void switchToPrevious();
};

}  // namespace platform::wayland
