#include "sinkdriver_win32.h"

#include <windows.h>

namespace win32sink {

namespace {

HWND sinkWindow() { return FindWindowW(L"TuvelTypingSink", nullptr); }

HWND sinkEdit()
{
    HWND window = sinkWindow();
    return window ? FindWindowExW(window, nullptr, L"EDIT", nullptr) : nullptr;
}

}  // namespace

bool waitForSink(unsigned timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!sinkEdit()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(50);
    }
    return true;
}

bool bringSinkForward()
{
    HWND window = sinkWindow();
    if (!window)
        return false;
    SetForegroundWindow(window);
    for (int i = 0; i < 80; ++i) {
        if (GetForegroundWindow() == window)
            return true;
        Sleep(25);
    }
    return false;
}

std::wstring sinkText()
{
    HWND edit = sinkEdit();
    if (!edit)
        return L"<no sink>";
    // WM_GETTEXT is copied across processes by the system.
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(edit, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void clearSinkText()
{
    if (HWND edit = sinkEdit())
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
}

void closeSink()
{
    if (HWND window = sinkWindow())
        PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace win32sink
