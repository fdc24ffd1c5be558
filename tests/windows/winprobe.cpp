// winprobe: looks at and drives the programs' windows from the Windows side, for the
// tests that run the shipped programs under Wine. Plain Win32, no Qt.
// WINDOW is "exe:NAME.exe" (the unowned visible top-level window of that program; the
// viewer's caption is empty), "owned:NAME.exe" (an owned one, such as its splash), "=TITLE" (exactly that title) or a title's beginning.
//   winprobe wait WINDOW MS         waits for the window; prints "found MS" or fails
//   winprobe gone WINDOW MS         waits until no such window is left
//   winprobe click WINDOW X Y [2]    clicks (twice: double-click) at client pixel X,Y
//   winprobe key WINDOW VK [MOD]     activates the window and presses the virtual key VK
//                                   (decimal), with MOD (decimal virtual key) held
//   winprobe clipboard              prints the clipboard's text, UTF-8
//   winprobe titles                 prints the titles of the visible top-level windows
//   winprobe rect WINDOW            prints the client area on the screen: X Y WIDTH HEIGHT
//   winprobe place WINDOW X Y W H   moves and resizes the window (screen pixels)
//   winprobe close WINDOW           asks the window to close
// Exit status 0 on success, 1 on failure, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// Our own output goes to the Unix pipe under Wine byte for byte.
void print(const std::string &line)
{
    DWORD written = 0;
    const std::string text = line + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring titleOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(window, title.data(), length + 1)));
    return title;
}

std::vector<HWND> visibleTopLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring programOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok)
        return {};
    const std::wstring full(path, size);
    const size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

bool matches(HWND window, const std::wstring &target)
{
    if (target.rfind(L"exe:", 0) == 0)
        return !GetWindow(window, GW_OWNER) && _wcsicmp(programOf(window).c_str(), target.c_str() + 4) == 0;
    if (target.rfind(L"owned:", 0) == 0)
        return GetWindow(window, GW_OWNER) && _wcsicmp(programOf(window).c_str(), target.c_str() + 6) == 0;
    if (target.rfind(L"=", 0) == 0)
        return titleOf(window) == target.substr(1);
    return titleOf(window).rfind(target, 0) == 0;
}

HWND findWindow(const std::wstring &target)
{
    for (HWND window : visibleTopLevelWindows())
        if (matches(window, target))
            return window;
    return nullptr;
}

HWND waitForWindow(const std::wstring &titleStart, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        if (HWND window = findWindow(titleStart))
            return window;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

void bringForward(HWND window)
{
    SetForegroundWindow(window);
    for (int i = 0; i < 40 && GetForegroundWindow() != window; ++i)
        Sleep(25);
}

INPUT mouseInput(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

INPUT keyInput(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool click(HWND window, int x, int y, int times)
{
    bringForward(window);
    POINT point{x, y};
    ClientToScreen(window, &point);
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const LONG ax = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG ay = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    std::vector<INPUT> inputs{mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay)};
    SendInput(1, inputs.data(), sizeof(INPUT));
    Sleep(100);
    for (int i = 0; i < times; ++i) {
        INPUT press[2] = {mouseInput(MOUSEEVENTF_LEFTDOWN), mouseInput(MOUSEEVENTF_LEFTUP)};
        if (SendInput(2, press, sizeof(INPUT)) != 2)
            return false;
        Sleep(30);
    }
    return true;
}

bool pressKey(HWND window, WORD virtualKey, WORD modifier)
{
    bringForward(window);
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(virtualKey, false));
    inputs.push_back(keyInput(virtualKey, true));
    if (modifier)
        inputs.push_back(keyInput(modifier, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool printClipboard()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(nullptr)) {
            std::wstring text;
            bool found = false;
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto *chars = static_cast<const wchar_t *>(GlobalLock(data))) {
                    text = chars;
                    found = true;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
            if (found)
                print(toUtf8(text));
            return found;
        }
        Sleep(50);
    }
    return false;
}

int usage()
{
    print("usage: winprobe wait|click|key|clipboard|titles|close ...");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2)
        return usage();
    const std::wstring command = argv[1];
    if (command == L"clipboard")
        return printClipboard() ? 0 : 1;
    if (command == L"titles") {
        for (HWND window : visibleTopLevelWindows())
            print(toUtf8(titleOf(window)));
        return 0;
    }
    if (argc < 3)
        return usage();
    const std::wstring title = argv[2];
    if (command == L"wait") {
        const DWORD timeout = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30000;
        const ULONGLONG start = GetTickCount64();
        if (!waitForWindow(title, timeout))
            return 1;
        print("found " + std::to_string(GetTickCount64() - start));
        return 0;
    }
    if (command == L"gone") {
        const ULONGLONG end = GetTickCount64() + (argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30000);
        while (findWindow(title)) {
            if (GetTickCount64() >= end)
                return 1;
            Sleep(50);
        }
        return 0;
    }
    HWND window = waitForWindow(title, 10000);
    if (!window) {
        print("no window " + toUtf8(title));
        return 1;
    }
    if (command == L"click" && argc >= 5)
        return click(window, _wtoi(argv[3]), _wtoi(argv[4]), argc > 5 ? _wtoi(argv[5]) : 1) ? 0 : 1;
    if (command == L"key" && argc >= 4)
        return pressKey(window, static_cast<WORD>(_wtoi(argv[3])), static_cast<WORD>(argc > 4 ? _wtoi(argv[4]) : 0))
                   ? 0
                   : 1;
    if (command == L"rect") {
        RECT client{};
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        print(std::to_string(origin.x) + " " + std::to_string(origin.y) + " " + std::to_string(client.right) + " " +
              std::to_string(client.bottom));
        return 0;
    }
    if (command == L"place" && argc >= 7)
        return SetWindowPos(window, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                            SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    if (command == L"close")
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    return usage();
}
