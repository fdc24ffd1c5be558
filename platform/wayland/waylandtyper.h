#pragma once
// The key typer of a wlroots Wayland session: a virtual keyboard with keymaps of our own.
#include "keystring.h"
#include "services.h"

#include <QByteArray>
#include <functional>

namespace platform::wayland {

class Session;
struct SwitchState;

class WaylandKeyTyper : public KeyTyper {
public:
    // heldModifiers tells which modifiers the user holds (Held* bits); clientSync returns
    // once the active window's client has read every key sent so far, where that can be
    // known (an XWayland window answering pings); either may be empty.
    WaylandKeyTyper(Session &session, SwitchState &switchState, std::function<quint8()> heldModifiers,
                    std::function<void()> clientSync);
    Result type(const QList<KeyStroke> &strokes, bool wait) override;
    Result keyDone() override;
    void beginKey(const QList<KeyStroke> &strokes) override { wholeKey = strokes; }

private:
    Session &session;
    SwitchState &switchState;
    std::function<quint8()> heldModifiers;
    std::function<void()> clientSync;
    Result typeHere(const QList<KeyStroke> &strokes, bool wait);
    // The keymap last sent, and the virtual keyboard it was sent on.
    QByteArray keymapSent;
    const void *keymapOwner = nullptr;
    // Each new keymap reaches the receiver as a descriptor of its own, and a busy one has
    // a bounded room for them: the pieces of one key share a keymap where they can.
    QList<KeyStroke> wholeKey;
};

}  // namespace platform::wayland
