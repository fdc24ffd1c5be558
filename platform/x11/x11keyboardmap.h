#pragma once
// The server's core keyboard mapping as the typer sees it: where a keysym already
// sits, which keycodes are free to borrow, and borrowing them in one request.

#include "keyslots.h"

#include <QHash>
#include <QList>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace platform::x11 {

struct KeyLocation {
    KeyCode code = 0;
    bool shift = false;  // the keysym is on the shifted level
};

class KeyboardMap {
public:
    explicit KeyboardMap(Display *display);
    ~KeyboardMap();  // puts back every borrowed keycode
    KeyboardMap(const KeyboardMap &) = delete;
    KeyboardMap &operator=(const KeyboardMap &) = delete;

    bool isValid() const { return !syms.empty(); }
    // Where the current layout has the keysym on level 1 or 2; code 0 when nowhere.
    KeyLocation find(KeySym sym) const;
    // Where a character can be typed with the layout's own key: not when another
    // group than the first is active, and for letters not while Caps Lock is on.
    KeyLocation findCharacter(KeySym sym) const;
    // Keycodes with no symbols that are no modifier either.
    const QList<KeyCode> &spareCodes() const { return spare; }

    // Gives spare codes the symbols in changes, in one request; returns once it is queued.
    void write(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &changes);
    // Back to the mapping found at construction (only codes still borrowed are written).
    void restore();
    // Whether the server's mapping is still the one this map last wrote or read: false
    // once another program changed it (a new layout), when nothing may be written back.
    bool stillCurrent() const;
    // Reads the active group and Caps Lock again (the user may have changed them
    // since the map was read).
    void readState();
    // Forgets the borrowed codes without writing: someone else owns the mapping now.
    void abandon() { current = syms; }

private:
    Display *display;
    int minCode = 0;
    int maxCode = 0;
    int perCode = 0;
    std::vector<KeySym> syms;     // original mapping, perCode columns per keycode
    std::vector<KeySym> current;  // what the server has now
    QHash<KeySym, KeyLocation> locations;
    QList<KeyCode> spare;
    bool otherGroup = false;
    bool capsLock = false;
    XkbDescPtr xkb = nullptr;  // the server's XKB keymap, when it has XKB

    void writeWithXkb(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &changes);
    void writeCoreRuns(const QList<std::pair<KeyCode, KeySlots::CodeSymbols>> &changes);
};

}  // namespace platform::x11
