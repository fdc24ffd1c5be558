#pragma once
// What a list cell, its tool tip or a column heading shows of a text that may be
// as long as a whole file: laying out a megabyte on every repaint would keep the
// window busy for seconds. The full text stays where it is used as data.
#include <QString>
#include <QStringView>

constexpr qsizetype CellTextLimit = 1024;

// The text itself when it has at most CellTextLimit characters; otherwise its first
// CellTextLimit characters (one fewer rather than half a surrogate pair) and "…".
QString cellText(QStringView text);
