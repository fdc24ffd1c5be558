#include "raw_receiver.h"

#include <windows.h>

namespace platform::win32 {

void *receivingWindow() noexcept
{
    const HWND foreground = GetForegroundWindow();
    const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    if (!thread || thread == GetCurrentThreadId())
        return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const HWND focus = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : foreground;
    return GetWindowThreadProcessId(focus, nullptr) == GetCurrentThreadId() ? nullptr : focus;
}

namespace {

// A sent message is taken before the input queued for the thread; two round trips
// prove only that its loop came round twice.
void pingTwice(HWND window, unsigned timeoutMs)
{
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &ignored))
            return;
    }
}

}  // namespace

bool waitUntilInputRead(void *receiver, unsigned timeoutMs) noexcept
{
    const HWND window = static_cast<HWND>(receiver);
    if (!window || !IsWindow(window))
        return false;
    // A thread is given WM_PAINT only when no sent, posted or input message waits for
    // it: once a pixel made invalid now is painted again, the keys queued before have
    // been read (and the characters they made handled). A window that cannot be
    // painted, or whose pixel was painted before it could be seen invalid, says nothing.
    RECT client{};
    const RECT pixel{0, 0, 1, 1};
    if (!IsWindowVisible(window) || IsIconic(window) || !GetClientRect(window, &client) || IsRectEmpty(&client) ||
        !InvalidateRect(window, &pixel, FALSE) || !GetUpdateRect(window, nullptr, FALSE)) {
        pingTwice(window, timeoutMs);
        return false;
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetUpdateRect(window, nullptr, FALSE)) {
        if (GetTickCount64() >= deadline || IsHungAppWindow(window))
            return false;
        Sleep(1);
    }
    return IsWindow(window);
}

}  // namespace platform::win32
