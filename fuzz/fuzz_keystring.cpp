// The key-string parser and the escaping that direct output puts before it.
//
// Escaped text types exactly itself: parsing the escape of a text without braces gives
// one Text stroke per code point, except tab (the Tab key), CR, LF and CR LF (one Enter
// each), and refuses a text with any other control character or a lone surrogate.
// Braces are left to the typer's syntax on purpose, so a text with braces is only
// parsed, not compared.
// Any string at all: refused with a reason and no strokes, or accepted with at most
// MaxKeyStrokes strokes, every modifier pressed once and released, and only typable
// characters.
//
// The first input byte picks how the rest becomes text: UTF-8, or raw UTF-16 code units
// (lone surrogates and controls included).
#include "fuzzcheck.h"
#include "output/escapekeys.h"
#include "keystring.h"

#include <cstring>
#include <string>

using common::KeyStroke;
using common::NamedKey;

namespace {

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7f && c <= 0x9f); }

// The strokes that typing text literally gives; false when the parser must refuse it.
bool literalStrokes(const QString &text, QList<KeyStroke> *strokes)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1]);
            ++i;
        } else if (c.isSurrogate()) {
            return false;
        }
        if (code == u'\t') {
            strokes->append(KeyStroke::named(NamedKey::Tab));
        } else if (code == u'\r' || code == u'\n') {
            if (code == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            strokes->append(KeyStroke::named(NamedKey::Enter));
        } else if (isControl(code)) {
            return false;
        } else {
            strokes->append(KeyStroke::text(code));
        }
    }
    return true;
}

void checkWellFormed(const QString &keyString, const common::ParsedKeyString &parsed)
{
    const QString shown = fuzzcheck::codes(keyString);
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.strokes.isEmpty(), shown);
        return;
    }
    FUZZ_CHECK(parsed.strokes.size() <= common::MaxKeyStrokes, QStringLiteral("%1 strokes").arg(parsed.strokes.size()));
    bool held[3] = {};
    for (const KeyStroke &k : parsed.strokes) {
        const int m = int(k.modifier);
        switch (k.kind) {
        case KeyStroke::ModifierDown:
            FUZZ_CHECK(!held[m], shown + QStringLiteral(" pressed twice"));
            held[m] = true;
            break;
        case KeyStroke::ModifierUp:
            FUZZ_CHECK(held[m], shown + QStringLiteral(" released while up"));
            held[m] = false;
            break;
        case KeyStroke::Text:
            FUZZ_CHECK(k.character <= 0x10FFFF && !(k.character >= 0xD800 && k.character <= 0xDFFF) &&
                           !isControl(k.character),
                       shown);
            break;
        case KeyStroke::Key: break;
        }
    }
    FUZZ_CHECK(!held[0] && !held[1] && !held[2], shown + QStringLiteral(" left a modifier down"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto *rest = reinterpret_cast<const char *>(data + 1);
    const size_t restSize = size - 1;
    QString text;
    if (data[0] & 1) {
        std::u16string units(restSize / 2, u'\0');
        std::memcpy(units.data(), rest, restSize / 2 * 2);
        text = QString::fromStdU16String(units);
    } else {
        text = QString::fromUtf8(rest, qsizetype(restSize));
    }

    checkWellFormed(text, common::parseKeyString(text));

    const QString escaped = escapeKeys(text);
    const common::ParsedKeyString typed = common::parseKeyString(escaped);
    checkWellFormed(escaped, typed);
    if (text.contains(u'{') || text.contains(u'}'))
        return 0;
    QList<KeyStroke> expected;
    const QString shown = fuzzcheck::codes(text) + QStringLiteral(" typed as ") +
                          common::describeStrokes(typed.strokes) + QLatin1Char(' ') + typed.error;
    if (literalStrokes(text, &expected)) {
        FUZZ_CHECK(typed.ok(), shown);
        FUZZ_CHECK(typed.strokes == expected, shown + QStringLiteral(" expected ") + common::describeStrokes(expected));
    } else {
        FUZZ_CHECK(!typed.ok(), shown);
    }
    return 0;
}
