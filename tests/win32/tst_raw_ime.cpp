// The IME switch of the win32 backend (raw_ime.cpp), on a real (or emulated) Windows.
// The receiving window lives in a thread of its own, as the real one lives in another
// program: every request crosses threads through SendMessageTimeout. Prints
// "N passed, M failed"; exit code 1 on any failure.
//
// Windows' own IME window answers WM_IME_CONTROL for the focused control's input
// context. Wine's (8.0) forwards it to its X11 IME, which answers 1 ("open") to
// everything and changes nothing. So most cases install, on the receiving thread's
// real IME window, a procedure that answers the way Windows' does (ImmGetOpenStatus /
// ImmSetOpenStatus on the window's context) and can misbehave as a program might;
// the cases on the untouched IME window expect what the system under the test does.
#include "../../platform/win32/raw_ime.h"

#include <windows.h>
#include <imm.h>

#include <cstdio>
#include <optional>

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char *what, const char *name, int line)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL line %d (%s): %s\n", line, name, what);
    }
}
#define CHECK(expr) check((expr), #expr, c.name, __LINE__)

constexpr WPARAM ImcGetOpenStatus = 0x0005;
constexpr WPARAM ImcSetOpenStatus = 0x0006;

bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

enum class ImeWindow {
    WindowsLike,  // answers as Windows' IME window does
    KeepsOpen,    // answers, but its program reopens the IME at once (the close does not take)
    HangsOnSet,   // stops answering for a while at the first change, then carries it out
    Untouched,    // the system's own IME window procedure
};

using Outcome = platform::win32::ImeSuspender::Outcome;

struct Case {
    const char *name;
    ImeWindow imeWindow;
    bool open;                       // the window's IME at the start
    bool detached;                   // the window has no input context (ImmAssociateContext(window, NULL))
    std::optional<Outcome> outcome;  // what suspend() reports; unchecked where the system answers nonsense
    bool openWhileTyping;
    int setsBySuspend;  // open-status changes asked for by suspend(), as the IME window counts them
    int setsByResume;
    bool attachedLateReader = false;  // the focus in a child of another, attached thread's window; keys read late
};

// State of the receiving thread; one case at a time.
struct Receiver {
    const Case *c = nullptr;
    HWND window = nullptr;
    HWND imeWindow = nullptr;
    HIMC context = nullptr;  // the window's own, kept when it is detached
    WNDPROC systemImeProc = nullptr;
    int sets = 0;
    bool hung = false;
    HANDLE ready = nullptr;
    HWND parent = nullptr;
    int chars = 0, charsWhileOpen = 0;
} receiver;

constexpr UINT QueryState = WM_APP + 1;  // answers sets * 2 + open

LRESULT CALLBACK emulatedImeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_IME_CONTROL || (wParam != ImcGetOpenStatus && wParam != ImcSetOpenStatus))
        return CallWindowProcW(receiver.systemImeProc, window, message, wParam, lParam);
    const HIMC context = ImmGetContext(receiver.window);
    LRESULT result = 0;
    if (wParam == ImcGetOpenStatus) {
        result = context ? ImmGetOpenStatus(context) : 0;
    } else {
        ++receiver.sets;
        if (receiver.c->imeWindow == ImeWindow::HangsOnSet && !receiver.hung) {
            receiver.hung = true;
            Sleep(3 * platform::win32::ImeMessageTimeoutMs);
        }
        const bool keepOpen = receiver.c->imeWindow == ImeWindow::KeepsOpen;
        if (context && !keepOpen)
            ImmSetOpenStatus(context, lParam != 0);
    }
    if (context)
        ImmReleaseContext(receiver.window, context);
    return result;
}

LRESULT CALLBACK receiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == QueryState)
        return receiver.sets * 2 + (ImmGetOpenStatus(receiver.context) ? 1 : 0);
    if (message == WM_KEYDOWN && receiver.c->attachedLateReader)
        Sleep(100);
    if (message == WM_CHAR)
        receiver.charsWhileOpen += ++receiver.chars && ImmGetOpenStatus(receiver.context);
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI receiverThread(void *)
{
    const Case &c = *receiver.c;
    receiver.window = CreateWindowExW(0, L"TuvelImeReceiver", L"ime receiver",
                                      (receiver.parent ? WS_CHILD : WS_OVERLAPPEDWINDOW) | WS_VISIBLE, 10, 10, 240, 120,
                                      receiver.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (receiver.parent)
        AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(receiver.parent, nullptr), TRUE);
    else
        SetForegroundWindow(receiver.window);
    SetFocus(receiver.window);
    receiver.context = ImmGetContext(receiver.window);
    ImmSetOpenStatus(receiver.context, c.open);
    if (c.detached)
        ImmAssociateContext(receiver.window, nullptr);
    receiver.imeWindow = ImmGetDefaultIMEWnd(receiver.window);
    if (c.imeWindow != ImeWindow::Untouched && receiver.imeWindow)
        receiver.systemImeProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(receiver.imeWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(emulatedImeProc)));
    SetEvent(receiver.ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (receiver.systemImeProc)
        SetWindowLongPtrW(receiver.imeWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(receiver.systemImeProc));
    if (c.detached)
        ImmAssociateContext(receiver.window, receiver.context);
    ImmReleaseContext(receiver.window, receiver.context);
    DestroyWindow(receiver.window);
    return 0;
}

