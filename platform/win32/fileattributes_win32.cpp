// FileExists on Windows: the attribute query as the system reports it.
#include "../fileattributes.h"
#include "raw_fileattributes.h"

namespace platform {

FileAttributes FileExists(const QString &path)
{
    const win32::Attributes found = win32::queryAttributes(path.toStdWString());
    FileAttributes result;
    result.exists = found.exists;
    result.attributes = found.exists ? static_cast<quint32>(found.bits) : 0;
    return result;
}

}  // namespace platform
