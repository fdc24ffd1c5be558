#pragma once
// Raw command line of this process, Win32 only (no Qt types).
#include <string>

namespace platform::win32 {

// The command line as the system holds it, without the program name and the one
// blank that follows it.
std::wstring rawArgumentText();

}  // namespace platform::win32
