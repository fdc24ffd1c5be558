#pragma once
// Whether the program that owns the active window is still at work on its input. A
// program waiting for input sleeps; one that still translates keys (a busy program, one
// the machine gives no time, one stopped by a debugger or SIGSTOP) runs, waits to run or
// is stopped. The threads that read and handle window input are watched: a program's
// main thread, Java's toolkit and event threads (AWT-*), whose other threads (the
// compiler, the collector) run for reasons of their own, and GLib's D-Bus worker. So are the user's input method
// daemons and session bus: keys that make a round trip through an input method are not
// handled until it has answered. Read from /proc; where there is none, or the window
// belongs to another machine, nothing is known.
#include <QList>
#include <QString>
#include <sys/types.h>

namespace platform::x11 {

enum class ReceiverState { Waiting, Working, Stopped, Unknown };

class ReceiverProcesses {
public:
    ReceiverProcesses() = default;
    explicit ReceiverProcesses(pid_t receiver);
    ReceiverState state() const;
    bool known() const { return !m_receiverThreads.isEmpty(); }
    // Returns once they wait for input (true), or after maxMs (false).
    bool waitUntilWaiting(int maxMs) const;

private:
    QStringList m_receiverThreads;  // stat files
    QStringList m_helpers;          // stat files of the input method daemons' main threads
};

}  // namespace platform::x11
