#pragma once
// The win32 backend's services: thin adaptors from Qt types to the plain Win32 calls
// in raw_win32.h.
#include "../services.h"
#include "raw_ime.h"

namespace platform {

class Win32KeyEvents : public KeyEvents {
public:
    void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) override;
    void sleep(int milliseconds) override;
    quint8 heldModifiers() override;
};

// The SendInput typer lives in keytyper*.cpp.
class Win32KeyTyper : public KeyTyper {
public:
    Result type(const QList<KeyStroke> &strokes, bool wait) override;
};

class Win32Clipboard : public Clipboard {
public:
    bool setText(const QString &text) override;
};

// ShellExecute "open", minimised with focus.
class ShellDocumentOpener : public DocumentOpener {
public:
    bool open(const QString &pathOrUrl) override;
};

class Win32ProcessStarter : public ProcessStarter {
public:
    bool startCommandLine(const QString &commandLine, const QString &programDir) override;
};

class SystemDesktopMetrics : public DesktopMetrics {
public:
    int desktopWidthTwips() override;
    int desktopHeightTwips() override;
    // The system's own move loop follows the pointer until the button is released.
    bool windowManagerTakesDrags() override { return true; }
};

// Closes the IME of the window the key goes to and reopens it afterwards.
class Win32InputMethod : public InputMethod {
public:
    Suspension suspend() override;
    Resumption resume() override;

private:
    win32::ImeSuspender m_suspender;
};

}  // namespace platform
