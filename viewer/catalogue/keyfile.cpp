#include "keyfile.h"

#include "datafile.h"
#include "cp932.h"

#include <QStringList>

#include <bit>
#include <cstring>

QStringView KeyRows::text(qsizetype row) const
{
    const qsizetype start = m_ends.startOf(row);
    return QStringView(m_text).sliced(start, m_ends.at(row) - start);
}

inline void KeyRows::endRow(qsizetype end, bool bold)
{
    const qsizetype row = m_ends.count();
    m_ends.append(end);
    if (row % 64 == 0)
        m_bold.append(0);
    if (bold)
        m_bold.last() |= quint64(1) << (row % 64);
}

void KeyRows::append(QStringView text, bool bold)
{
    m_text.append(text);
    endRow(m_text.size(), bold);
}

void KeyRows::appendLines(QStringView decoded)
{
    qsizetype pos = 0;
    while (pos < decoded.size()) {
        const qsizetype cr = decoded.indexOf(u'\r', pos);
        const QStringView line = decoded.sliced(pos, (cr < 0 ? decoded.size() : cr) - pos);
        append(line, isHeading(line));
        if (cr < 0)
            break;
        pos = cr + 1;
        if (pos < decoded.size() && decoded[pos] == u'\n')
            ++pos;
    }
}

void KeyRows::appendLineBytes(QByteArrayView bytes)
{
    // Room for one character a byte, the most there can be; the rest is cut off below.
    qsizetype size = m_text.size();
    m_text.resize(size + bytes.size());
    char16_t *const text = reinterpret_cast<char16_t *>(m_text.data());
    const char *in = bytes.data();
    const char *const end = in + bytes.size();
    while (in < end) {
        // CR is never the second byte of a character, so each line decodes alone.
        const auto *cr = static_cast<const char *>(std::memchr(in, '\r', end - in));
        const char *const lineEnd = cr ? cr : end;
        const qsizetype start = size;
        size += common::cp932::decodeInto(QByteArrayView(in, lineEnd - in), text + size);
        endRow(size, isHeading(QStringView(text + start, size - start)));
        if (!cr)
            break;
        in = cr + 1;
        if (in < end && *in == '\n')
            ++in;
    }
    m_text.resize(size);
}

void KeyRows::reserveRows(qsizetype rows)
{
    m_ends.reserve(rows);
    m_bold.reserve(rows / 64 + 1);
}

void KeyRows::squeeze()
{
    // The text shrinks in place. The row ends and bits stay: their reserve was never
    // written, so it takes no memory, and squeezing them would copy them.
    m_text.squeeze();
}

void KeyRows::clear()
{
    // Gives the memory back: a cleared list keeps its capacity.
    m_text = QString();
    m_ends = {};
    m_bold = {};
}

QStringList KeyRows::boldTexts() const
{
    QStringList texts;
    for (qsizetype word = 0; word < m_bold.size(); ++word)
        for (quint64 bits = m_bold.at(word); bits; bits &= bits - 1)
            texts.append(text(word * 64 + std::countr_zero(bits)).toString());
    return texts;
}

qsizetype KeyRows::indexOf(QStringView wanted) const
{
    const QStringView all(m_text);
    qsizetype start = 0;
    for (qsizetype row = 0; row < m_ends.count(); ++row) {
        const qsizetype end = m_ends.at(row);
        if (end - start == wanted.size() && all.sliced(start, end - start) == wanted)
            return row;
        start = end;
    }
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
        list.keys.appendLineBytes(bytes);
    }
    list.keys.squeeze();
    return list;
}
