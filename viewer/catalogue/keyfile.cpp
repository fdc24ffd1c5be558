#include "keyfile.h"

#include "datafile.h"
#include "cp932.h"

#include <QStringList>

namespace {

// Whether the line bytes[from, to) ends in the first byte of a double-byte character.
// A byte that cannot be a lead byte always ends a character, and the lead-byte values
// that follow it pair up, so an odd run of them before the end leaves the last one
// without its second byte.
bool endsInLeadByte(QByteArrayView bytes, qsizetype from, qsizetype to)
{
    qsizetype i = to;
    while (i > from && common::cp932::isLeadByte(uchar(bytes[i - 1])))
        --i;
    return (to - i) % 2 == 1;
}

void appendDecoded(QString &text, QByteArrayView bytes)
{
    if (text.isEmpty())
        text = common::cp932::decode(bytes);
    else
        text += common::cp932::decode(bytes);
}

// Decodes the key lines in as few codec calls as possible, keeping the terminators.
// Decoding many lines at once gives the same text as decoding each line alone, since
// CR is never part of a double-byte character; the exception is a line that ends in
// a lead byte (alone, the codec sees it at the end of its input, in a run it would see
// it followed by the CR). Such a line is decoded on its own.
QString decodeKeyLines(QByteArray bytes)
{
    QString text;
    qsizetype runStart = 0;
    qsizetype lineStart = 0;
    for (;;) {
        const qsizetype cr = bytes.indexOf('\r', lineStart);
        if (cr < 0)
            break;
        qsizetype next = cr + 1;
        if (next < bytes.size() && bytes.at(next) == '\n')
            ++next;
        if (endsInLeadByte(bytes, lineStart, cr)) {
            appendDecoded(text, QByteArrayView(bytes).sliced(runStart, lineStart - runStart));
            appendDecoded(text, QByteArrayView(bytes).sliced(lineStart, cr - lineStart));
            // The line end as it stands: a lone CR in place of CR LF would join an LF
            // that starts the next line to it.
            text += QLatin1StringView(bytes.constData() + cr, next - cr);
            runStart = next;
        }
        lineStart = next;
    }
    appendDecoded(text, QByteArrayView(bytes).sliced(runStart));
    return text;
}

}  // namespace

QStringView KeyRows::text(qsizetype row) const
{
    const Span &s = m_spans.at(row);
    return QStringView(m_text).sliced(s.start, s.lengthAndBold >> 1);
}

void KeyRows::addSpan(qsizetype start, qsizetype length, bool bold)
{
    m_spans.append({start, (length << 1) | (bold ? 1 : 0)});
}

void KeyRows::append(QStringView text, bool bold)
{
    const qsizetype start = m_text.size();
    m_text.append(text);
    addSpan(start, text.size(), bold);
}

void KeyRows::appendLines(QStringView decoded)
{
    const qsizetype base = m_text.size();
    m_text.append(decoded);  // terminators stay in the buffer, outside the spans
    addLineSpans(base);
}

void KeyRows::addLineSpans(qsizetype from)
{
    const QStringView text(m_text);
    qsizetype pos = from;
    while (pos < text.size()) {
        const qsizetype cr = text.indexOf(u'\r', pos);
        const qsizetype end = cr < 0 ? text.size() : cr;
        const QStringView line = text.sliced(pos, end - pos);
        addSpan(pos, line.size(), isHeading(line));
        if (cr < 0)
            break;
        pos = cr + 1;
        if (pos < text.size() && text[pos] == u'\n')
            ++pos;
    }
}

void KeyRows::squeeze()
{
    // The text shrinks in place. The spans stay: squeezing a list copies it, and their
    // unused reserve was never written, so it takes no memory.
    m_text.squeeze();
}

void KeyRows::clear()
{
    // Gives the memory back: a cleared list keeps its capacity.
    m_text = QString();
    m_spans = QList<Span>();
}

QStringList KeyRows::boldTexts() const
{
    QStringList texts;
    for (qsizetype row = 0; row < m_spans.size(); ++row)
        if (isBold(row))
            texts.append(text(row).toString());
    return texts;
}

qsizetype KeyRows::indexOf(QStringView wanted) const
{
    for (qsizetype row = 0; row < m_spans.size(); ++row)
        if (text(row) == wanted)
            return row;
    return -1;
}

KeyList loadKeyList(const QString &path, qsizetype blockBytes, ReadChunks chunks)
{
    KeyList list;
    DataFileReader reader(path, DataFileReader::MaxLineBytes, chunks);
    list.name = reader.ReadLine();
    reader.ReadLine();  // description
    reader.ReadLine();  // update address
    if (reader.atEnd())
        return list;
    // A character takes at least one byte, so the file size bounds the text. Reserved
    // pages that are never written take no memory; the rest is given back at the end.
    const qsizetype fileSize = reader.size();
    list.keys.reserveText(fileSize);
    bool first = true;
    for (;;) {
        QByteArray bytes = reader.readLineBytes(blockBytes);
        if (bytes.isEmpty())
            break;
        if (first) {
            // Lines are much alike: the first block tells how many rows to expect.
            const qsizetype lines = bytes.count('\r') + 1;
            list.keys.reserveRows(qsizetype(double(fileSize) / bytes.size() * lines * 1.1));
            first = false;
        }
        list.keys.appendLines(QStringView(decodeKeyLines(std::move(bytes))));
    }
    list.keys.squeeze();
    return list;
}
