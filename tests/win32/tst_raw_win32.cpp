// The plain Win32 half of the win32 backend, on a real (or emulated) Windows:
// attribute query, program start without a shell, clipboard, shell open, metrics,
// sleep and key events. Prints "N passed, M failed"; exit code 1 on any failure.
// Run with "--touch FILE" it is its own child program: it writes its command line
// into FILE and exits.
#include "../../platform/win32/raw_fileattributes.h"
#include "../../platform/win32/raw_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char *what, int line)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL line %d: %s\n", line, what);
    }
}
#define CHECK(expr) check((expr), #expr, __LINE__)

std::wstring modulePath()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), n);
}

std::wstring makeTempFolder()
{
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"tuvel_raw_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                          std::to_wstring(GetTickCount());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool writeFile(const std::wstring &path, const void *data, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

std::wstring readWideFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::vector<wchar_t> buffer(8192);
    DWORD read = 0;
    ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    return std::wstring(buffer.data(), read / sizeof(wchar_t));
}

// Child mode: the command line exactly as this process received it.
int touch(const std::wstring &marker)
{
    const std::wstring line = GetCommandLineW();
    const std::wstring partial = marker + L".part";
    writeFile(partial, line.c_str(), static_cast<DWORD>(line.size() * sizeof(wchar_t)));
    MoveFileW(partial.c_str(), marker.c_str());
    return 0;
}

