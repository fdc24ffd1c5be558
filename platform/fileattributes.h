#pragma once
#include <QString>

namespace platform {

// Attribute bits as the Windows attribute query reports them.
enum FileAttribute : quint32 {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
};

struct FileAttributes {
    bool exists = false;
    quint32 attributes = 0;  // valid only when exists
    bool isDirectory() const { return exists && (attributes & AttrDirectory); }
};

// Queries the attributes of a path. Files and folders both exist; an empty path or
// any failure of the query means "does not exist". Never throws.
FileAttributes FileExists(const QString &path);

}  // namespace platform
