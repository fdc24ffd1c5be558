// Command-line splitting against the splitting steps written out one by one, with
// 1-based positions, and the updater's item array built from it.
//
// The steps leave an opening double quote that is never closed open; like the code,
// the rest of the text without that quote is then the last item.
#include "ccommandline.h"
#include "fuzzcheck.h"
#include "commandline.h"

namespace {

// Position (1-based) of the first c in s from position from on; 0 when none.
qsizetype find(const QString &s, QChar c, qsizetype from) { return s.indexOf(c, from - 1) + 1; }

// Characters 2 to length-1: the first and the last go, whatever they are.
QString dropFirstAndLast(const QString &item) { return item.size() < 2 ? QString() : item.mid(1, item.size() - 2); }

struct Split {
    QStringList items;
    QString rest;  // the raw last item when no blank ended it
};

Split stepByStep(QString s)
{
    Split split;
    while (!s.isEmpty()) {
        qsizetype b = find(s, u' ', 1);
        if (b != 0 && s.left(b).contains(u'"')) {
            const qsizetype q = find(s, u'"', 2);
            if (q == 0) {  // never closed
                split.items.append(s.mid(1));
                split.rest = s;
                return split;
            }
            b = find(s, u' ', q);
        }
        if (b != 0) {
            QString element = s.left(b);
            s = s.mid(b);
            element.chop(1);
            split.items.append(element.startsWith(u'"') ? dropFirstAndLast(element) : element);
            continue;
        }
        const bool neverClosed = s.startsWith(u'"') && find(s, u'"', 2) == 0;
        split.items.append(neverClosed ? s.mid(1) : s.startsWith(u'"') ? dropFirstAndLast(s) : s);
        split.rest = s;
        return split;
    }
    return split;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Split expected = stepByStep(text);
    const QString shown = fuzzcheck::codes(text) + QStringLiteral(" expected ") + fuzzcheck::codes(expected.items);

    QString rest;
    const QStringList items = common::splitCommandLine(text, &rest);
    FUZZ_CHECK(items == expected.items, fuzzcheck::codes(items) + QStringLiteral(" from ") + shown);
    FUZZ_CHECK(rest == expected.rest, fuzzcheck::codes(rest) + QStringLiteral(" left from ") + shown);

    CCommandLine line;
    QString consumed = text;
    line.GetLine(consumed);
    FUZZ_CHECK(consumed == expected.rest, fuzzcheck::codes(consumed) + QStringLiteral(" left from ") + shown);
    FUZZ_CHECK(line.MinIndex() == 0 && line.MaxIndex() == expected.items.size(), shown);
    for (int i = 0; i < line.MaxIndex(); ++i)
        FUZZ_CHECK(line.Lines(i) == expected.items[i], shown);
    FUZZ_CHECK(line.Lines(line.MaxIndex()).isEmpty(), shown);
    return 0;
}
