// Listing and opening on Windows: names are UTF-16 there, so Qt's own calls reach
// every file.
#include "../files.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace platform {

QStringList folderFileNames(const QString &folder)
{
    QStringList names;
    QDirIterator entries(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (entries.hasNext())
        names.append(entries.nextFileInfo().fileName());
    return names;
}

struct OrdinaryFile::Handle {
    QFile file;
};

OrdinaryFile::OrdinaryFile() = default;
OrdinaryFile::~OrdinaryFile() = default;

bool OrdinaryFile::open(const QString &path)
{
    m_handle.reset();
    if (!QFileInfo(path).isFile())
        return false;
    auto handle = std::make_unique<Handle>();
    handle->file.setFileName(path);
    if (!handle->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    // The path could have been replaced by something else since the check above.
    if (handle->file.isSequential())
        return false;
    m_size = handle->file.size();
    m_modified = handle->file.fileTime(QFileDevice::FileModificationTime).toUTC();
    m_handle = std::move(handle);
    return true;
}

qint64 OrdinaryFile::read(char *data, qint64 maxBytes) { return m_handle ? m_handle->file.read(data, maxBytes) : -1; }

}  // namespace platform