void testAttributes(const std::wstring &folder)
{
    const std::wstring file = folder + L"\\data.txt";
    CHECK(writeFile(file, "a\r\n", 3));

    const platform::win32::Attributes ofFile = platform::win32::queryAttributes(file);
    CHECK(ofFile.exists);
    CHECK(!(ofFile.bits & FILE_ATTRIBUTE_DIRECTORY));

    const platform::win32::Attributes ofFolder = platform::win32::queryAttributes(folder);
    CHECK(ofFolder.exists);
    CHECK((ofFolder.bits & 16) != 0);

    CHECK(!platform::win32::queryAttributes(folder + L"\\missing.txt").exists);
    CHECK(!platform::win32::queryAttributes(folder + L"\\missing\\data.txt").exists);
    CHECK(!platform::win32::queryAttributes(L"").exists);
    CHECK(!platform::win32::queryAttributes(file + std::wstring(1, L'\0') + L"x").exists);

    CHECK(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const platform::win32::Attributes locked = platform::win32::queryAttributes(file);
    CHECK(locked.exists);
    CHECK((locked.bits & FILE_ATTRIBUTE_READONLY) != 0);
    CHECK((locked.bits & FILE_ATTRIBUTE_HIDDEN) != 0);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

void testProgramOf()
{
    struct Case {
        const wchar_t *line;
        const wchar_t *program;
    };
    const Case cases[] = {
        {L"kox.exe \"C:\\prog\\tuveldbox\\a.txt\" http://127.0.0.1/a.txt", L"kox.exe"},
        {L"kox.exe", L"kox.exe"},
        {L"kox.exe\t\"x\"", L"kox.exe"},
        {L"\"my tools\\kox.exe\" \"a b.txt\" u", L"my tools\\kox.exe"},
        {L"\"unclosed kox.exe", L"unclosed kox.exe"},
        {L" kox.exe", L""},
        {L"", L""},
    };
    for (const Case &c : cases)
        CHECK(platform::win32::programOf(c.line) == c.program);
}

void testProgramInFolder(const std::wstring &folder)
{
    const std::wstring probe = folder + L"\\probe.exe";
    CHECK(CopyFileW(modulePath().c_str(), probe.c_str(), FALSE));
    CreateDirectoryW((folder + L"\\sub.exe").c_str(), nullptr);

    CHECK(platform::win32::programInFolder(L"probe.exe", folder) == probe);
    CHECK(platform::win32::programInFolder(L"probe.exe", folder + L"\\") == probe);
    CHECK(platform::win32::programInFolder(L"absent.exe", folder).empty());
    CHECK(platform::win32::programInFolder(L"sub.exe", folder).empty());
    CHECK(platform::win32::programInFolder(L"probe.exe", L"").empty());
    CHECK(platform::win32::programInFolder(L"", folder).empty());
}

// probe.exe sits only in the program folder, not in the current folder nor on the
// search path: it starts only if that folder is searched first.
void testStartCommandLine(const std::wstring &folder)
{
    const std::wstring elsewhere = folder + L"\\elsewhere";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    wchar_t oldDir[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, oldDir);
    SetCurrentDirectoryW(elsewhere.c_str());

    const std::wstring marker = folder + L"\\marker 1.txt";
    const std::wstring line = L"probe.exe --touch \"" + marker + L"\" http://127.0.0.1/a.txt";
    CHECK(platform::win32::startCommandLine(line, folder));
    std::wstring received;
    for (int i = 0; i < 200 && received.empty(); ++i) {
        Sleep(50);
        received = readWideFile(marker);
    }
    // The child sees the command line as given: nothing quoted or added.
    CHECK(received == line);

    CHECK(!platform::win32::startCommandLine(L"absent_program_xyz.exe a b", folder));
    CHECK(!platform::win32::startCommandLine(L"", folder));
    SetCurrentDirectoryW(oldDir);
}

std::wstring clipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<not open>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *chars = static_cast<const wchar_t *>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void testClipboard()
{
    const std::wstring key = L"\u30AD\u30FC +{}%~\r\n\u884C2";
    CHECK(platform::win32::setClipboardText(key));
    CHECK(clipboardText() == key);
    CHECK(platform::win32::setClipboardText(L"second"));
    CHECK(clipboardText() == L"second");
    CHECK(platform::win32::setClipboardText(L""));
    CHECK(clipboardText().empty());
}

void testShellOpen(const std::wstring &folder)
{
    CHECK(!platform::win32::shellOpen(folder + L"\\no such file.txt", platform::win32::ShowMinimized));
    CHECK(!platform::win32::shellOpen(L"", platform::win32::ShowMinimized));
}

void testMetrics()
{
    const int width = platform::win32::desktopWidthTwips();
    const int height = platform::win32::desktopHeightTwips();
    CHECK(width > 0 && width % 15 == 0);
    CHECK(height > 0 && height % 15 == 0);
    // One menu bar more than the full-screen client height.
    CHECK(height > GetSystemMetrics(SM_CYFULLSCREEN) * 15);
}

void testSleep()
{
    ULONGLONG start = GetTickCount64();
    platform::win32::sleepMilliseconds(100);
    CHECK(GetTickCount64() - start >= 80);
    start = GetTickCount64();
    platform::win32::sleepMilliseconds(-5);
    platform::win32::sleepMilliseconds(0);
    CHECK(GetTickCount64() - start < 80);
}

std::vector<UINT> keysSeen;

LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
        keysSeen.push_back(static_cast<UINT>(wParam) | (message == WM_KEYUP || message == WM_SYSKEYUP ? 0x10000u : 0u));
    return DefWindowProcW(window, message, wParam, lParam);
}

void pumpFor(int milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// Input reaches the key state through the system's input thread: a look right after
// keybd_event may still see the state before it.
unsigned heldAfterSettling(unsigned expected)
{
    for (int i = 0; i < 100 && platform::win32::heldModifiers() != expected; ++i)
        pumpFor(10);
    return platform::win32::heldModifiers();
}

// Each modifier pressed shows as held, alone, and is gone once released.
void checkHeldModifiers()
{
    CHECK(heldAfterSettling(0) == 0);
    struct Case {
        unsigned char virtualKey;
        unsigned held;
    };
    // clang-format off
    const Case cases[] = {
        {VK_CONTROL, platform::win32::HeldCtrl}, {VK_RCONTROL, platform::win32::HeldCtrl}, {VK_SHIFT, platform::win32::HeldShift},
        {VK_MENU, platform::win32::HeldAlt}, {VK_LWIN, platform::win32::HeldWindows},
    };
    // clang-format on
    for (const Case &c : cases) {
        platform::win32::keybdEvent(c.virtualKey, 0, 0, 0);
        const unsigned down = heldAfterSettling(c.held);
        platform::win32::keybdEvent(c.virtualKey, 0, KEYEVENTF_KEYUP, 0);
        const unsigned up = heldAfterSettling(0);
        if (down != c.held || up != 0)
            std::printf("virtual key 0x%02X: held %u while down, %u after\n", c.virtualKey, down, up);
        CHECK(down == c.held);
        CHECK(up == 0);
    }
}

// A key pressed and released with keybd_event reaches the focused window.
void testKeyEvents()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = recordKeys;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TuvelRawKeyProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    CHECK(window != nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    pumpFor(300);
    keysSeen.clear();
    const unsigned char vkF = 'F';
    platform::win32::keybdEvent(vkF, 0, 0, 0);
    platform::win32::keybdEvent(vkF, 0, KEYEVENTF_KEYUP, 0);
    pumpFor(300);
    const std::vector<UINT> expected = {vkF, vkF | 0x10000u};
    CHECK(keysSeen == expected);
    checkHeldModifiers();
    DestroyWindow(window);
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 3 && std::wstring(argv[1]) == L"--touch")
        return touch(argv[2]);

    const std::wstring folder = makeTempFolder();
    testAttributes(folder);
    testProgramOf();
    testProgramInFolder(folder);
    testStartCommandLine(folder);
    testClipboard();
    testShellOpen(folder);
    testMetrics();
    testSleep();
    testKeyEvents();

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
