#pragma once
// The switch to the user's window on a Wayland desktop that lets no program type or
// activate another's window (GNOME): the viewer hides, and the compositor gives the focus
// to the window that had it before. After the key the viewer shows again on top, without
// taking the focus: the user goes on in their window.

#include "services.h"

#include <QList>
#include <QPointer>
#include <QWindow>

namespace platform {

class HidingSwitch : public KeyEvents {
public:
    explicit HidingSwitch(KeyEvents &events) : m_events(events) {}
    // Tab going down is the switch; the Alt around it does nothing here.
    void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) override;
    void sleep(int milliseconds) override { m_events.sleep(milliseconds); }
    quint8 heldModifiers() override { return m_events.heldModifiers(); }
    void showAgain();

private:
    KeyEvents &m_events;
    QList<QPointer<QWindow>> m_hidden;
};

// The typer for such a desktop: the key goes to the typer it wraps (the IBus engine's),
// then the viewer shows again.
class ShowAgainTyper : public KeyTyper {
public:
    ShowAgainTyper(KeyTyper &typer, HidingSwitch &hidingSwitch) : m_typer(typer), m_switch(hidingSwitch) {}
    void beginKey(const QList<KeyStroke> &strokes) override { m_typer.beginKey(strokes); }
    Result type(const QList<KeyStroke> &strokes, bool wait) override { return m_typer.type(strokes, wait); }
    Result keyDone() override;
    bool leavesFocusThere() const override { return true; }

private:
    KeyTyper &m_typer;
    HidingSwitch &m_switch;
};

}  // namespace platform
