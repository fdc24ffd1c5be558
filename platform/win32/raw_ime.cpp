#include "raw_ime.h"
#include "raw_receiver.h"

#include <windows.h>
#include <imm.h>

namespace platform::win32 {

namespace {

// WM_IME_CONTROL requests the default IME window answers (the Windows SDK's IME
// headers; mingw-w64's lack them).
constexpr WPARAM ImcGetOpenStatus = 0x0005;
constexpr WPARAM ImcSetOpenStatus = 0x0006;

enum class OpenStatus { Closed, Open, NoAnswer };

// SMTO_BLOCK: while it waits, this thread handles no message sent to it, so nothing of
// the program runs in the middle of a switch.
constexpr UINT WaitFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;

OpenStatus openStatus(HWND imeWindow)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(imeWindow, WM_IME_CONTROL, ImcGetOpenStatus, 0, WaitFlags, ImeMessageTimeoutMs, &answer))
        return OpenStatus::NoAnswer;
    return answer != 0 ? OpenStatus::Open : OpenStatus::Closed;
}

// Waits for the close to be carried out. Its answer says nothing reliable: the
// caller reads the status back.
bool requestClose(HWND imeWindow)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(imeWindow, WM_IME_CONTROL, ImcSetOpenStatus, 0, WaitFlags, ImeMessageTimeoutMs,
                               &ignored) != 0;
}

// Queues the reopening without waiting. Unlike a timed-out SendMessageTimeout, which
// the system withdraws if the window has not taken it yet, it is never dropped, and
// it comes after any close this thread sent before.
void requestReopen(HWND imeWindow) { SendNotifyMessageW(imeWindow, WM_IME_CONTROL, ImcSetOpenStatus, 1); }

}  // namespace

ImeSuspender::Outcome ImeSuspender::suspend() noexcept
{
    m_reopenWindow = nullptr;
    m_reopenThread = 0;
    const HWND target = static_cast<HWND>(receivingWindow());
    m_receiver = target;
    const HWND imeWindow = target ? ImmGetDefaultIMEWnd(target) : nullptr;
    if (!imeWindow)
        return Outcome::NoInputMethod;
    switch (openStatus(imeWindow)) {
    case OpenStatus::Closed: return Outcome::AlreadyOff;
    case OpenStatus::NoAnswer: return Outcome::CannotSwitchOff;
    case OpenStatus::Open: break;
    }
    // The window's program may keep its IME open (it answers the change by reopening)
    // or stop answering half-way: only a closed status read back counts.
    if (requestClose(imeWindow) && openStatus(imeWindow) == OpenStatus::Closed) {
        m_reopenWindow = imeWindow;
        m_reopenThread = GetWindowThreadProcessId(imeWindow, nullptr);
        return Outcome::SwitchedOff;
    }
    // A close that timed out while the window was handling it is still carried out
    // once the window answers again; the reopening queued behind it undoes it then.
    requestReopen(imeWindow);
    return Outcome::CannotSwitchOff;
}

void ImeSuspender::resume() noexcept
{
    const HWND imeWindow = static_cast<HWND>(m_reopenWindow);
    const DWORD thread = m_reopenThread;
    m_reopenWindow = nullptr;
    m_reopenThread = 0;
    if (imeWindow && IsWindow(imeWindow) && GetWindowThreadProcessId(imeWindow, nullptr) == thread) {
        // The reopening, a sent message, would be taken before keys still queued.
        waitUntilInputRead(m_receiver, InputReadTimeoutMs);
        requestReopen(imeWindow);
    }
}

}  // namespace platform::win32
