#include "keyfile.h"

#include "datafile.h"
#include "platform/cp932.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// Bytes handed to the codec at once: large enough to make its per-call cost vanish,
// small enough to keep the raw bytes' share of memory low.
constexpr qsizetype BlockBytes = 1024 * 1024;

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes whole lines a block at a time. Decoding a run of lines at once gives the same
// text as decoding each line alone, because CR is never part of a two-byte character;
// the one exception is a line that ends in a lead byte: alone, the codec sees the lead
// byte at the end of its input, in a block it would see it followed by the CR. Such a
// line is decoded on its own.
void appendBlock(QByteArrayView block, KeyRows &keys)
{
    const qsizetype n = block.size();
    qsizetype runStart = 0;   // first byte not yet decoded
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < n) {
        const uchar b = uchar(block[i]);
        if (b == '\r') {
            ++i;
            if (i < n && block[i] == '\n')
                ++i;
            lineStart = i;
            continue;
        }
        if (!isLeadByte(b) || (i + 1 < n && block[i + 1] != '\r')) {
            i += isLeadByte(b) ? 2 : 1;
            continue;
        }
        // A lead byte ends this line.
        keys.appendLines(cp932::decode(block.sliced(runStart, lineStart - runStart)));
        const QString line = cp932::decode(block.sliced(lineStart, i + 1 - lineStart));
        keys.append(line, isHeading(line));
        i += 1;
        if (i < n && block[i] == '\r') {
            ++i;
            if (i < n && block[i] == '\n')
                ++i;
        }
        runStart = lineStart = i;
    }
    if (runStart < n)
        keys.appendLines(cp932::decode(block.sliced(runStart)));
}

} // namespace

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
    qsizetype pos = 0;
    while (pos < decoded.size()) {
        const qsizetype cr = decoded.indexOf(u'\r', pos);
        const qsizetype end = cr < 0 ? decoded.size() : cr;
        const QStringView line = decoded.sliced(pos, end - pos);
        addSpan(base + pos, line.size(), isHeading(line));
        if (cr < 0)
            break;
        pos = cr + 1;
        if (pos < decoded.size() && decoded[pos] == u'\n')
            ++pos;
    }
}

void KeyRows::squeeze()
{
    m_text.squeeze();
    m_spans.squeeze();
}

void KeyRows::clear()
{
    m_text.clear();
    m_spans.clear();
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

KeyList loadKeyList(const QString &path)
{
    KeyList list;
    DataFileReader reader(path);
    list.name = reader.ReadLine();
    reader.ReadLine();  // description
    reader.ReadLine();  // update address
    if (reader.atEnd())
        return list;
    // A character takes at least one byte, so the file size bounds the text; pages of
    // the reserve that are never written cost no memory.
    list.keys.reserveText(QFileInfo(path).size());
    for (;;) {
        const QByteArray block = reader.readLineBytes(BlockBytes);
        if (block.isEmpty())
            break;
        appendBlock(block, list.keys);
    }
    list.keys.squeeze();
    return list;
}
