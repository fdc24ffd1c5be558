#pragma once
// A key cut where it may move the focus to another field. Input methods keep their
// state per field (fcitx5 by default, Windows per window), so the one to switch off is
// the one of the field that has the focus when a piece starts, and a field's state must
// be back before a key takes the focus away from it.
#include "keystring.h"

#include <QList>

struct KeyPiece {
    // true: keys that may move the focus ({TAB}, {ENTER}, ~, and anything typed with Ctrl
    // or Alt held), typed with the input method as the user has it (with nothing being
    // composed, input methods let them through). false: text, typed with it off.
    bool movesFocus = false;
    // Each piece presses and releases the modifiers it needs, so any piece can be typed
    // on its own.
    QList<common::KeyStroke> strokes;
};

QList<KeyPiece> splitAtFocusMoves(const QList<common::KeyStroke> &strokes);
