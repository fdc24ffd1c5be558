#include "cfilestream.h"

#include "cp932.h"

CFileStream::~CFileStream() { CloseFile(); }

void CFileStream::OpenFile(Kind, Direction direction)
{
    // Bytes and text are both handled as raw bytes here; the text conversion is ours.
    CloseFile();
    if (Path.isEmpty()) {
        m_error = true;
        return;
    }
    m_file.setFileName(Path);
    const QIODevice::OpenMode mode =
        direction == Read ? QIODevice::ReadOnly : QIODevice::WriteOnly | QIODevice::Truncate;
    m_error = !m_file.open(mode);
}

QByteArray CFileStream::ReadBytes()
{
    QByteArray bytes = m_file.readAll();
    if (m_file.error() != QFileDevice::NoError) {
        m_error = true;
        return {};
    }
    return bytes;
}

void CFileStream::CloseFile()
{
    if (m_file.isOpen())
        m_file.close();
}

QByteArray CFileStream::Binary()
{
    OpenFile(Bytes, Read);
    if (m_error)
        return {};
    return ReadBytes();
}

QByteArray CFileStream::Leading(qint64 count)
{
    OpenFile(Bytes, Read);
    if (m_error)
        return {};
    QByteArray bytes = m_file.read(count);
    if (m_file.error() != QFileDevice::NoError) {
        m_error = true;
        return {};
    }
    return bytes;
}

void CFileStream::setBinary(const QByteArray &bytes)
{
    OpenFile(Bytes, Write);
    if (m_error)
        return;
    if (m_file.write(bytes) != bytes.size() || !m_file.flush())
        m_error = true;
}

QString CFileStream::Ascii()
{
    OpenFile(Text, Read);
    if (m_error)
        return {};
    const QByteArray bytes = ReadBytes();
    return m_error ? QString() : common::cp932::decode(bytes);
}

void CFileStream::setAscii(const QString &text)
{
    OpenFile(Text, Write);
    if (m_error)
        return;
    const QByteArray bytes = common::cp932::encode(text);
    if (m_file.write(bytes) != bytes.size() || !m_file.flush())
        m_error = true;
}
