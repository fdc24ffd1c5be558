#pragma once
// What a list cell, its tool tip or a column heading shows of a text that may be
// as long as a whole file: laying out a megabyte on every repaint would keep the
// window busy for seconds. The full text stays where it is used as data.
#include <QString>
#include <QStringView>

// Far wider than any column or the screen, short enough to lay out at once.
constexpr qsizetype CellTextLimit = 256;

// The text itself when it has at most CellTextLimit characters; otherwise its first
// CellTextLimit characters (one fewer rather than half a surrogate pair) and "…".
// Control characters other than tab show as U+FFFD, as undecodable bytes do: no font
// has glyphs for them, and looking each one up in every fallback font is slow.
QString cellText(QStringView text);
