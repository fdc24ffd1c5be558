#pragma once
// Switching the input method (IME) of the foreground window off while keys are typed
// into it, and back on afterwards. Uses only <windows.h> and the standard library;
// this header needs neither.

namespace platform::win32 {

// The receiving window belongs to another program, which may hang: waiting for its
// answer gives up after this long.
constexpr unsigned ImeMessageTimeoutMs = 500;

class ImeSuspender {
public:
    enum class Outcome {
        NoInputMethod,    // no IME window serves the foreground window
        AlreadyOff,       // its IME is closed: left alone
        SwitchedOff,      // it was open and is closed now; resume() reopens it
        CannotSwitchOff,  // it is open (or did not answer) and stays so; nothing to resume
    };

    // Closes the IME of the foreground window's thread (the one its focused control
    // uses). Forgets what an earlier suspend() switched off.
    Outcome suspend() noexcept;
    // Reopens what the last suspend() closed, if that IME window still exists; once.
    void resume() noexcept;

private:
    void *m_reopenWindow = nullptr;    // the IME window suspend() closed
    unsigned long m_reopenThread = 0;  // its thread, so a reused handle is not mistaken for it
};

}  // namespace platform::win32
