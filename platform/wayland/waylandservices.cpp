#include "waylandservices.h"

#include "waylandkeyevents.h"
#include "waylandsession.h"
#include "waylandtyper.h"

namespace platform::wayland {

namespace {

class Services : public WaylandKeyServices {
public:
    Services(std::unique_ptr<Session> opened, std::function<quint8()> held, std::function<void()> clientSync)
        : session(std::move(opened)),
          events(*session, switchState, held),
          typer(*session, switchState, held, std::move(clientSync))
    {
        // The switch needs the window that was active before the viewer: activations
        // are followed from now on.
        session->watch();
    }
    KeyEvents *keyEvents() override { return &events; }
    KeyTyper *keyTyper() override { return &typer; }
    bool hasVirtualKeyboard() const override { return session->hasVirtualKeyboard(); }

private:
    std::unique_ptr<Session> session;
    SwitchState switchState;
    WaylandKeyEvents events;
    WaylandKeyTyper typer;
};

}  // namespace

std::unique_ptr<WaylandKeyServices> openWaylandKeyServices(std::function<quint8()> heldModifiers,
                                                           std::function<void()> clientSync)
{
    std::unique_ptr<Session> session = Session::connect();
    if (!session)
        return nullptr;
    return std::make_unique<Services>(std::move(session), std::move(heldModifiers), std::move(clientSync));
}

}  // namespace platform::wayland
