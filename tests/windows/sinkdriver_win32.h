#pragma once
// Finds the typing sink's window from another process, brings it forward and reads
// and clears its edit control. Plain Win32 behind a std::wstring interface.
#include <string>

namespace win32sink {

// Waits up to timeoutMs for the sink's window; true once it is there.
bool waitForSink(unsigned timeoutMs);
// Makes the sink the foreground window with the keyboard focus in its edit control.
bool bringSinkForward();
std::wstring sinkText();
void clearSinkText();
void closeSink();

}  // namespace win32sink
