#include "pathbytes.h"

namespace common {

namespace {

constexpr char16_t EscapeBase = 0xDC00;  // + a byte of 0x80..0xFF

// Length of the valid UTF-8 sequence at bytes[i], and its code point; 0 when the byte
// does not start one (stray continuation, overlong form, surrogate, beyond U+10FFFF).
int validSequence(QByteArrayView bytes, qsizetype i, char32_t &codePoint)
{
    const auto at = [&](qsizetype k) { return uchar(bytes[k]); };
    const uchar lead = at(i);
    int length;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const uchar b = at(i + k);
        if ((b & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (b & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

QString pathFromBytes(QByteArrayView bytes)
{
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            path += QChar(b);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const int length = validSequence(bytes, i, codePoint);
        if (length == 0) {
            path += QChar(char16_t(EscapeBase + b));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(codePoint)) {
            path += QChar(QChar::highSurrogate(codePoint));
            path += QChar(QChar::lowSurrogate(codePoint));
        } else {
            path += QChar(char16_t(codePoint));
        }
        i += length;
    }
    return path;
}

QByteArray pathToBytes(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size() * 3);
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(u, path[i + 1].unicode()));
            ++i;
        } else if (u >= EscapeBase + 0x80 && u <= EscapeBase + 0xFF) {
            bytes += char(u - EscapeBase);
        } else if (QChar::isSurrogate(u)) {
            appendUtf8(bytes, 0xFFFD);
        } else {
            appendUtf8(bytes, u);
        }
    }
    return bytes;
}

}  // namespace common
