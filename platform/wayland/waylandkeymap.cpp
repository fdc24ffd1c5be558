#include "waylandkeymap.h"

#include <QSet>

#include <cstddef>

namespace platform::wayland {

namespace {

struct FixedKey {
    NamedKey key;
    quint32 keycode;  // the key's place on a PC keyboard (evdev code + 8)
    const char *keysym;
};

// clang-format off
constexpr FixedKey FixedKeys[] = {
    {NamedKey::Enter, 36, "Return"}, {NamedKey::Tab, 23, "Tab"}, {NamedKey::Escape, 9, "Escape"},
    {NamedKey::Backspace, 22, "BackSpace"}, {NamedKey::Delete, 119, "Delete"},
    {NamedKey::Insert, 118, "Insert"}, {NamedKey::Home, 110, "Home"}, {NamedKey::End, 115, "End"},
    {NamedKey::PageUp, 112, "Prior"}, {NamedKey::PageDown, 117, "Next"}, {NamedKey::Up, 111, "Up"},
    {NamedKey::Down, 116, "Down"}, {NamedKey::Left, 113, "Left"}, {NamedKey::Right, 114, "Right"},
    {NamedKey::F1, 67, "F1"}, {NamedKey::F2, 68, "F2"}, {NamedKey::F3, 69, "F3"}, {NamedKey::F4, 70, "F4"},
    {NamedKey::F5, 71, "F5"}, {NamedKey::F6, 72, "F6"}, {NamedKey::F7, 73, "F7"}, {NamedKey::F8, 74, "F8"},
    {NamedKey::F9, 75, "F9"}, {NamedKey::F10, 76, "F10"}, {NamedKey::F11, 95, "F11"},
    {NamedKey::F12, 96, "F12"}, {NamedKey::F13, 191, "F13"}, {NamedKey::F14, 192, "F14"},
    {NamedKey::F15, 193, "F15"}, {NamedKey::F16, 194, "F16"}, {NamedKey::Break, 127, "Break"},
    {NamedKey::CapsLock, 66, "Caps_Lock"}, {NamedKey::NumLock, 77, "Num_Lock"},
    {NamedKey::ScrollLock, 78, "Scroll_Lock"}, {NamedKey::PrintScreen, 107, "Print"},
    {NamedKey::Help, 146, "Help"}, {NamedKey::Add, 86, "KP_Add"}, {NamedKey::Subtract, 82, "KP_Subtract"},
    {NamedKey::Multiply, 63, "KP_Multiply"}, {NamedKey::Divide, 106, "KP_Divide"},
};
// clang-format on

struct ModifierKey {
    Modifier modifier;
    quint32 keycode;
    const char *keysym;
    const char *realModifier;
    quint32 mask;
};

constexpr ModifierKey ModifierKeys[] = {
    {Modifier::Shift, 50, "Shift_L", "Shift", ShiftMask},
    {Modifier::Ctrl, 37, "Control_L", "Control", ControlMask},
    {Modifier::Alt, 64, "Alt_L", "Mod1", Mod1Mask},
};

// The entry of a key table that stands for the key asked for; nullptr when none does.
template <typename Entry, std::size_t N, typename Name>
const Entry *entryOf(const Entry (&table)[N], Name Entry::*field, Name name)
{
    for (const Entry &entry : table)
        if (entry.*field == name)
            return &entry;
    return nullptr;
}

// The keycodes left for characters, in order.
const QList<quint32> &characterKeycodes()
{
    static const QList<quint32> codes = [] {
        QSet<quint32> taken;
        for (const FixedKey &k : FixedKeys)
            taken.insert(k.keycode);
        for (const ModifierKey &m : ModifierKeys)
            taken.insert(m.keycode);
        QList<quint32> free;
        for (quint32 code = FirstKeycode; code <= LastKeycode; ++code)
            if (!taken.contains(code))
                free.append(code);
        return free;
    }();
    return codes;
}

bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// The character a keymap slot is named by: both cases of a letter share the lower one.
char32_t slotOf(char32_t c) { return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c; }

QByteArray unicodeKeysym(char32_t c) { return "U" + QByteArray::number(static_cast<quint32>(c), 16).toUpper(); }

}  // namespace

quint32 modifierMask(Modifier modifier)
{
    const ModifierKey *key = entryOf(ModifierKeys, &ModifierKey::modifier, modifier);
    return key ? key->mask : 0;
}

quint32 modifierKeycode(Modifier modifier)
{
    const ModifierKey *key = entryOf(ModifierKeys, &ModifierKey::modifier, modifier);
    return key ? key->keycode : 0;
}

quint32 namedKeycode(NamedKey name)
{
    const FixedKey *key = entryOf(FixedKeys, &FixedKey::key, name);
    return key ? key->keycode : 0;
}

QString namedKeysym(NamedKey name)
{
    const FixedKey *key = entryOf(FixedKeys, &FixedKey::key, name);
    return key ? QString::fromLatin1(key->keysym) : QString();
}

int characterCapacity() { return static_cast<int>(characterKeycodes().size()); }

CharacterKey characterKey(const QList<char32_t> &characters, char32_t c)
{
    const qsizetype at = characters.indexOf(slotOf(c));
    if (at < 0 || at >= characterKeycodes().size())
        return {};
    return {characterKeycodes()[at], c >= U'A' && c <= U'Z'};
}

QByteArray keymapText(const QList<char32_t> &characters)
{
    QByteArray keycodes = "xkb_keycodes \"tuvel\" {\n  minimum = 8;\n  maximum = 255;\n";
    QByteArray symbols = "xkb_symbols \"tuvel\" {\n";
    auto addKey = [&](quint32 code, const QByteArray &levels) {
        const QByteArray name = "<I" + QByteArray::number(code) + ">";
        keycodes += "  " + name + " = " + QByteArray::number(code) + ";\n";
        symbols += "  key " + name + " { [ " + levels + " ] };\n";
    };
    for (const ModifierKey &m : ModifierKeys) {
        addKey(m.keycode, m.keysym);
        symbols += QByteArray("  modifier_map ") + m.realModifier + " { <I" + QByteArray::number(m.keycode) + "> };\n";
    }
    for (const FixedKey &k : FixedKeys)
        addKey(k.keycode, k.keysym);
    const QList<quint32> &codes = characterKeycodes();
    for (qsizetype i = 0; i < characters.size() && i < codes.size(); ++i) {
        const char32_t c = characters[i];
        addKey(codes[i],
               isAsciiLetter(c) ? unicodeKeysym(c) + ", " + unicodeKeysym(c - (U'a' - U'A')) : unicodeKeysym(c));
    }
    keycodes += "};\n";
    symbols += "};\n";
    QByteArray text = "xkb_keymap {\n" + keycodes +
                      "xkb_types \"tuvel\" { include \"complete\" };\n"
                      "xkb_compat \"tuvel\" { include \"complete\" };\n" +
                      symbols + "};\n";
    text.append('\0');
    return text;
}

TypingPlan planTyping(const QList<KeyStroke> &strokes, int capacity, const QList<KeyStroke> &wholeKey)
{
    TypingPlan plan;
    capacity = qBound(1, capacity, characterCapacity());
    QList<char32_t> batch;
    for (const KeyStroke &k : wholeKey) {
        if (k.kind == KeyStroke::Text && !batch.contains(slotOf(k.character)))
            batch.append(slotOf(k.character));
    }
    if (batch.size() > capacity)
        batch.clear();
    QList<QList<char32_t>> batches;
    quint32 modifiers = 0;
    for (const KeyStroke &k : strokes) {
        switch (k.kind) {
        case KeyStroke::ModifierDown:
        case KeyStroke::ModifierUp: {
            const quint32 mask = modifierMask(k.modifier);
            const bool down = k.kind == KeyStroke::ModifierDown;
            if (down == bool(modifiers & mask)) {
                plan.error = QStringLiteral("修飾キーの押し下げと解放が対応していません");
                plan.steps.clear();
                return plan;
            }
            modifiers = down ? modifiers | mask : modifiers & ~mask;
            plan.steps.append(
                TypingStep{down ? TypingStep::Press : TypingStep::Release, modifierKeycode(k.modifier), modifiers});
            break;
        }
        case KeyStroke::Key: plan.steps.append(TypingStep{TypingStep::Tap, namedKeycode(k.key)}); break;
        case KeyStroke::Text: {
            const char32_t slot = slotOf(k.character);
            if (!batch.contains(slot)) {
                if (batch.size() == capacity) {
                    batches.append(batch);
                    batch.clear();
                    plan.steps.append(TypingStep{TypingStep::NewBatch});
                }
                batch.append(slot);
            }
            const CharacterKey key = characterKey(batch, k.character);
            // With Shift already held the letter comes out capital by itself.
            plan.steps.append(TypingStep{TypingStep::Tap, key.keycode, 0, key.shift && !(modifiers & ShiftMask)});
            break;
        }
        }
    }
    // Nothing stays down, whatever the strokes left.
    for (const ModifierKey &m : ModifierKeys) {
        if (modifiers & m.mask) {
            modifiers &= ~m.mask;
            plan.steps.append(TypingStep{TypingStep::Release, m.keycode, modifiers});
        }
    }
    batches.append(batch);
    for (const QList<char32_t> &characters : batches)
        plan.keymaps.append(keymapText(characters));
    return plan;
}

}  // namespace platform::wayland
