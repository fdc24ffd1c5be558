#pragma once
// How an argument text is split into items: the rules shared by the updater, which
// reads its command line with them, and the viewer, which builds that command line.

#include <QString>
#include <QStringList>

namespace common {

// Splits the argument text (the command line without the program name and the blank
// after it). The blank is the only separator; two blanks in a row give an empty item
// and one trailing blank gives none. An item that begins with a double quote runs to
// the first blank after the next double quote and loses its first and last
// characters. An opening quote that is never closed makes the rest of the text,
// without that quote, the last item.
// When unsplitRest is given it receives what the splitting left unconsumed: the raw
// text of the last item when no blank ended it, otherwise the empty text.
QStringList splitCommandLine(const QString &argumentText, QString *unsplitRest = nullptr);

}  // namespace common
