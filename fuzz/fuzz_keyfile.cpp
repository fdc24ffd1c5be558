// Key loading: the same file loaded with the real block and read sizes and with tiny
// ones gives the same list, and that list is what reading line by line gives: line 1
// the name, lines 2 and 3 skipped, every further line a key, bold when it starts "#[".
//
// Input: byte 0 picks the tiny block size, byte 1 the tiny read size; the rest is the
// file.
#include "catalogue/datafile.h"
#include "catalogue/keyfile.h"
#include "fileharness.h"

namespace {

QStringList describe(const KeyList &list)
{
    QStringList out{list.name};
    for (qsizetype i = 0; i < list.keys.count(); ++i)
        out.append((list.keys.isBold(i) ? QStringLiteral("*") : QStringLiteral("-")) + list.keys.text(i).toString());
    return out;
}

// Through ReadLine, one line at a time, with nothing cut.
QStringList readLineByLine(const QString &path, qsizetype size)
{
    DataFileReader reader(path, size + 1);
    QStringList out{reader.ReadLine()};
    reader.ReadLine();
    reader.ReadLine();
    while (!reader.atEnd()) {
        const QString key = reader.ReadLine();
        out.append((isHeading(key) ? QStringLiteral("*") : QStringLiteral("-")) + key);
    }
    return out;
}

}  // namespace

void fuzzFile(const fuzzcheck::FileInput &input)
{
    const qsizetype block = 1 + input.first % 11;
    const qsizetype chunk = 1 + input.second % 7;

    const QStringList expected = readLineByLine(input.path, input.bytes.size());
    const QStringList real = describe(loadKeyList(input.path));
    FUZZ_CHECK(real == expected, fuzzcheck::gotExpected(real, expected));
    const QStringList small = describe(loadKeyList(input.path, block, ReadChunks{chunk, chunk}));
    FUZZ_CHECK(small == expected, QStringLiteral("blocks of %1, chunks of %2: ").arg(block).arg(chunk) +
                                      fuzzcheck::gotExpected(small, expected));
}
