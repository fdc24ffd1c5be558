// The data-file reader: the same bytes read with the real read sizes and with tiny
// ones (chunk boundaries inside every line and between CR and LF) give the same lines,
// and those are the lines the reading rules give: a line ends at CR LF or a lone CR, a
// lone LF stays inside it, each line is decoded as a whole, and a line longer than
// the limit keeps its first bytes. The raw-bytes reading that key loading uses hands
// out every byte once, cut only after a whole line end.
//
// Input: byte 0 picks the tiny read size, byte 1 the small line limit and the raw
// reading's block size; the rest is the file.
#include "catalogue/datafile.h"
#include "fileharness.h"
#include "cp932.h"

namespace {

// The raw lines of the file by the reading rules, terminators dropped.
QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', pos);
        if (cr < 0) {
            lines.append(bytes.mid(pos));
            break;
        }
        lines.append(bytes.mid(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

QStringList readAll(const QString &path, qsizetype maxLineBytes, ReadChunks chunks)
{
    DataFileReader reader(path, maxLineBytes, chunks);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.ReadLine());
    FUZZ_CHECK(reader.ReadLine().isEmpty(), QStringLiteral("a line past the end"));
    return lines;
}

}  // namespace

void fuzzFile(const fuzzcheck::FileInput &input)
{
    const qsizetype tiny = 1 + input.first % 7;
    const qsizetype smallLimit = 1 + input.second % 13;
    const QByteArray &bytes = input.bytes;
    const QString &path = input.path;

    const QList<QByteArray> raw = splitLines(bytes);
    QStringList expected;
    QStringList expectedCut;
    for (const QByteArray &line : raw) {
        expected.append(common::cp932::decode(line));
        expectedCut.append(common::cp932::decode(line.left(smallLimit)));
    }

    const QStringList real = readAll(path, DataFileReader::MaxLineBytes, ReadChunks{});
    FUZZ_CHECK(real == expected, fuzzcheck::gotExpected(real, expected));
    const QStringList small = readAll(path, DataFileReader::MaxLineBytes, ReadChunks{tiny, tiny});
    FUZZ_CHECK(small == expected, QStringLiteral("chunks of %1: ").arg(tiny) + fuzzcheck::codes(small));
    const QStringList cut = readAll(path, smallLimit, ReadChunks{tiny, tiny + 1});
    FUZZ_CHECK(cut == expectedCut,
               QStringLiteral("limit %1: ").arg(smallLimit) + fuzzcheck::gotExpected(cut, expectedCut));

    const std::optional<ListRecord> record = readListRecord(path);
    FUZZ_CHECK(record, path);
    FUZZ_CHECK(record->name == expected.value(0) && record->description == expected.value(1) &&
                   record->address == expected.value(2),
               fuzzcheck::codes(QStringList{record->name, record->description, record->address}));

    // Raw reading after the three header lines, as key loading does it.
    DataFileReader reader(path, DataFileReader::MaxLineBytes, ReadChunks{tiny, tiny});
    for (int i = 0; i < 3; ++i)
        reader.ReadLine();
    qsizetype headerBytes = 0;
    for (int i = 0; i < 3 && headerBytes < bytes.size(); ++i) {
        const qsizetype cr = bytes.indexOf('\r', headerBytes);
        headerBytes = cr < 0 ? bytes.size() : cr + 1;
        if (headerBytes < bytes.size() && bytes[headerBytes] == '\n')
            ++headerBytes;
    }
    QByteArray pieces;
    for (;;) {
        const QByteArray piece = reader.readLineBytes(smallLimit);
        if (piece.isEmpty())
            break;
        pieces += piece;
        const qsizetype end = headerBytes + pieces.size();
        if (end < bytes.size()) {
            FUZZ_CHECK(piece.size() >= smallLimit, QStringLiteral("short piece"));
            FUZZ_CHECK(bytes[end - 1] == '\r' || (bytes[end - 1] == '\n' && bytes[end - 2] == '\r'),
                       QStringLiteral("piece not cut after a line end"));
            FUZZ_CHECK(!(bytes[end - 1] == '\r' && bytes[end] == '\n'), QStringLiteral("CR LF cut apart"));
        }
    }
    FUZZ_CHECK(pieces == bytes.mid(headerBytes), QString::fromLatin1(pieces.toHex(' ')) + QStringLiteral(" expected ") +
                                                     QString::fromLatin1(bytes.mid(headerBytes).toHex(' ')));
}
