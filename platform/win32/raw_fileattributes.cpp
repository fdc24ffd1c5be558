#include "raw_fileattributes.h"

#include <windows.h>

namespace platform::win32 {

Attributes queryAttributes(const std::wstring &path) noexcept
{
    Attributes result;
    // An empty path, or one cut short by an embedded NUL, names nothing.
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return result;
    // No "insert a disk" box for a removable drive without media.
    DWORD oldMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    const DWORD bits = GetFileAttributesW(path.c_str());
    if (modeSet)
        SetThreadErrorMode(oldMode, nullptr);
    if (bits == INVALID_FILE_ATTRIBUTES)
        return result;
    result.exists = true;
    result.bits = bits;
    return result;
}

}  // namespace platform::win32
