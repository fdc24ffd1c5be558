#pragma once
// Reading data files and list.txt: CP932 text, a line ends at CR LF or a lone CR,
// a lone LF stays inside the line, nothing is trimmed, past the end reads as "".
#include <QDateTime>
#include <QFile>
#include <QString>

class DataFileReader {
public:
    // Opens the path for text input. Only ordinary files are opened, so a FIFO or
    // a device never blocks the reader; anything else reads as an empty file.
    explicit DataFileReader(const QString &path);

    bool isOpen() const { return m_file.isOpen(); }
    bool atEnd() const;
    // The next line, or "" at the end of the file.
    QString ReadLine();
    // Raw bytes of whole lines, for readers that decode many lines in one go: at least
    // minBytes while the file has them, ending right after a line terminator (CR LF
    // kept together) or at the end of the file. Empty at the end.
    QByteArray readLineBytes(qsizetype minBytes);

private:
    bool fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = true;
};

// A key whose first two characters are "#[" is a heading.
bool isHeading(QStringView key);

// Lines 1 to 3 of a data file and its last-modified time.
struct ListRecord {
    QString name;
    QString description;
    QString address;
    QDateTime lastModified;  // local time; invalid when unknown
};

ListRecord readListRecord(const QString &path);

// "yyyy/MM/dd H:mm:ss", only the date when the time is exactly midnight.
QString lastUpdateText(const QDateTime &lastModified);
