// Writes cp932_table.inc, the code page 932 table the codec decodes and encodes with.
// Built only with -DTUVEL_BUILD_CP932_GENERATOR=ON (needs libicu-dev); run it as
//   gen_cp932 > common/cp932/cp932_table.inc
// and commit the result. The program itself never needs ICU.
//
// ICU's "windows-31j" converter (ibm-943_P15A-2003) maps the double-byte area and the
// upper single bytes like Windows code page 932, but it swaps the controls 0x1A, 0x1C
// and 0x7F as IBM PC code pages do. Windows keeps 0x00-0x7F as ASCII, so those come
// from here, not from ICU. For characters with two byte forms (JIS row 2 / NEC row 13 /
// NEC-selected IBM / IBM extensions) ICU's encoder picks the form Windows picks: JIS
// over NEC row 13, NEC row 13 over IBM, IBM extensions over NEC-selected IBM. Every
// other form is listed as a duplicate so that the encoder never produces it.

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr unsigned Invalid = 0xFFFD;

bool isLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(int b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

UConverter *openConverter()
{
    UErrorCode err = U_ZERO_ERROR;
    UConverter *conv = ucnv_open("windows-31j", &err);
    if (U_FAILURE(err)) {
        std::fprintf(stderr, "ucnv_open: %s\n", u_errorName(err));
        std::exit(1);
    }
    // Stop at anything unmapped instead of substituting, so gaps stay gaps.
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    return conv;
}

// One character for these bytes, or Invalid.
unsigned decodeOne(UConverter *conv, const char *bytes, int length)
{
    UChar out[4];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv);
    const int n = ucnv_toUChars(conv, out, 4, bytes, length, &err);
    if (U_FAILURE(err) || n != 1)
        return Invalid;
    return out[0];
}

// The byte form ICU's encoder picks for one BMP character: 0 when none.
unsigned encodeOne(UConverter *conv, unsigned ch)
{
    const UChar in = static_cast<UChar>(ch);
    char out[4];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(conv);
    const int n = ucnv_fromUChars(conv, out, 4, &in, 1, &err);
    if (U_FAILURE(err) || n < 1 || n > 2)
        return 0;
    const auto b0 = static_cast<unsigned char>(out[0]);
    return n == 1 ? b0 : (b0 << 8) | static_cast<unsigned char>(out[1]);
}

}  // namespace

int main()
{
    UConverter *conv = openConverter();

    unsigned single[256];
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80) {
            single[b] = static_cast<unsigned>(b);
            continue;
        }
        const char byte = static_cast<char>(b);
        single[b] = isLead(b) ? Invalid : decodeOne(conv, &byte, 1);
    }

    std::vector<int> leads;
    for (int b = 0; b < 256; ++b)
        if (isLead(b))
            leads.push_back(b);

    // Rows over trail bytes 0x40..0xFC; 0x7F is never a trail and stays Invalid.
    std::vector<std::vector<unsigned>> rows;
    std::map<unsigned, std::vector<unsigned>> formsOf;  // character -> its byte forms
    for (int b = 0x80; b < 256; ++b)
        if (single[b] != Invalid)
            formsOf[single[b]].push_back(static_cast<unsigned>(b));
    for (int lead : leads) {
        std::vector<unsigned> row(0xFD - 0x40, Invalid);
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrail(trail))
                continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const unsigned ch = decodeOne(conv, pair, 2);
            row[trail - 0x40] = ch;
            if (ch != Invalid)
                formsOf[ch].push_back(static_cast<unsigned>(lead << 8 | trail));
        }
        rows.push_back(row);
    }

    // Duplicates: every form but the one the encoder picks. The picked form must be
    // one of the decoded forms, or the table would not round-trip.
    std::vector<unsigned> duplicates;
    for (const auto &[ch, forms] : formsOf) {
        if (ch < 0x80)
            continue;
        const unsigned preferred = encodeOne(conv, ch);
        bool found = false;
        for (unsigned form : forms) {
            if (form == preferred)
                found = true;
            else
                duplicates.push_back(form);
        }
        if (!found) {
            std::fprintf(stderr, "U+%04X encodes to %X, not one of its decoded forms\n", ch, preferred);
            return 1;
        }
    }
    // Characters ICU encodes one way only (best fit) stay unencodable; report them.
    int oneWay = 0;
    for (unsigned ch = 0x80; ch < 0x10000; ++ch) {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            continue;
        const unsigned form = encodeOne(conv, ch);
        if (!formsOf.count(ch) && form != 0) {
            ++oneWay;
            std::fprintf(stderr, "left out: U+%04X -> %X\n", ch, form);
        }
    }
    std::fprintf(stderr, "%zu characters, %zu duplicate forms, %d one-way encodings left out\n", formsOf.size(),
                 duplicates.size(), oneWay);

    std::printf("// Code page 932 (Windows Japanese). Generated by tools/gen_cp932.cpp; do not edit.\n");
    std::printf("// 0xFFFD marks a byte or byte pair without a character.\n\n");
    std::printf("static constexpr char16_t kSingleByte[256] = {\n");
    for (int b = 0; b < 256; ++b)
        std::printf("%s0x%04X,%s", b % 16 ? " " : "    ", single[b], b % 16 == 15 ? "\n" : "");
    std::printf("};\n\n");
    std::printf("// Trail bytes 0x%02X..0x%02X; rows in lead byte order 0x81..0x9F, 0xE0..0xFC.\n", 0x40, 0xFC);
    std::printf("static constexpr int kTrailFirst = 0x40;\n");
    std::printf("static constexpr int kTrailCount = %d;\n", 0xFD - 0x40);
    std::printf("static constexpr int kLeadCount = %zu;\n", leads.size());
    std::printf("static constexpr char16_t kDoubleByte[kLeadCount][kTrailCount] = {\n");
    for (size_t r = 0; r < rows.size(); ++r) {
        std::printf("    { // 0x%02X\n", leads[r]);
        for (size_t i = 0; i < rows[r].size(); ++i)
            std::printf("%s0x%04X,%s", i % 12 ? " " : "        ", rows[r][i],
                        (i % 12 == 11 || i + 1 == rows[r].size()) ? "\n" : "");
        std::printf("    },\n");
    }
    std::printf("};\n\n");
    std::printf("// Byte forms the encoder never produces: their character has a preferred form.\n");
    std::printf("static constexpr unsigned short kDuplicateForms[] = {\n");
    for (size_t i = 0; i < duplicates.size(); ++i)
        std::printf("%s0x%04X,%s", i % 10 ? " " : "    ", duplicates[i],
                    (i % 10 == 9 || i + 1 == duplicates.size()) ? "\n" : "");
    std::printf("};\n");
    ucnv_close(conv);
    return 0;
}
