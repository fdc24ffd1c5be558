#pragma once
// Key-string syntax, read into a flat list of low-level strokes that every typing
// backend plays back the same way.
//
//   {c}        the character c typed literally ("{{}", "{}}", "{＋}", "{～}" ...)
//   {NAME}     a named key, case-insensitive: {ENTER} {TAB} {ESC} {BS} {DEL} {F5} ...
//   {c N}      c or NAME repeated N times ({LEFT 5}, {x 3}, {{ 2})
//   + ^ %      Shift, Ctrl, Alt held for the next key, brace group or "( ... )" group
//   ~          Enter
//   ( )        a group that shares the modifiers written before it
//   tab        the Tab key; CR, LF and CR LF each type one Enter
//   anything else is typed as itself (kana, kanji, "[", "]", space ...)
//
// A lone "{" or "}", an unknown name, unbalanced parentheses, a modifier with no key
// after it, a control character, a broken surrogate, groups nested too deep or more
// strokes than MaxKeyStrokes refuse the whole string: nothing is typed and the error
// says why.

#include <QList>
#include <QString>

namespace common {

// clang-format off
enum class NamedKey : quint8 {
    Enter, Tab, Escape, Backspace, Delete, Insert, Home, End, PageUp, PageDown,
    Up, Down, Left, Right,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, F16,
    Break, CapsLock, NumLock, ScrollLock, PrintScreen, Help,
    Add, Subtract, Multiply, Divide,
};
// clang-format on

enum class Modifier : quint8 { Shift, Ctrl, Alt };

struct KeyStroke {
    enum Kind : quint8 { Text, Key, ModifierDown, ModifierUp };
    Kind kind = Text;
    char32_t character = 0;               // Text: one Unicode code point
    NamedKey key = NamedKey::Enter;       // Key
    Modifier modifier = Modifier::Shift;  // ModifierDown, ModifierUp

    static KeyStroke text(char32_t c) { return {Text, c, NamedKey::Enter, Modifier::Shift}; }
    static KeyStroke named(NamedKey k) { return {Key, 0, k, Modifier::Shift}; }
    static KeyStroke down(Modifier m) { return {ModifierDown, 0, NamedKey::Enter, m}; }
    static KeyStroke up(Modifier m) { return {ModifierUp, 0, NamedKey::Enter, m}; }
    bool operator==(const KeyStroke &) const = default;
};

struct ParsedKeyString {
    QList<KeyStroke> strokes;  // empty when refused
    QString error;             // why the string was refused; empty when accepted
    bool ok() const { return error.isEmpty(); }
};

// The largest repeat count accepted in "{c N}".
constexpr int MaxKeyRepeat = 1000;
// The most strokes one key string may expand to, modifier presses included. Repeats
// multiply: without a bound a few megabytes of "{x 1000}" would mean hundreds of
// millions of strokes, more than memory holds and more than anyone means to type.
constexpr int MaxKeyStrokes = 100000;
// The deepest nesting of "( ... )" groups accepted.
constexpr int MaxGroupDepth = 100;

ParsedKeyString parseKeyString(const QString &keyString);

// Short readable form of strokes, for logs and tests: "a", "<Enter>", "[+Shift]", "[-Shift]",
// separated by spaces.
QString describeStrokes(const QList<KeyStroke> &strokes);
QString namedKeyName(NamedKey key);

}  // namespace common
