#pragma once
// What a text view shows of a data file: the whole file when it is small, otherwise
// its first part with a note, so that a huge file never fills the memory.

#include <QByteArray>
#include <QString>

namespace textpreview {

// Bytes shown at most. A reader asks for one byte more to learn that the file goes on.
constexpr qint64 LimitBytes = 4 * 1024 * 1024;
constexpr qint64 ReadBytes = LimitBytes + 1;

// Said after the first part when the rest is left out.
QString omittedNote(qint64 shownBytes);

// The CP932 text of leading (the file's first bytes, up to ReadBytes of them):
// all of it when it is no longer than limit, else its whole characters within the
// limit followed by the note.
QString shownText(const QByteArray &leading, qint64 limit = LimitBytes);

}  // namespace textpreview
