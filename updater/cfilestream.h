#pragma once
// Reads or writes one file as a whole, as bytes or as CP932 text, and reports
// failure through Error instead of raising.

#include <QByteArray>
#include <QFile>
#include <QString>

class CFileStream {
public:
    CFileStream() = default;
    ~CFileStream();
    CFileStream(const CFileStream &) = delete;
    CFileStream &operator=(const CFileStream &) = delete;

    QString Path;

    bool Error() const { return m_error; }

    // The file's bytes, exactly as many as it holds.
    QByteArray Binary();
    // The file's first bytes, at most count of them; only those are read.
    QByteArray Leading(qint64 count);
    // Writes the bytes from the file's start; a longer old file is cut to them.
    void setBinary(const QByteArray &bytes);

    // The file's bytes converted from CP932.
    QString Ascii();
    // Creates or empties the file and writes the text in CP932, with no line break added.
    void setAscii(const QString &text);

    bool holdsOpenFile() const { return m_file.isOpen(); }

private:
    enum Kind { Bytes = 0, Text = 1 };
    enum Direction { Read = 0, Write = 1 };
    void OpenFile(Kind kind, Direction direction);
    QByteArray ReadBytes();
    void CloseFile();

    QFile m_file;
    bool m_error = false;
};