// Waits as long as the receiver needs: sent messages from one thread are handled in
// order, so this also waits for any request still queued behind a hang.
LRESULT queryState() { return SendMessageW(receiver.window, QueryState, 0, 0); }

DWORD WINAPI parentThread(void *)
{
    receiver.parent = CreateWindowExW(0, L"TuvelImeReceiver", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                      200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(receiver.parent);
    SetEvent(receiver.ready);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;)
        DispatchMessageW(&msg);
    return DestroyWindow(receiver.parent) ? 0 : 1;
}

void runCase(const Case &c)
{
    receiver = Receiver{};
    receiver.c = &c;
    receiver.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE parent = c.attachedLateReader ? CreateThread(nullptr, 0, parentThread, nullptr, 0, nullptr) : nullptr;
    if (parent && WaitForSingleObject(receiver.ready, 10000) == WAIT_OBJECT_0)
        ResetEvent(receiver.ready);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, receiverThread, nullptr, 0, &threadId);
    WaitForSingleObject(receiver.ready, 10000);
    CHECK(receiver.imeWindow != nullptr);
    CHECK(GetForegroundWindow() == (parent ? receiver.parent : receiver.window));
    CHECK(queryState() == (c.open ? 1 : 0));

    platform::win32::ImeSuspender suspender;
    const Outcome outcome = suspender.suspend();
    if (c.outcome && outcome != *c.outcome)
        std::printf("%s: suspend() gave %d\n", c.name, static_cast<int>(outcome));
    CHECK(!c.outcome || outcome == *c.outcome);
    const LRESULT whileTyping = queryState();
    CHECK((whileTyping & 1) == (c.openWhileTyping ? 1 : 0));
    if (c.imeWindow != ImeWindow::Untouched)
        CHECK(whileTyping / 2 == c.setsBySuspend);

    for (int i = 0; c.attachedLateReader && i < 6; ++i)  // "aaa"
        keybd_event('A', 0, i % 2 ? KEYEVENTF_KEYUP : 0, 0);
    suspender.resume();
    const LRESULT after = queryState();
    CHECK((after & 1) == (c.open ? 1 : 0));
    CHECK(receiver.chars == (c.attachedLateReader ? 3 : 0) && receiver.charsWhileOpen == 0);
    if (c.imeWindow != ImeWindow::Untouched)
        CHECK(after / 2 == c.setsBySuspend + c.setsByResume);
    suspender.resume();  // a second resume reopens nothing more
    CHECK(queryState() == after);

    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    if (parent && PostThreadMessageW(GetThreadId(parent), WM_QUIT, 0, 0))
        WaitForSingleObject(parent, 10000);
    CloseHandle(receiver.ready);
}

}  // namespace

int wmain()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = receiverProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TuvelImeReceiver";
    RegisterClassW(&windowClass);

    // Wine's own IME window answers 0 or 1 whatever the context's status, and changes
    // nothing: there only the user's status is checked, which must come through as it was.
    const bool wine = underWine();
    const std::optional<Outcome> untouchedClosed = wine ? std::nullopt : std::optional(Outcome::AlreadyOff);
    const std::optional<Outcome> untouchedOpen = wine ? std::nullopt : std::optional(Outcome::SwitchedOff);

    // clang-format off
    const Case cases[] = {
        // name                     IME window               open   detached outcome                      open while typing   sets: suspend, resume
        {"open is closed, reopened", ImeWindow::WindowsLike, true,  false,   Outcome::SwitchedOff,        false,              1, 1},
        {"closed stays untouched",   ImeWindow::WindowsLike, false, false,   Outcome::AlreadyOff,         false,              0, 0},
        {"no input context",         ImeWindow::WindowsLike, true,  true,    Outcome::AlreadyOff,         true,               0, 0},
        {"program keeps it open",    ImeWindow::KeepsOpen,   true,  false,   Outcome::CannotSwitchOff,    true,               2, 0},
        {"hangs on the close",       ImeWindow::HangsOnSet,  true,  false,   Outcome::CannotSwitchOff,    true,               2, 0},
        {"system's, open",           ImeWindow::Untouched,   true,  false,   untouchedOpen,               wine,               0, 0},
        {"system's, closed",         ImeWindow::Untouched,   false, false,   untouchedClosed,             false,              0, 0},
        {"attached, reads late",     ImeWindow::WindowsLike, true,  false,   Outcome::SwitchedOff,        false,              1, 1, true},
    };
    // clang-format on
    for (const Case &c : cases)
        runCase(c);

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
