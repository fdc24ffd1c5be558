#pragma once
// The attribute query behind FileExists, as plain Win32 (no Qt types).
#include <string>

namespace platform::win32 {

struct Attributes {
    bool exists = false;
    unsigned long bits = 0;  // FILE_ATTRIBUTE_*, valid only when exists
};

// GetFileAttributesW with every failure meaning "does not exist"; never throws and
// never shows a system error box (a path on an empty drive).
Attributes queryAttributes(const std::wstring &path) noexcept;

}  // namespace platform::win32
