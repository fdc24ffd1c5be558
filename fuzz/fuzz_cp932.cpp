// The code page 932 codec against ICU's "windows-31j" converter.
//
// The input is decoded as bytes, cut at whole characters and, read as UTF-16 code units,
// encoded. ICU is asked
// about every byte, byte pair and BMP character once, at start, without our table.
// Where our codec differs from ICU on purpose, ICU is not asked:
// - 0x00-0x7F are ASCII both ways; ICU swaps 0x1A, 0x1C and 0x7F as IBM code pages do;
// - a character that ICU encodes only one way (a best fit whose bytes decode to another
//   character) has no byte form here and becomes '?';
// - bytes that form no character: ICU's substitutes and how many bytes it swallows
//   differ, so each such piece is held to our own rules (one U+FFFD per piece) and ICU
//   only has to agree that it is no character.
#include "fuzzcheck.h"
#include "cp932.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

UConverter *openIcu()
{
    UErrorCode err = U_ZERO_ERROR;
    UConverter *conv = ucnv_open("windows-31j", &err);
    if (U_FAILURE(err))
        fuzzcheck::fail("ucnv_open(\"windows-31j\")", __FILE__, __LINE__, QString::fromLatin1(u_errorName(err)));
    // Stop at anything unmapped instead of substituting.
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    return conv;
}

// ICU's text for these bytes; false when they hold anything unmapped.
bool icuDecode(UConverter *conv, const char *bytes, int length, std::u16string *text)
{
    text->resize(size_t(length) + 1);
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv);
    const int n = ucnv_toUChars(conv, text->data(), int(text->size()), bytes, length, &err);
    if (U_FAILURE(err))
        return false;
    text->resize(size_t(n));
    return true;
}

struct IcuTables {
    std::array<char16_t, 256> single{};  // non-lead bytes 0x80-0xFF; U+FFFD: none
    std::vector<char16_t> pair;          // [lead << 8 | trail]; U+FFFD: none
    std::vector<QByteArray> formOf;      // BMP character -> bytes; empty: '?'

    IcuTables() : pair(0x10000, Replacement), formOf(0x10000)
    {
        UConverter *conv = openIcu();
        std::u16string text;
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = char(b);
            single[b] = !isLead(b) && icuDecode(conv, &byte, 1, &text) && text.size() == 1 ? text[0] : Replacement;
        }
        for (int lead = 0x81; lead < 0x100; ++lead) {
            for (int trail = 0x40; isLead(lead) && trail < 0x100; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                if (isTrail(trail) && icuDecode(conv, bytes, 2, &text) && text.size() == 1)
                    pair[lead << 8 | trail] = text[0];
            }
        }
        for (int ch = 0x80; ch < 0x10000; ++ch) {
            if (ch >= 0xD800 && ch <= 0xDFFF)
                continue;
            const UChar in = UChar(ch);
            char out[4];
            UErrorCode err = U_ZERO_ERROR;
            ucnv_resetFromUnicode(conv);
            const int n = ucnv_fromUChars(conv, out, 4, &in, 1, &err);
            // Only forms that decode back to the character (no best fit).
            if (U_SUCCESS(err) && n >= 1 && n <= 2 && icuDecode(conv, out, n, &text) &&
                text == std::u16string(1, char16_t(ch)))
                formOf[ch] = QByteArray(out, n);
        }
        ucnv_close(conv);
    }
};

const IcuTables &icuTables()
{
    static const IcuTables tables;
    return tables;
}

// What decoding must give: each character from ICU, each piece that is no character
// U+FFFD, split the way the codec documents (a lead byte without a trail byte after it
// is a piece of its own).
QString expectedDecode(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = uchar(bytes[i]);
        if (b < 0x80) {
            text += QChar(b);
            ++i;
        } else if (!isLead(b)) {
            text += QChar(icuTables().single[b]);
            ++i;
        } else if (i + 1 < bytes.size() && isTrail(uchar(bytes[i + 1]))) {
            text += QChar(icuTables().pair[b << 8 | uchar(bytes[i + 1])]);
            i += 2;
        } else {
            text += QChar(Replacement);
            ++i;
        }
    }
    return text;
}

QByteArray expectedEncode(QStringView text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < 0x80) {
            bytes += char(ch);
        } else if (QChar::isSurrogate(ch)) {
            // A pair is one character without a form: one '?'.
            if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            bytes += '?';
        } else {
            const QByteArray &form = icuTables().formOf[ch];
            bytes += form.isEmpty() ? QByteArray("?") : form;
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    icuTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString decoded = common::cp932::decode(bytes);
    FUZZ_CHECK(decoded == expectedDecode(bytes),
               fuzzcheck::codes(decoded) + QStringLiteral(" expected ") + fuzzcheck::codes(expectedDecode(bytes)));

    // Text without replacements and without the three swapped controls: ICU decodes
    // the whole of it in one go exactly as we do.
    if (!decoded.contains(QChar(Replacement)) && !bytes.contains('\x1A') && !bytes.contains('\x1C') &&
        !bytes.contains('\x7F')) {
        static UConverter *conv = openIcu();
        std::u16string whole;
        FUZZ_CHECK(icuDecode(conv, bytes.constData(), int(bytes.size()), &whole), fuzzcheck::codes(decoded));
        FUZZ_CHECK(QStringView(whole) == decoded, fuzzcheck::codes(decoded));
        // Every character has a form, and the form decodes back to it.
        FUZZ_CHECK(common::cp932::decode(common::cp932::encode(decoded)) == decoded, fuzzcheck::codes(decoded));
    }

    // A cut at whole characters splits nothing: both sides decode to the whole text.
    const qsizetype limit = size ? data[0] % (size + 1) : 0;
    const qsizetype whole = common::cp932::wholeCharactersLength(bytes, limit);
    FUZZ_CHECK(whole >= 0 && whole <= limit, QStringLiteral("%1 of at most %2").arg(whole).arg(limit));
    FUZZ_CHECK(common::cp932::decode(bytes.left(whole)) + common::cp932::decode(bytes.mid(whole)) == decoded,
               QStringLiteral("cut at %1 of %2").arg(whole).arg(limit));
    // The longest such start: the next character would not fit.
    if (whole < limit) {
        const bool pair = isLead(uchar(bytes[whole])) && whole + 1 < bytes.size() && isTrail(uchar(bytes[whole + 1]));
        FUZZ_CHECK(pair && whole + 2 > limit, QStringLiteral("stopped at %1 of %2").arg(whole).arg(limit));
    }

    std::u16string unitCopy(size / 2, u'\0');
    std::memcpy(unitCopy.data(), data, size / 2 * 2);
    const QStringView units(unitCopy);
    const QByteArray encoded = common::cp932::encode(units);
    FUZZ_CHECK(encoded == expectedEncode(units),
               fuzzcheck::codes(units) + QStringLiteral(" gave ") + QString::fromLatin1(encoded.toHex(' ')) +
                   QStringLiteral(" expected ") + QString::fromLatin1(expectedEncode(units).toHex(' ')));
    return 0;
}
