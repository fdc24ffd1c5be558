#include "keystring.h"

#include <array>

namespace common {

namespace {

struct KeyName {
    const char *name;
    NamedKey key;
};

// clang-format off
constexpr KeyName keyNames[] = {
    {"ENTER", NamedKey::Enter}, {"TAB", NamedKey::Tab},
    {"ESC", NamedKey::Escape}, {"ESCAPE", NamedKey::Escape},
    {"BS", NamedKey::Backspace}, {"BACKSPACE", NamedKey::Backspace}, {"BKSP", NamedKey::Backspace},
    {"DEL", NamedKey::Delete}, {"DELETE", NamedKey::Delete},
    {"INS", NamedKey::Insert}, {"INSERT", NamedKey::Insert},
    {"HOME", NamedKey::Home}, {"END", NamedKey::End},
    {"PGUP", NamedKey::PageUp}, {"PGDN", NamedKey::PageDown},
    {"UP", NamedKey::Up}, {"DOWN", NamedKey::Down}, {"LEFT", NamedKey::Left}, {"RIGHT", NamedKey::Right},
    {"F1", NamedKey::F1}, {"F2", NamedKey::F2}, {"F3", NamedKey::F3}, {"F4", NamedKey::F4},
    {"F5", NamedKey::F5}, {"F6", NamedKey::F6}, {"F7", NamedKey::F7}, {"F8", NamedKey::F8},
    {"F9", NamedKey::F9}, {"F10", NamedKey::F10}, {"F11", NamedKey::F11}, {"F12", NamedKey::F12},
    {"F13", NamedKey::F13}, {"F14", NamedKey::F14}, {"F15", NamedKey::F15}, {"F16", NamedKey::F16},
    {"BREAK", NamedKey::Break}, {"CAPSLOCK", NamedKey::CapsLock}, {"NUMLOCK", NamedKey::NumLock},
    {"SCROLLLOCK", NamedKey::ScrollLock}, {"PRTSC", NamedKey::PrintScreen}, {"HELP", NamedKey::Help},
    {"ADD", NamedKey::Add}, {"SUBTRACT", NamedKey::Subtract},
    {"MULTIPLY", NamedKey::Multiply}, {"DIVIDE", NamedKey::Divide},
};
// clang-format on

// Names compare case-insensitively over ASCII only: "{ＥＮＴＥＲ}" is not a key name.
bool lookUpKeyName(QStringView name, NamedKey *key)
{
    QByteArray upper;
    for (QChar c : name) {
        if (c.unicode() > 0x7e)
            return false;
        upper.append(static_cast<char>(QChar::toUpper(c.unicode())));
    }
    for (const KeyName &k : keyNames)
        if (upper == k.name) {
            *key = k.key;
            return true;
        }
    return false;
}

bool isModifierChar(QChar c) { return c == u'+' || c == u'^' || c == u'%'; }

Modifier modifierFor(QChar c) { return c == u'+' ? Modifier::Shift : c == u'^' ? Modifier::Ctrl : Modifier::Alt; }

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7f && c <= 0x9f); }

class Parser {
public:
    explicit Parser(const QString &text) : s(text) {}

    ParsedKeyString run()
    {
        ParsedKeyString result;
        if (parseSequence(0))
            result.strokes = out;
        else
            result.error = error;
        return result;
    }

private:
    const QString &s;
    qsizetype pos = 0;
    QList<KeyStroke> out;
    std::array<bool, 3> held{};
    QString error;

    bool fail(qsizetype at, const QString &why)
    {
        error = QStringLiteral("%1（%2文字目）").arg(why).arg(at + 1);
        return false;
    }

    // Checked before the strokes are added, so a key that would expand beyond the
    // bound takes no more memory than the bound.
    bool append(const KeyStroke &stroke, int count, qsizetype at)
    {
        if (out.size() + count > MaxKeyStrokes)
            return fail(at, QStringLiteral("打鍵が多すぎます（%1打鍵まで）").arg(MaxKeyStrokes));
        for (int i = 0; i < count; ++i)
            out.append(stroke);
        return true;
    }

    // Reads items until the end or a ")" that closes the enclosing group (left unread).
    bool parseSequence(int depth)
    {
        while (pos < s.size()) {
            if (s[pos] == u')') {
                if (depth == 0)
                    return fail(pos, QStringLiteral("対応する「(」のない「)」があります"));
                return true;
            }
            if (!parseItem(depth))
                return false;
        }
        return true;
    }

    // One key, brace group or parenthesised group with the modifiers written before it.
    bool parseItem(int depth)
    {
        std::array<bool, 3> wanted{};
        while (pos < s.size() && isModifierChar(s[pos])) {
            const qsizetype at = pos;
            wanted[static_cast<int>(modifierFor(s[pos]))] = true;
            ++pos;
            if (pos == s.size() || s[pos] == u')')
                return fail(at, QStringLiteral("「%1」の後に押すキーがありません").arg(s[at]));
        }
        // Press only what is not already held by an enclosing group.
        std::array<bool, 3> pressed{};
        for (int m = 0; m < 3; ++m)
            if (wanted[m] && !held[m]) {
                pressed[m] = held[m] = true;
                if (!append(KeyStroke::down(static_cast<Modifier>(m)), 1, pos))
                    return false;
            }
        if (!parseUnit(depth))
            return false;
        for (int m = 2; m >= 0; --m)
            if (pressed[m]) {
                held[m] = false;
                if (!append(KeyStroke::up(static_cast<Modifier>(m)), 1, pos))
                    return false;
            }
        return true;
    }

