#pragma once
// Reading data files and list.txt: CP932 text, a line ends at CR LF or a lone CR,
// a lone LF stays inside the line, nothing is trimmed, past the end reads as "".
#include "files.h"

#include <QDateTime>
#include <QString>

#include <optional>

// How many bytes the reader asks the file for at a time. The first read is small: a
// catalogue reads only three short lines of each file. Tests and fuzzers pass tiny
// sizes to put chunk boundaries inside every line and line end.
struct ReadChunks {
    qsizetype first = 4 * 1024;
    qsizetype next = 64 * 1024;
};

class DataFileReader {
public:
    // Longest line kept, in bytes. A longer line keeps its first MaxLineBytes
    // bytes; the rest of it, up to its line end, is read and dropped, so the line
    // after it starts where it should. Memory stays bounded for any file, at the
    // price of reading a huge line to its end.
    static constexpr qsizetype MaxLineBytes = qsizetype(1) << 20;

    // Opens the path for text input. Only ordinary files are opened, so a FIFO or
    // a device never blocks the reader; anything else reads as an empty file.
    explicit DataFileReader(const QString &path, qsizetype maxLineBytes = MaxLineBytes, ReadChunks chunks = {});

    bool isOpen() const { return m_file.isOpen(); }
    // Size in bytes of the open file when it was opened; 0 when it is not open.
    qint64 size() const { return m_size; }
    // True once every line the file holds now is read: another program may be writing
    // it (list.txt), and what it added since the open is read too.
    bool atEnd();
    // The next line, or "" at the end of the file.
    QString ReadLine();
    // Last-modified time (local) of the open file; invalid when it is not open.
    QDateTime lastModified() const;
    // Raw bytes of whole lines, for readers that decode many lines in one go: at least
    // minBytes while the file has them, ending right after a line terminator (CR LF
    // kept together) or at the end of the file. Empty at the end.
    QByteArray readLineBytes(qsizetype minBytes);

private:
    bool fill();

    platform::OrdinaryFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_maxLineBytes;
    ReadChunks m_chunks;
    qint64 m_size = 0;      // file size when it was opened
    qint64 m_consumed = 0;  // bytes read into the buffer so far
    int m_reads = 0;
    bool m_eof = true;
};

// A key whose first two characters are "#[" is a heading. Inline: the key loader
// asks it of every line.
inline bool isHeading(QStringView key) { return key.size() >= 2 && key[0] == u'#' && key[1] == u'['; }

// Lines 1 to 3 of a data file and its last-modified time.
struct ListRecord {
    QString name;
    QString description;
    QString address;
    QDateTime lastModified;  // local time; invalid when unknown
};

// Empty when the path is not an ordinary file that can be opened for reading
// (a device, a FIFO, a file without read permission): there is nothing to list.
std::optional<ListRecord> readListRecord(const QString &path);

// "yyyy/MM/dd H:mm:ss" (2000/11/05 9:05:31), only the date when the time shows as
// midnight. The same text on every system, whatever its locale.
QString lastUpdateText(const QDateTime &lastModified);
