#pragma once
// What an input method engine sends for a key string: runs of text committed whole,
// and keys forwarded as key events. Plain logic, tested without a bus.

#include "services.h"

#include <QList>
#include <QString>

namespace platform::freedesktop {

// IBus's modifier bits, as X11's.
constexpr quint32 EngineShiftMask = 1u << 0;
constexpr quint32 EngineControlMask = 1u << 2;
constexpr quint32 EngineMod1Mask = 1u << 3;  // Alt

struct EngineStep {
    QString text;  // committed as it stands; empty for a forwarded key
    quint32 keysym = 0;
    quint32 keycode = 0;  // evdev code of the key's place on a PC keyboard; 0 for none
    quint32 state = 0;    // the modifiers held
    bool operator==(const EngineStep &) const = default;
};

// Text typed with no modifier held is gathered into runs; a named key, or a character
// typed with Shift, Ctrl or Alt held, is one forwarded key with those modifiers.
QList<EngineStep> engineSteps(const QList<KeyStroke> &strokes);

// X11 keysyms, which IBus and XTest both speak.
quint32 keysymOf(NamedKey key);
// Latin-1 keysyms equal their code points; everything else has a Unicode keysym.
quint32 keysymOf(char32_t character);

}  // namespace platform::freedesktop