    bool parseUnit(int depth)
    {
        const QChar c = s[pos];
        if (c == u'(') {
            // Each level is a few stack frames; a bound keeps a hostile key from
            // overflowing the stack.
            if (depth >= MaxGroupDepth)
                return fail(pos, QStringLiteral("「(」の入れ子が深すぎます（%1段まで）").arg(MaxGroupDepth));
            const qsizetype open = pos++;
            if (!parseSequence(depth + 1))
                return false;
            if (pos >= s.size())
                return fail(open, QStringLiteral("「(」を閉じる「)」がありません"));
            ++pos;  // the closing ")"
            return true;
        }
        if (c == u'{')
            return parseBraces();
        if (c == u'}')
            return fail(pos, QStringLiteral("対応する「{」のない「}」があります。「}」そのものは「{}}」と書きます"));
        if (c == u'~')
            return append(KeyStroke::named(NamedKey::Enter), 1, pos++);
        // CR LF is one line end, so one Enter.
        if (c == u'\r' && pos + 1 < s.size() && s[pos + 1] == u'\n')
            ++pos;
        const qsizetype at = pos;
        char32_t code = 0;
        if (!readCodePoint(&code))
            return fail(at, QStringLiteral("壊れた文字（対になっていないサロゲート）があります"));
        return appendCharacter(code, 1, at);
    }

    bool readCodePoint(char32_t *code)
    {
        const QChar c = s[pos];
        if (c.isHighSurrogate() && pos + 1 < s.size() && s[pos + 1].isLowSurrogate()) {
            *code = QChar::surrogateToUcs4(c, s[pos + 1]);
            pos += 2;
            return true;
        }
        if (c.isSurrogate())
            return false;
        *code = c.unicode();
        ++pos;
        return true;
    }

    bool appendCharacter(char32_t code, int count, qsizetype at)
    {
        KeyStroke stroke = KeyStroke::text(code);
        if (code == u'\t')
            stroke = KeyStroke::named(NamedKey::Tab);
        else if (code == u'\r' || code == u'\n')
            stroke = KeyStroke::named(NamedKey::Enter);
        else if (isControl(code))
            return fail(at, QStringLiteral("入力できない制御文字 U+%1 があります")
                                .arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'))
                                .toUpper());
        return append(stroke, count, at);
    }

    // "{" content "}": one literal character or a key name, optionally " N" times.
    bool parseBraces()
    {
        const qsizetype open = pos++;
        const QString lone = QStringLiteral("「{」を閉じる「}」がありません。「{」そのものは「{{}」と書きます");
        if (pos >= s.size())
            return fail(open, lone);
        // In "{}}" the first "}" is the content.
        const qsizetype close = s.indexOf(u'}', s[pos] == u'}' ? pos + 1 : pos);
        if (close < 0)
            return fail(open, lone);
        const QStringView content = QStringView(s).mid(pos, close - pos);
        pos = close + 1;

        QStringView name = content;
        int count = 1;
        const qsizetype space = content.lastIndexOf(u' ');
        if (space >= 1 && space + 1 < content.size()) {
            const QStringView digits = content.mid(space + 1);
            bool allDigits = true;
            for (QChar d : digits)
                allDigits = allDigits && d >= u'0' && d <= u'9';
            if (allDigits) {
                if (digits.size() > 4 || digits.toInt() > MaxKeyRepeat)
                    return fail(open, QStringLiteral("繰り返し回数が大きすぎます（%1回まで）").arg(MaxKeyRepeat));
                name = content.left(space);
                count = digits.toInt();
            }
        }

        const bool oneUnit = name.size() == 1 && !name[0].isSurrogate();
        const bool onePair = name.size() == 2 && name[0].isHighSurrogate() && name[1].isLowSurrogate();
        if (oneUnit || onePair) {
            const char32_t code = oneUnit ? name[0].unicode() : QChar::surrogateToUcs4(name[0], name[1]);
            return appendCharacter(code, count, open);
        }
        NamedKey key;
        if (!lookUpKeyName(name, &key))
            return fail(open, QStringLiteral("「{%1}」は知らないキー名です").arg(name));
        return append(KeyStroke::named(key), count, open);
    }
};

}  // namespace

ParsedKeyString parseKeyString(const QString &keyString) { return Parser(keyString).run(); }

QString namedKeyName(NamedKey key)
{
    // The first spelling of each key in the table is its display name.
    for (const KeyName &k : keyNames)
        if (k.key == key)
            return QString::fromLatin1(k.name);
    return QStringLiteral("?");
}

QString describeStrokes(const QList<KeyStroke> &strokes)
{
    static const char *const modifierNames[] = {"Shift", "Ctrl", "Alt"};
    QStringList parts;
    for (const KeyStroke &k : strokes) {
        switch (k.kind) {
        case KeyStroke::Text:
            if (k.character <= 0x20)
                parts.append(QStringLiteral("U+%1").arg(static_cast<uint>(k.character), 4, 16, QLatin1Char('0')));
            else
                parts.append(QString::fromUcs4(&k.character, 1));
            break;
        case KeyStroke::Key: parts.append(QLatin1Char('<') + namedKeyName(k.key) + QLatin1Char('>')); break;
        case KeyStroke::ModifierDown:
        case KeyStroke::ModifierUp:
            parts.append(QStringLiteral("[%1%2]")
                             .arg(QLatin1Char(k.kind == KeyStroke::ModifierDown ? '+' : '-'))
                             .arg(QLatin1String(modifierNames[static_cast<int>(k.modifier)])));
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace common
