#include "keytyper_win32_events.h"

namespace platform {

namespace {

using win32::RawKeyEvent;
namespace vk = win32::vk;

std::uint16_t virtualKeyFor(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter: return vk::Return;
    case NamedKey::Tab: return vk::Tab;
    case NamedKey::Escape: return vk::Escape;
    case NamedKey::Backspace: return vk::Back;
    case NamedKey::Delete: return vk::Delete;
    case NamedKey::Insert: return vk::Insert;
    case NamedKey::Home: return vk::Home;
    case NamedKey::End: return vk::End;
    case NamedKey::PageUp: return vk::Prior;
    case NamedKey::PageDown: return vk::Next;
    case NamedKey::Up: return vk::Up;
    case NamedKey::Down: return vk::Down;
    case NamedKey::Left: return vk::Left;
    case NamedKey::Right: return vk::Right;
    case NamedKey::Break: return vk::Cancel;
    case NamedKey::CapsLock: return vk::Capital;
    case NamedKey::NumLock: return vk::NumLock;
    case NamedKey::ScrollLock: return vk::Scroll;
    case NamedKey::PrintScreen: return vk::Snapshot;
    case NamedKey::Help: return vk::Help;
    case NamedKey::Add: return vk::Add;
    case NamedKey::Subtract: return vk::Subtract;
    case NamedKey::Multiply: return vk::Multiply;
    case NamedKey::Divide: return vk::Divide;
    default: break;
    }
    return static_cast<std::uint16_t>(vk::F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1)));
}

std::uint16_t virtualKeyFor(Modifier modifier)
{
    switch (modifier) {
    case Modifier::Shift: return vk::Shift;
    case Modifier::Ctrl: return vk::Control;
    case Modifier::Alt: return vk::Menu;
    }
    return vk::Shift;
}

void appendTap(std::vector<RawKeyEvent> &out, RawKeyEvent::Kind kind, std::uint16_t code)
{
    out.push_back({kind, code, false});
    out.push_back({kind, code, true});
}

}  // namespace

std::vector<RawKeyEvent> toRawKeyEvents(const QList<KeyStroke> &strokes)
{
    std::vector<RawKeyEvent> out;
    for (const KeyStroke &k : strokes) {
        switch (k.kind) {
        case KeyStroke::ModifierDown:
        case KeyStroke::ModifierUp:
            out.push_back({RawKeyEvent::Kind::VirtualKey, virtualKeyFor(k.modifier), k.kind == KeyStroke::ModifierUp});
            break;
        case KeyStroke::Key: appendTap(out, RawKeyEvent::Kind::VirtualKey, virtualKeyFor(k.key)); break;
        case KeyStroke::Text:
            // A character beyond the BMP goes as its two surrogates, each pressed and released.
            if (k.character > 0xffff) {
                appendTap(out, RawKeyEvent::Kind::Unicode, QChar::highSurrogate(k.character));
                appendTap(out, RawKeyEvent::Kind::Unicode, QChar::lowSurrogate(k.character));
            } else {
                appendTap(out, RawKeyEvent::Kind::Unicode, static_cast<std::uint16_t>(k.character));
            }
            break;
        }
    }
    return out;
}

}  // namespace platform
