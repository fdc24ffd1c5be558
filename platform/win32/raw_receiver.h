#pragma once
// The window typed keys go to, and when its thread has read them. Uses only
// <windows.h> and the standard library; this header needs neither.

namespace platform::win32 {

// How long a busy receiver may take for the keys queued for it.
constexpr unsigned InputReadTimeoutMs = 2000;

// The focused window of the foreground window's thread, which may be a window of
// another thread attached to it (the keys and the input method are that thread's);
// the foreground window itself when its thread names none. Null when there is no
// foreground window, or when it or the focus belongs to the calling thread: the
// program's own window cannot answer while this thread waits for it.
void *receivingWindow() noexcept;

// Returns once the window's thread has read every input message queued for it
// before the call, or after timeoutMs; false when that cannot be told.
bool waitUntilInputRead(void *window, unsigned timeoutMs) noexcept;

}  // namespace platform::win32
