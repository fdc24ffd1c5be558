// Typing through the virtual keyboard. Each batch of characters gets a keymap of its
// own; the keys of a batch are sent only once the compositor has installed its keymap,
// and the next keymap only once the keys before it are delivered.
#include "waylandtyper.h"

#include "modifierwait.h"
#include "waylandkeyevents.h"
#include "waylandkeymap.h"
#include "waylandsession.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <poll.h>

#include <wayland-client.h>
#include "virtual-keyboard-unstable-v1-client.h"

namespace platform::wayland {

namespace {

// Key events carry a time in milliseconds from an arbitrary start.
uint32_t now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<uint32_t>(clock.elapsed());
}

class Keyboard {
public:
    explicit Keyboard(Session &session) : session(session), keyboard(session.keyboard()) {}

    void key(quint32 keycode, bool down)
    {
        // The protocol takes evdev codes: the XKB keycode less 8.
        zwp_virtual_keyboard_v1_key(keyboard, now(), keycode - 8,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    }
    // The compositor does not derive modifiers from a virtual keyboard's keys.
    void modifiers(quint32 mask) { zwp_virtual_keyboard_v1_modifiers(keyboard, mask, 0, 0, 0); }
    void modifierKey(quint32 keycode, bool down, quint32 mask)
    {
        key(keycode, down);
        modifiers(mask);
    }

    // Installs a keymap and returns once the compositor has it; the modifiers held
    // are sent again, as a new keymap starts with none.
    bool startBatch(const QByteArray &keymap, quint32 mask)
    {
        if (!session.uploadKeymap(keymap))
            return false;
        modifiers(mask);
        return session.roundtrip();
    }

private:
    Session &session;
    zwp_virtual_keyboard_v1 *keyboard;
};

}  // namespace

WaylandKeyTyper::WaylandKeyTyper(Session &session, SwitchState &switchState, std::function<quint8()> heldModifiers,
                                 std::function<void()> clientSync)
    : session(session),
      switchState(switchState),
      heldModifiers(std::move(heldModifiers)),
      clientSync(std::move(clientSync))
{}

KeyTyper::Result WaylandKeyTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    // A failed switch refuses every piece of the key, until keyDone().
    if (!switchState.failure.isEmpty())
        return {false, switchState.failure};
    if (!session.hasVirtualKeyboard())
        return {false, noVirtualKeyboardMessage()};
    if (strokes.isEmpty())
        return {};
    return typeHere(strokes, wait);
}

KeyTyper::Result WaylandKeyTyper::keyDone()
{
    wholeKey.clear();
    // Back to the window the switch came from, whatever happened.
    const SwitchState left = std::exchange(switchState, SwitchState{});
    if (left.returnTo)
        session.activate(left.returnTo, 1000);
    return {};
}

KeyTyper::Result WaylandKeyTyper::typeHere(const QList<KeyStroke> &strokes, bool wait)
{
    const TypingPlan plan = planTyping(strokes, characterCapacity(), wholeKey);
    if (!plan.error.isEmpty())
        return {false, plan.error};
    // Not one character while the user holds a modifier: "a" with Ctrl held is Ctrl+A.
    if (heldModifiers) {
        const quint8 held =
            waitForModifierRelease(heldModifiers, [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); });
        if (held != 0)
            return {false, modifiersStillHeldMessage(held)};
    }

    Keyboard keyboard(session);
    quint32 mask = 0;
    int batch = 0;
    // Every keymap has the named keys and modifiers on the same codes, so a piece of the
    // key with no characters ({TAB} between two fields), or one whose keymap is up
    // already, is typed on the keymap there.
    const bool hasText =
        std::any_of(strokes.cbegin(), strokes.cend(), [](const KeyStroke &k) { return k.kind == KeyStroke::Text; });
    bool ok = true;
    if (session.keyboard() != keymapOwner || (hasText && plan.keymaps[batch] != keymapSent)) {
        ok = keyboard.startBatch(plan.keymaps[batch], mask);
        keymapOwner = session.keyboard();
        keymapSent = plan.keymaps[batch];
    }
    for (const TypingStep &step : plan.steps) {
        if (!ok)
            break;
        switch (step.kind) {
        case TypingStep::Press:
        case TypingStep::Release:
            mask = step.modifiers;
            keyboard.modifierKey(step.keycode, step.kind == TypingStep::Press, mask);
            break;
        case TypingStep::Tap:
            if (step.shift)
                keyboard.modifierKey(modifierKeycode(Modifier::Shift), true, mask | ShiftMask);
            keyboard.key(step.keycode, true);
            keyboard.key(step.keycode, false);
            if (step.shift)
                keyboard.modifierKey(modifierKeycode(Modifier::Shift), false, mask);
            break;
        case TypingStep::NewBatch:
            // The keys so far must be read with the keymap they were sent with.
            ok = session.roundtrip();
            if (clientSync)
                clientSync();
            ok = ok && keyboard.startBatch(plan.keymaps[++batch], mask);
            keymapSent = plan.keymaps[batch];
            break;
        }
        ok = ok && session.flush();
    }
    ok = ok && session.roundtrip();
    if (ok && wait && clientSync)
        clientSync();
    if (!ok) {
        keymapOwner = nullptr;  // what the compositor holds is unknown
        return {false, QStringLiteral("Wayland コンポジターとの接続が切れたため、キー入力を終えられませんでした")};
    }
    return {};
}

}  // namespace platform::wayland
