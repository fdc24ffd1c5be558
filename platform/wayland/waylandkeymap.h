#pragma once
// Typing on a Wayland virtual keyboard: the keymaps we upload and the steps played on
// them. A keymap carries the named keys and the three modifiers on their usual PC
// keycodes, and the characters of the key string on the remaining codes, one code
// per character; a key string with more distinct characters than fit is cut into
// batches, each with its own keymap.

#include "services.h"

#include <QList>
#include <QString>

namespace platform::wayland {

// XKB keycodes usable by every client, XWayland ones included (X keycodes end at 255).
constexpr quint32 FirstKeycode = 9;
constexpr quint32 LastKeycode = 255;

// Real-modifier bits of the keymap, as the virtual keyboard's modifiers request takes them.
constexpr quint32 ShiftMask = 1u << 0;
constexpr quint32 ControlMask = 1u << 2;
constexpr quint32 Mod1Mask = 1u << 3;  // Alt

quint32 modifierMask(Modifier modifier);
quint32 modifierKeycode(Modifier modifier);
quint32 namedKeycode(NamedKey key);
// The keysym name of a named key in keymap text ("Return", "F5", "KP_Add").
QString namedKeysym(NamedKey key);

// How many characters one keymap holds besides the fixed keys.
int characterCapacity();

struct TypingStep {
    enum Kind : quint8 {
        Press,     // key down; for a modifier key the modifier mask changes with it
        Release,   // key up
        Tap,       // down and up, with Shift around it when shift is set
        NewBatch,  // the next keymap replaces the current one
    };
    Kind kind = Tap;
    quint32 keycode = 0;    // XKB keycode (the evdev code plus 8)
    quint32 modifiers = 0;  // Press, Release: the modifier mask once the step is done
    bool shift = false;     // Tap: a capital letter, typed with Shift
};

struct TypingPlan {
    QList<TypingStep> steps;
    QList<QByteArray> keymaps;  // one per batch, in order; NewBatch steps separate them
    QString error;              // why nothing can be typed; empty when the plan is good
};

// The steps and keymaps that type strokes. Modifier strokes that release a modifier
// never pressed are refused; the plan always ends with every modifier up. With the
// whole key the strokes are a piece of, and that key's characters all fit one keymap,
// every piece is typed on that one keymap.
TypingPlan planTyping(const QList<KeyStroke> &strokes, int capacity = characterCapacity(),
                      const QList<KeyStroke> &wholeKey = {});

// Keymap text (XKB v1 format, NUL-terminated as the protocol wants it) with the fixed
// keys and the given characters on consecutive free keycodes. An ASCII letter takes one
// code for both cases.
QByteArray keymapText(const QList<char32_t> &characters);

// The code of a character in a keymap built from characters (0 when it is not there),
// and whether it needs Shift there.
struct CharacterKey {
    quint32 keycode = 0;
    bool shift = false;
};
CharacterKey characterKey(const QList<char32_t> &characters, char32_t c);

}  // namespace platform::wayland
