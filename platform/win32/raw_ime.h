#pragma once
// Switching the input method (IME) of the window keys are typed into off while they
// are typed, and back on once its program has read them. Uses only <windows.h> and
// the standard library; this header needs neither.

namespace platform::win32 {

// The receiving window belongs to another program, which may hang: waiting for its
// answer gives up after this long.
constexpr unsigned ImeMessageTimeoutMs = 500;

class ImeSuspender {
public:
    enum class Outcome {
        NoInputMethod,    // no IME window serves the focused window, or it is this thread's own
        AlreadyOff,       // its IME is closed: left alone
        SwitchedOff,      // it was open and is closed now; resume() reopens it
        CannotSwitchOff,  // it is open (or did not answer) and stays so; nothing to resume
    };

    // Closes the IME of the focused window's thread (receivingWindow()). Forgets what
    // an earlier suspend() switched off.
    Outcome suspend() noexcept;
    // Reopens what the last suspend() closed, if that IME window still exists, once
    // the focused window's thread has read the keys typed meanwhile (or a bounded
    // wait is over); once.
    void resume() noexcept;

private:
    void *m_receiver = nullptr;        // the focused window suspend() found
    void *m_reopenWindow = nullptr;    // the IME window suspend() closed
    unsigned long m_reopenThread = 0;  // its thread, so a reused handle is not mistaken for it
};

}  // namespace platform::win32
