#include "enginesteps.h"

#include "waylandkeymap.h"

#include <X11/keysym.h>

namespace platform::freedesktop {

namespace {

constexpr quint32 EvdevOffset = 8;  // X and XKB keycodes are evdev codes plus 8

quint32 maskOf(Modifier modifier)
{
    switch (modifier) {
    case Modifier::Shift: return EngineShiftMask;
    case Modifier::Ctrl: return EngineControlMask;
    case Modifier::Alt: return EngineMod1Mask;
    }
    return 0;
}

// Where a letter, digit or space sits on a PC keyboard (evdev codes); 0 elsewhere.
quint32 evdevCodeOf(char32_t c)
{
    static const QString rows[] = {QStringLiteral("1234567890"), QStringLiteral("qwertyuiop"),
                                   QStringLiteral("asdfghjkl"), QStringLiteral("zxcvbnm")};
    static const quint32 rowStart[] = {2, 16, 30, 44};
    if (c == U' ')
        return 57;
    if (c >= U'A' && c <= U'Z')
        c += U'a' - U'A';
    for (int row = 0; row < 4; ++row) {
        const qsizetype at = c < 0x80 ? rows[row].indexOf(QChar(static_cast<char16_t>(c))) : -1;
        if (at >= 0)
            return rowStart[row] + static_cast<quint32>(at);
    }
    return 0;
}

}  // namespace

quint32 keysymOf(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter: return XK_Return;
    case NamedKey::Tab: return XK_Tab;
    case NamedKey::Escape: return XK_Escape;
    case NamedKey::Backspace: return XK_BackSpace;
    case NamedKey::Delete: return XK_Delete;
    case NamedKey::Insert: return XK_Insert;
    case NamedKey::Home: return XK_Home;
    case NamedKey::End: return XK_End;
    case NamedKey::PageUp: return XK_Prior;
    case NamedKey::PageDown: return XK_Next;
    case NamedKey::Up: return XK_Up;
    case NamedKey::Down: return XK_Down;
    case NamedKey::Left: return XK_Left;
    case NamedKey::Right: return XK_Right;
    case NamedKey::Break: return XK_Break;
    case NamedKey::CapsLock: return XK_Caps_Lock;
    case NamedKey::NumLock: return XK_Num_Lock;
    case NamedKey::ScrollLock: return XK_Scroll_Lock;
    case NamedKey::PrintScreen: return XK_Print;
    case NamedKey::Help: return XK_Help;
    case NamedKey::Add: return XK_KP_Add;
    case NamedKey::Subtract: return XK_KP_Subtract;
    case NamedKey::Multiply: return XK_KP_Multiply;
    case NamedKey::Divide: return XK_KP_Divide;
    default: break;
    }
    const int f = static_cast<int>(key) - static_cast<int>(NamedKey::F1);
    return XK_F1 + f;
}

quint32 keysymOf(char32_t c)
{
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
        return c;
    return 0x01000000 + c;
}

QList<EngineStep> engineSteps(const QList<KeyStroke> &strokes)
{
    QList<EngineStep> steps;
    quint32 held = 0;
    for (const KeyStroke &stroke : strokes) {
        switch (stroke.kind) {
        case KeyStroke::ModifierDown: held |= maskOf(stroke.modifier); break;
        case KeyStroke::ModifierUp: held &= ~maskOf(stroke.modifier); break;
        case KeyStroke::Key:
            steps.append(EngineStep{{}, keysymOf(stroke.key), wayland::namedKeycode(stroke.key) - EvdevOffset, held});
            break;
        case KeyStroke::Text: {
            char32_t c = stroke.character;
            if (held == 0) {
                if (steps.isEmpty() || steps.constLast().text.isEmpty())
                    steps.append(EngineStep{});
                steps.last().text.append(QString::fromUcs4(&c, 1));
                break;
            }
            // A letter with Shift held is its capital, as a keyboard gives it.
            if ((held & EngineShiftMask) && c >= U'a' && c <= U'z')
                c -= U'a' - U'A';
            steps.append(EngineStep{{}, keysymOf(c), evdevCodeOf(c), held});
            break;
        }
        }
    }
    return steps;
}

}  // namespace platform::freedesktop
