#pragma once
// Code page 932 (Windows Japanese) text codec, from our own table so that it maps
// exactly like Windows whatever the system locale or the Qt build.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace common::cp932 {

// Whether b is the first byte of a double-byte character.
constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes that do not form a valid character become U+FFFD; never fails.
QString decode(QByteArrayView bytes);
// The same decoding written to out, which has room for bytes.size() characters (a
// character never takes less than a byte); returns how many characters it wrote.
qsizetype decodeInto(QByteArrayView bytes, char16_t *out);
// Characters without a CP932 form become '?'.
QByteArray encode(QStringView text);
// The length of the longest start of bytes, at most limit bytes, that does not end
// inside a double-byte character (a cut there never splits a character).
qsizetype wholeCharactersLength(QByteArrayView bytes, qsizetype limit);

}  // namespace common::cp932
