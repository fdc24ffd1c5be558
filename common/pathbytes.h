#pragma once
// File names on systems whose names are bytes: UTF-8 by convention, yet any byte
// string is a valid name. A name must come back to the very same bytes, or a file
// named "bad\xff\xfe.txt" is listed under a name that opens nothing.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace common {

// Valid UTF-8 decodes as usual; every byte that is not part of a valid sequence
// becomes the lone low surrogate U+DC80 + (byte - 0x80), which no decoded text holds.
QString pathFromBytes(QByteArrayView bytes);

// The inverse: UTF-8, with each lone U+DC80..U+DCFF turned back into its byte. Any
// other lone surrogate has no bytes and becomes U+FFFD.
QByteArray pathToBytes(QStringView path);

}  // namespace common
