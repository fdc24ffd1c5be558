#include <QSet>

#include "x11keyboardmap.h"

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
}

KeyLocation KeyboardMap::find(KeySym sym) const
{
    return locations.value(sym);
}

void KeyboardMap::assign(const QList<std::pair<KeyCode, KeySym>> &assignments)
{
    std::vector<KeySym> wanted = current;
    // Codes borrowed before but not now go back to their original (empty) symbols.
    for (KeyCode code : spare) {
        const size_t row = static_cast<size_t>(code - minCode) * perCode;
        std::copy_n(&syms[row], perCode, &wanted[row]);
    }
    for (const auto &[code, sym] : assignments) {
        const size_t row = static_cast<size_t>(code - minCode) * perCode;
        wanted[row] = wanted[row + 1] = sym;
    }
    // Only spare codes are ever written, one request per run of adjacent ones: the
    // server turns core symbols back into its own description lossily, so a key of
    // the layout must never be rewritten, not even with its own symbols.
    int runStart = -1;
    for (int i = 0; i <= spare.size(); ++i) {
        const int code = i < spare.size() ? spare[i] : -1;
        const bool differs = code >= 0
            && !std::equal(&wanted[static_cast<size_t>(code - minCode) * perCode],
                           &wanted[static_cast<size_t>(code - minCode + 1) * perCode],
                           &current[static_cast<size_t>(code - minCode) * perCode]);
        const bool extendsRun = differs && runStart >= 0 && code == spare[i - 1] + 1;
        if (runStart >= 0 && !extendsRun) {
            writeRange(wanted, runStart, spare[i - 1]);
            runStart = -1;
        }
        if (differs && runStart < 0)
            runStart = code;
    }
}

void KeyboardMap::restore()
{
    assign({});
}

void KeyboardMap::writeRange(const std::vector<KeySym> &wanted, int first, int last)
{
    const size_t begin = static_cast<size_t>(first - minCode) * perCode;
    const size_t end = static_cast<size_t>(last - minCode + 1) * perCode;
    std::copy(wanted.begin() + begin, wanted.begin() + end, current.begin() + begin);
    XChangeKeyboardMapping(display, first, perCode, &current[begin], last - first + 1);
}

} // namespace platform::x11
