#pragma once
// Listing a folder and opening a file for reading by names that reach every file,
// even one whose name is not valid text (see pathbytes.h).
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {

// The names of the entries of a folder (folders among them: the caller sorts them
// out with FileExists), in the order the file system lists them, never "." or "..".
// Empty when the folder cannot be listed.
QStringList folderFileNames(const QString &folder);

// An ordinary file open for reading, read with one system call per read: the viewer
// opens a thousand of these at start-up. A FIFO, a device, a folder or a missing path
// is not opened (nothing blocks), whatever the bytes of its name.
class OrdinaryFile {
public:
    OrdinaryFile();
    ~OrdinaryFile();
    OrdinaryFile(const OrdinaryFile &) = delete;
    OrdinaryFile &operator=(const OrdinaryFile &) = delete;

    bool open(const QString &path);
    bool isOpen() const { return m_handle != nullptr; }
    // Up to maxBytes; 0 at the end, -1 on an error. A short count is not the end.
    qint64 read(char *data, qint64 maxBytes);
    // As they were when the file was opened.
    qint64 size() const { return m_size; }
    QDateTime modified() const { return m_modified; }  // UTC

private:
    struct Handle;  // each platform's own
    std::unique_ptr<Handle> m_handle;
    qint64 m_size = 0;
    QDateTime m_modified;
};

}  // namespace platform
