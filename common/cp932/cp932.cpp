// Code page 932 from the committed table (cp932_table.inc, made by tools/gen_cp932.cpp),
// so that the mapping never depends on the Qt build or the system's converters.
//
// Decoding rules, for bytes that do not form a character:
// - a byte that is neither a character nor a lead byte (0x80, 0xA0, 0xFD-0xFF) -> U+FFFD;
// - a lead byte followed by a byte that cannot be a trail byte -> U+FFFD for the lead
//   alone; the following byte starts the next character (so "\x81\r\n" keeps its CR LF);
// - a lead byte with a trail byte that has no character -> one U+FFFD for the pair;
// - a lead byte as the last byte -> U+FFFD.
#include "../cp932.h"

#include <cstring>
#include <memory>
#include <vector>

namespace common::cp932 {

namespace {

#include "cp932_table.inc"

constexpr char16_t Replacement = 0xFFFD;

// Row of kDoubleByte + 1 for each lead byte, 0 for every other byte.
struct LeadRows {
    unsigned char row[256] = {};
    constexpr LeadRows()
    {
        int next = 1;
        for (int b = 0; b < 256; ++b)
            if (isLeadByte(static_cast<unsigned char>(b)))
                row[b] = static_cast<unsigned char>(next++);
    }
};
constexpr LeadRows kLeadRows;
static_assert(kLeadRows.row[0xFC] == kLeadCount);

constexpr bool isTrail(unsigned char b) { return b >= kTrailFirst && b < kTrailFirst + kTrailCount && b != 0x7F; }

// The inverse of the decode table: one byte form per BMP character, 0 for none.
// Pages of 256 characters; only pages with characters are allocated.
class EncodeTable {
public:
    EncodeTable()
    {
        std::vector<bool> duplicate(0x10000);
        for (unsigned short form : kDuplicateForms)
            duplicate[form] = true;
        for (int b = 0x80; b < 256; ++b)
            if (kSingleByte[b] != Replacement)
                set(kSingleByte[b], static_cast<unsigned short>(b));
        for (int r = 0; r < kLeadCount; ++r) {
            const int lead = r < 0x1F ? 0x81 + r : 0xE0 + (r - 0x1F);
            for (int t = 0; t < kTrailCount; ++t) {
                const char16_t ch = kDoubleByte[r][t];
                const auto form = static_cast<unsigned short>(lead << 8 | (kTrailFirst + t));
                if (ch != Replacement && !duplicate[form])
                    set(ch, form);
            }
        }
    }
    unsigned short formOf(char16_t ch) const
    {
        const auto &page = pages[ch >> 8];
        return page ? page[ch & 0xFF] : 0;
    }

private:
    std::unique_ptr<unsigned short[]> pages[256];

    void set(char16_t ch, unsigned short form)
    {
        auto &page = pages[ch >> 8];
        if (!page)
            page = std::make_unique<unsigned short[]>(256);  // zeroed
        page[ch & 0xFF] = form;
    }
};

const EncodeTable &encodeTable()
{
    static const EncodeTable table;
    return table;
}

}  // namespace

qsizetype decodeInto(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = in + bytes.size();
    char16_t *const start = out;

    while (in < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - in >= 8) {
            quint64 word;
            std::memcpy(&word, in, 8);
            if (word & 0x8080808080808080ull)
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = in[i];
            in += 8;
            out += 8;
        }
        if (in == end)
            break;
        const unsigned char b = *in;
        if (b < 0x80) {
            *out++ = b;
            ++in;
            continue;
        }
        const unsigned row = kLeadRows.row[b];
        if (row == 0) {
            *out++ = kSingleByte[b];
            ++in;
        } else if (end - in >= 2 && isTrail(in[1])) {
            *out++ = kDoubleByte[row - 1][in[1] - kTrailFirst];
            in += 2;
        } else {
            *out++ = Replacement;
            ++in;
        }
    }
    return out - start;
}

QString decode(QByteArrayView bytes)
{
    // Never more characters than bytes.
    QString text(bytes.size(), Qt::Uninitialized);
    text.resize(decodeInto(bytes, reinterpret_cast<char16_t *>(text.data())));
    return text;
}

qsizetype wholeCharactersLength(QByteArrayView bytes, qsizetype limit)
{
    // Trail bytes are also valid lead and single bytes, so only a walk from the
    // start tells where characters begin; pairs are taken exactly as decode does.
    const qsizetype end = qMin(bytes.size(), qMax<qsizetype>(limit, 0));
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype at = 0;
    while (at < end) {
        const bool pair = kLeadRows.row[in[at]] != 0 && at + 1 < bytes.size() && isTrail(in[at + 1]);
        const qsizetype next = at + (pair ? 2 : 1);
        if (next > end)
            break;
        at = next;
    }
    return at;
}

QByteArray encode(QStringView text)
{
    const EncodeTable &table = encodeTable();
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < 0x80) {
            bytes.append(static_cast<char>(ch));
            continue;
        }
        const unsigned short form = QChar::isSurrogate(ch) ? 0 : table.formOf(ch);
        if (form == 0) {
            // A surrogate pair is one character and becomes one '?'.
            if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            bytes.append('?');
        } else if (form < 0x100) {
            bytes.append(static_cast<char>(form));
        } else {
            bytes.append(static_cast<char>(form >> 8));
            bytes.append(static_cast<char>(form & 0xFF));
        }
    }
    return bytes;
}

}  // namespace common::cp932
