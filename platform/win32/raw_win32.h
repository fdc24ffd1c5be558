#pragma once
// The user32, shell32 and kernel32 calls of the win32 backend, as plain Win32 (no Qt
// types). The Qt adaptors in services_win32.cpp convert QString to std::wstring.
#include <cstdint>
#include <string>

namespace platform::win32 {

void keybdEvent(unsigned char virtualKey, unsigned char scanCode, unsigned long flags,
                std::uintptr_t extraInfo) noexcept;
void sleepMilliseconds(int milliseconds) noexcept;

// Modifier keys down at this moment, from the system's asynchronous key state (which
// follows the keyboard, not this thread's messages). Bits as KeyEvents::Held*.
constexpr unsigned HeldShift = 1, HeldCtrl = 2, HeldAlt = 4, HeldWindows = 8;
unsigned heldModifiers() noexcept;

// Puts the text on the clipboard as CF_UNICODETEXT. False when the clipboard is held
// by another program or memory runs out; no retry.
bool setClipboardText(const std::wstring &text) noexcept;

// ShellExecuteW "open" with the given show-window value; false when the shell refuses.
constexpr int ShowMinimized = 2;  // SW_SHOWMINIMIZED: minimised, with focus
bool shellOpen(const std::wstring &pathOrUrl, int showCommand) noexcept;

// The program named by a command line: its first token, quoted or up to the first
// blank or tab. Empty when the line starts with neither.
std::wstring programOf(const std::wstring &commandLine);
// programDir + "\" + program when that is an existing file, else empty.
std::wstring programInFolder(const std::wstring &program, const std::wstring &programDir);
// CreateProcessW with the command line as it stands (no shell, no re-quoting); the
// program is taken from programDir when it is there, else the system's search applies.
// Does not wait; the process and thread handles are closed at once.
bool startCommandLine(const std::wstring &commandLine, const std::wstring &programDir) noexcept;

// Desktop size in twips from the system metrics, 15 twips per pixel:
// width = (SM_CXFULLSCREEN + SM_CYKANJIWINDOW) x 15, height = (SM_CYMENU + SM_CYFULLSCREEN) x 15.
int desktopWidthTwips() noexcept;
int desktopHeightTwips() noexcept;

}  // namespace platform::win32
