// A plain Win32 window with one multi-line edit control that takes whatever is typed:
// tab characters and line breaks included. The typer tests type into it and read the
// control's text back from their own process. No Qt.
#include <windows.h>

namespace {

constexpr wchar_t WindowClass[] = L"TuvelTypingSink";
HWND edit = nullptr;

LRESULT CALLBACK sinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (edit)
            MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (edit)
            SetFocus(edit);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = sinkProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, WindowClass, L"tuvel typing sink", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300,
                                  nullptr, nullptr, instance, nullptr);
    // ES_WANTRETURN: Enter is a line break, not the dialog's default button.
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0,
                           500, 300, window, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(edit);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
