#include <QSet>

#include "x11keyboardmap.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>

namespace platform::x11 {

KeyboardMap::KeyboardMap(Display *display) : display(display)
{
    XDisplayKeycodes(display, &minCode, &maxCode);
    const int count = maxCode - minCode + 1;
    KeySym *map = XGetKeyboardMapping(display, static_cast<KeyCode>(minCode), count, &perCode);
    if (!map || perCode < 2) {
        if (map)
            XFree(map);
        return;
    }
    syms.assign(map, map + static_cast<size_t>(count) * perCode);
    XFree(map);
    current = syms;
    xkb = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    readState();

    QSet<int> modifierCodes;
    if (XModifierKeymap *mods = XGetModifierMapping(display)) {
        for (int i = 0; i < 8 * mods->max_keypermod; ++i)
            modifierCodes.insert(mods->modifiermap[i]);
        XFreeModifiermap(mods);
    }

    for (int code = minCode; code <= maxCode; ++code) {
        const KeySym *row = &syms[static_cast<size_t>(code - minCode) * perCode];
        bool empty = true;
        for (int c = 0; c < perCode; ++c)
            empty = empty && row[c] == NoSymbol;
        if (empty) {
            if (!modifierCodes.contains(code))
                spare.append(static_cast<KeyCode>(code));
            continue;
        }
        // A letter listed once stands for both cases (lower on level 1, upper on level 2).
        KeySym level1 = row[0];
        KeySym level2 = row[1];
        if (level2 == NoSymbol && level1 != NoSymbol) {
            KeySym lower = NoSymbol, upper = NoSymbol;
            XConvertCase(level1, &lower, &upper);
            if (lower != upper) {
                level1 = lower;
                level2 = upper;
            }
        }
        // Earlier keycodes and level 1 win: they are the ordinary keys.
        if (level1 != NoSymbol && !locations.contains(level1))
            locations.insert(level1, {static_cast<KeyCode>(code), false});
        if (level2 != NoSymbol && !locations.contains(level2))
            locations.insert(level2, {static_cast<KeyCode>(code), true});
    }
}

KeyboardMap::~KeyboardMap()
{
    restore();
    if (xkb)
        XkbFreeKeyboard(xkb, XkbAllComponentsMask, True);
}

KeyLocation KeyboardMap::find(KeySym sym) const { return locations.value(sym); }

KeyLocation KeyboardMap::findCharacter(KeySym sym) const
{
    if (otherGroup)
        return {};
    if (capsLock) {
        KeySym lower = NoSymbol, upper = NoSymbol;
        XConvertCase(sym, &lower, &upper);
        if (lower != upper)
            return {};
    }
    return find(sym);
}

void KeyboardMap::readState()
{
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
        otherGroup = state.group != XkbGroup1Index;
        capsLock = (state.locked_mods & LockMask) != 0;
    }
}

void KeyboardMap::write(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &wanted)
{
    QList<std::pair<KeyCode, KeySlots::CodeSymbols>> changes;
    for (const auto &[code, symbols] : wanted) {
        const size_t row = static_cast<size_t>(code - minCode) * perCode;
        const KeySym plain = symbols.plain, shifted = symbols.whole ? symbols.plain : symbols.shifted;
        if (current[row] != plain || current[row + 1] != shifted)
            changes.append({code, symbols});
        current[row] = plain;
        current[row + 1] = shifted;
    }
    if (changes.isEmpty())
        return;
    std::sort(changes.begin(), changes.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    if (xkb)
        writeWithXkb(changes);
    else
        writeCoreRuns(changes);
}

void KeyboardMap::restore()
{
    QList<std::pair<KeyCode, KeySlots::CodeSymbols>> empty;
    for (KeyCode code : spare)
        empty.append({code, KeySlots::CodeSymbols{}});
    write(empty);
}

bool KeyboardMap::stillCurrent() const
{
    const int count = maxCode - minCode + 1;
    int columns = 0;
    KeySym *map = XGetKeyboardMapping(display, static_cast<KeyCode>(minCode), count, &columns);
    if (!map)
        return false;
    bool same = columns == perCode;
    for (size_t row = 0; same && row < static_cast<size_t>(count) * perCode; row += perCode)
        same = map[row] == current[row] && map[row + 1] == current[row + 1];
    XFree(map);
    return same;
}

// One request for the whole batch. The keys between the borrowed ones go along with
// the exact XKB keymap the server gave us, so nothing of theirs changes.
void KeyboardMap::writeWithXkb(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &changes)
{
    // A character with case goes on both levels of the alphabetic type: Shift and Caps
    // Lock are both used up by the key, so clients neither pick another level nor change
    // case. Two characters without case share the two-level type, where Shift picks.
    for (const auto &[code, symbols] : changes) {
        if (symbols.plain == 0 && symbols.shifted == 0) {
            XkbChangeTypesOfKey(xkb, code, 0, XkbGroup1Mask, nullptr, nullptr);
            continue;
        }
        int type = symbols.whole ? XkbAlphabeticIndex : XkbTwoLevelIndex;
        XkbChangeTypesOfKey(xkb, code, 1, XkbGroup1Mask, &type, nullptr);
        KeySym *levels = XkbKeySymsPtr(xkb, code);
        levels[0] = symbols.plain;
        levels[1] = symbols.whole ? symbols.plain : symbols.shifted;
    }
    XkbMapChangesRec request{};
    request.changed = XkbKeySymsMask;
    request.first_key_sym = changes.first().first;
    request.num_key_syms = changes.last().first - changes.first().first + 1;
    XkbChangeMap(display, xkb, &request);
}

// Without XKB: only spare codes are written, one request per run of adjacent ones.
// A key of the layout is never rewritten, not even with its own symbols, because
// the server rebuilds its XKB keymap from core symbols lossily.
void KeyboardMap::writeCoreRuns(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &changes)
{
    int i = 0;
    while (i < changes.size()) {
        int last = i;
        while (last + 1 < changes.size() && changes[last + 1].first == changes[last].first + 1)
            ++last;
        const int first = changes[i].first;
        XChangeKeyboardMapping(display, first, perCode, &current[static_cast<size_t>(first - minCode) * perCode],
                               last - i + 1);
        i = last + 1;
    }
}

}  // namespace platform::x11
