#include "datafile.h"

#include "platform/cp932.h"

#include <QFileInfo>

namespace {
constexpr qsizetype ChunkSize = 64 * 1024;
}

DataFileReader::DataFileReader(const QString &path) : m_file(path)
{
    const QFileInfo info(path);
    if (info.isFile() && m_file.open(QIODevice::ReadOnly))
        m_eof = false;
}

bool DataFileReader::fill()
{
    if (m_eof)
        return false;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray chunk = m_file.read(ChunkSize);
    if (chunk.isEmpty()) {
        m_eof = true;
        return false;
    }
    m_buffer.append(chunk);
    return true;
}

bool DataFileReader::atEnd() const
{
    return m_pos >= m_buffer.size() && (m_eof || m_file.atEnd());
}

QString DataFileReader::ReadLine()
{
    if (m_pos >= m_buffer.size() && !fill())
        return {};
    qsizetype scan = m_pos;
    for (;;) {
        const qsizetype cr = m_buffer.indexOf('\r', scan);
        if (cr >= 0) {
            // A CR at the buffer's end may be the first half of CR LF.
            const qsizetype before = m_pos;
            if (cr + 1 >= m_buffer.size() && fill()) {
                scan = cr - before;  // fill() moved the unread data to the front
                continue;
            }
            const QString line = cp932::decode(QByteArrayView(m_buffer).sliced(m_pos, cr - m_pos));
            m_pos = cr + 1;
            if (m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n')
                ++m_pos;
            return line;
        }
        scan = m_buffer.size();
        const qsizetype consumed = m_pos;
        if (!fill()) {
            const QString line = cp932::decode(QByteArrayView(m_buffer).sliced(m_pos));
            m_pos = m_buffer.size();
            return line;
        }
        scan -= consumed;
    }
}

QByteArray DataFileReader::readLineBytes(qsizetype minBytes)
{
    while (m_buffer.size() - m_pos < minBytes && fill()) {
    }
    qsizetype lastCr = -1;  // offset from m_pos, which fill() may move
    qsizetype searchFrom = m_pos;
    for (;;) {
        const qsizetype cr = QByteArrayView(m_buffer).sliced(searchFrom).lastIndexOf('\r');
        if (cr >= 0)
            lastCr = searchFrom + cr - m_pos;
        // A CR as the last buffered byte may be the first half of CR LF.
        if (lastCr >= 0 && m_pos + lastCr + 1 < m_buffer.size())
            break;
        const qsizetype unread = m_buffer.size() - m_pos;
        if (!fill())
            break;
        searchFrom = m_pos + unread;
    }
    qsizetype cut = m_buffer.size();  // once the whole rest is buffered, all of it goes
    if (!m_eof && !m_file.atEnd() && lastCr >= 0 && m_pos + lastCr + 1 < m_buffer.size()) {
        cut = m_pos + lastCr + 1;
        if (m_buffer.at(cut) == '\n')
            ++cut;
    }
    // Hand the buffer over instead of copying it: the caller may ask for the whole file.
    QByteArray bytes = std::move(m_buffer);
    m_buffer = bytes.sliced(cut);
    bytes.truncate(cut);
    bytes.remove(0, m_pos);
    m_pos = 0;
    return bytes;
}

bool isHeading(QStringView key)
{
    return key.startsWith(u"#[");
}

ListRecord readListRecord(const QString &path)
{
    ListRecord record;
    DataFileReader reader(path);
    record.name = reader.ReadLine();
    record.description = reader.ReadLine();
    record.lastModified = QFileInfo(path).lastModified();
    record.address = reader.ReadLine();
    return record;
}

QString lastUpdateText(const QDateTime &lastModified)
{
    if (!lastModified.isValid())
        return {};
    if (lastModified.time() == QTime(0, 0))
        return lastModified.toString(QStringLiteral("yyyy/MM/dd"));
    return lastModified.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}
