#include "raw_win32.h"
#include "raw_fileattributes.h"
#include "../../common/twips.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

namespace platform::win32 {

void keybdEvent(unsigned char virtualKey, unsigned char scanCode, unsigned long flags,
                std::uintptr_t extraInfo) noexcept
{
    keybd_event(virtualKey, scanCode, flags, static_cast<ULONG_PTR>(extraInfo));
}

void sleepMilliseconds(int milliseconds) noexcept
{
    if (milliseconds > 0)
        Sleep(static_cast<DWORD>(milliseconds));
}

unsigned heldModifiers() noexcept
{
    struct Key {
        int virtualKey;
        unsigned bit;
    };
    // The generic VK_SHIFT, VK_CONTROL and VK_MENU cover both keys of each pair.
    // clang-format off
    static const Key keys[] = {
        {VK_SHIFT, HeldShift}, {VK_CONTROL, HeldCtrl}, {VK_MENU, HeldAlt},
        {VK_LWIN, HeldWindows}, {VK_RWIN, HeldWindows},
    };
    // clang-format on
    unsigned held = 0;
    for (const Key &k : keys)
        if (GetAsyncKeyState(k.virtualKey) & 0x8000)
            held |= k.bit;
    return held;
}

namespace {

// A hidden message-only window owns the clipboard while we write: with no owner,
// EmptyClipboard leaves the clipboard ownerless and SetClipboardData may refuse.
class ClipboardOwner {
public:
    ClipboardOwner()
        : window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                 nullptr))
    {}
    ~ClipboardOwner()
    {
        if (window)
            DestroyWindow(window);
    }
    ClipboardOwner(const ClipboardOwner &) = delete;
    ClipboardOwner &operator=(const ClipboardOwner &) = delete;
    HWND window;
};

HGLOBAL copyToGlobal(const std::wstring &text)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return nullptr;
    void *target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

bool setClipboardText(const std::wstring &text) noexcept
{
    HGLOBAL memory = copyToGlobal(text);
    if (!memory)
        return false;
    ClipboardOwner owner;
    if (!OpenClipboard(owner.window)) {
        GlobalFree(memory);
        return false;
    }
    // Setting new data replaces the clipboard's content; emptying makes us its owner.
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok)
        GlobalFree(memory);  // still ours when the clipboard did not take it
    CloseClipboard();
    return ok;
}

bool shellOpen(const std::wstring &pathOrUrl, int showCommand) noexcept
{
    if (pathOrUrl.empty())
        return false;
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", pathOrUrl.c_str(), nullptr, nullptr, showCommand);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::wstring programOf(const std::wstring &commandLine)
{
    if (commandLine.empty())
        return {};
    if (commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        return commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(L" \t"));
}

std::wstring programInFolder(const std::wstring &program, const std::wstring &programDir)
{
    if (program.empty() || programDir.empty())
        return {};
    std::wstring path = programDir;
    if (path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += program;
    const Attributes found = queryAttributes(path);
    if (!found.exists || (found.bits & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return path;
}

bool startCommandLine(const std::wstring &commandLine, const std::wstring &programDir) noexcept
{
    if (commandLine.empty())
        return false;
    const std::wstring application = programInFolder(programOf(commandLine), programDir);
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL ok = CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr,
                                   FALSE, 0, nullptr, nullptr, &startup, &process);
    if (!ok)
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

int desktopWidthTwips() noexcept
{
    return (GetSystemMetrics(SM_CXFULLSCREEN) + GetSystemMetrics(SM_CYKANJIWINDOW)) * common::TwipsPerPixel;
}

int desktopHeightTwips() noexcept
{
    return (GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYFULLSCREEN)) * common::TwipsPerPixel;
}

}  // namespace platform::win32
