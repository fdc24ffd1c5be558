#pragma once
// Whether the program that owns the active window is still at work on its input. A
// program waiting for input has every thread asleep; one that still translates keys (a
// busy program, one the machine gives no time, one stopped by a debugger or SIGSTOP)
// has a thread running, runnable or stopped. Read from /proc; where there is none, or
// the window belongs to another machine, nothing is known.
#include <QtGlobal>
#include <sys/types.h>

namespace platform::x11 {

enum class ReceiverState { Waiting, Working, Stopped, Unknown };

ReceiverState receiverState(pid_t pid);
// Returns once the process waits for input (true), or after maxMs (false).
bool waitUntilWaiting(pid_t pid, int maxMs);

}  // namespace platform::x11
