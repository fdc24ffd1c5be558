#include "datafile.h"

#include "cp932.h"
#include "files.h"

#include <cstdio>

DataFileReader::DataFileReader(const QString &path, qsizetype maxLineBytes, ReadChunks chunks)
    : m_maxLineBytes(maxLineBytes), m_chunks(chunks)
{
    // Opening a FIFO blocks until a writer comes and a device may never end, so
    // only ordinary files are opened.
    if (!m_file.open(path))
        return;
    m_size = m_file.size();
    m_eof = false;
}

// Replaces the buffer with the next chunk; called only once it is all consumed.
bool DataFileReader::fill()
{
    if (m_eof)
        return false;
    qsizetype want = m_reads++ == 0 ? m_chunks.first : m_chunks.next;
    // No more than the file held at opening, while it has more: a list's head is
    // then one read, not a second one that finds the end. Past that size, reads go on
    // in whole chunks, so a file that grew is still read to its end.
    if (const qint64 left = m_size - m_consumed; left > 0)
        want = qsizetype(qMin<qint64>(want, left));
    m_buffer.resize(want);
    const qint64 got = m_file.read(m_buffer.data(), want);
    m_pos = 0;
    if (got <= 0) {
        m_buffer.clear();
        m_eof = true;
        return false;
    }
    m_buffer.resize(got);
    m_consumed += got;
    return true;
}

bool DataFileReader::atEnd()
{
    // The file is asked only once the buffer is used up: no system call per line.
    return m_pos >= m_buffer.size() && !fill();
}

QString DataFileReader::ReadLine()
{
    if (m_pos >= m_buffer.size() && !fill())
        return {};

    // Common case: the whole line is in the buffer and is decoded in place.
    const qsizetype firstCr = m_buffer.indexOf('\r', m_pos);
    if (firstCr >= 0 && firstCr + 1 < m_buffer.size() && firstCr - m_pos <= m_maxLineBytes) {
        const QString line = common::cp932::decode(QByteArrayView(m_buffer).sliced(m_pos, firstCr - m_pos));
        m_pos = firstCr + (m_buffer.at(firstCr + 1) == '\n' ? 2 : 1);
        return line;
    }

    // The line crosses a chunk boundary, or is too long: gather it piece by piece.
    QByteArray line;
    for (;;) {
        const qsizetype cr = m_buffer.indexOf('\r', m_pos);
        const qsizetype end = cr < 0 ? m_buffer.size() : cr;
        const qsizetype room = m_maxLineBytes - line.size();
        line.append(QByteArrayView(m_buffer).sliced(m_pos, qMin(end - m_pos, room)));
        if (cr < 0) {
            m_pos = m_buffer.size();
            if (!fill())
                break;  // the last line needs no terminator
            continue;
        }
        m_pos = cr + 1;
        // The LF of a CR LF may start the next chunk.
        if (m_pos < m_buffer.size() || fill()) {
            if (m_buffer.at(m_pos) == '\n')
                ++m_pos;
        }
        break;
    }
    return common::cp932::decode(line);
}

QDateTime DataFileReader::lastModified() const
{
    if (!m_file.isOpen())
        return {};
    // Taken when the file was opened, in UTC; the user reads wall-clock time.
    return m_file.modified().toLocalTime();
}

QByteArray DataFileReader::readLineBytes(qsizetype minBytes)
{
    // Take over what is buffered and unread, then read straight into the result.
    QByteArray bytes = m_buffer.sliced(m_pos);
    m_buffer.clear();
    m_pos = 0;
    const auto readMore = [&](qsizetype want) {
        if (m_eof || want <= 0)
            return false;
        const qsizetype old = bytes.size();
        // A long line grows the buffer many times: doubling keeps the copying linear.
        if (old + want > bytes.capacity())
            bytes.reserve(qMax(old + want, 2 * bytes.capacity()));
        bytes.resize(old + want);
        const qint64 got = m_file.read(bytes.data() + old, want);
        if (got <= 0) {
            bytes.resize(old);
            m_eof = true;
            return false;
        }
        bytes.resize(old + got);
        m_consumed += got;
        return true;
    };
    while (bytes.size() < minBytes && readMore(minBytes - bytes.size())) {
    }
    qsizetype searchFrom = qMax<qsizetype>(0, minBytes - 1);
    for (;;) {
        // Once the whole rest is read, all of it goes. Read past the size at opening, the
        // file has grown meanwhile and may end inside a line that is still being written:
        // then it is cut as any other block.
        if (m_eof || m_consumed == m_size)
            return bytes;
        // Otherwise cut after the first line end at or past minBytes (a CR as the last
        // byte may be the first half of CR LF); the rest waits for the next call.
        const qsizetype cr = bytes.indexOf('\r', searchFrom);
        if (cr >= 0 && cr + 1 < bytes.size()) {
            qsizetype cut = cr + 1;
            if (bytes.at(cut) == '\n')
                ++cut;
            m_buffer = bytes.sliced(cut);
            bytes.truncate(cut);
            return bytes;
        }
        // Bytes already searched are not searched again, or a long line would cost
        // the square of its length: go on from that last CR, or from the new bytes.
        searchFrom = cr >= 0 ? cr : bytes.size();
        if (!readMore(m_chunks.next))
            return bytes;
    }
}

std::optional<ListRecord> readListRecord(const QString &path)
{
    DataFileReader reader(path);
    if (!reader.isOpen())
        return std::nullopt;
    ListRecord record;
    record.name = reader.ReadLine();
    record.description = reader.ReadLine();
    record.lastModified = reader.lastModified();
    record.address = reader.ReadLine();
    return record;
}

QString lastUpdateText(const QDateTime &lastModified)
{
    if (!lastModified.isValid())
        return {};
    // Built from numbers rather than with a locale's date format: the same text on
    // every system (and far cheaper than QString::arg, once per list at start-up).
    const QDate date = lastModified.date();
    const QTime time = lastModified.time();
    char text[48];
    int length = std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year(), date.month(), date.day());
    // The text shows whole seconds, so a time that shows as 0:00:00 is midnight.
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        length += std::snprintf(text + length, sizeof text - length, " %d:%02d:%02d", time.hour(), time.minute(),
                                time.second());
    return QString::fromLatin1(text, length);
}
