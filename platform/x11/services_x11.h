#pragma once
#include "../services.h"

#include <QTimer>
#include <memory>

namespace platform {

class X11KeyEvents : public KeyEvents {
public:
    void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) override;
    void sleep(int milliseconds) override;
    quint8 heldModifiers() override;
};

// Characters the layout lacks stay on the spare keycodes for a while after the last key
// (a receiver may read its keys late); then, and when the typer goes, they are put back.
class X11KeyTyper : public KeyTyper {
public:
    X11KeyTyper();
    ~X11KeyTyper() override;
    Result type(const QList<KeyStroke> &strokes, bool wait) override;
    void setOneKeyAtATime(bool on) override { m_oneKeyAtATime = on; }
    // Puts the keyboard mapping back at once.
    void restoreKeyboard();

private:
    struct Borrowed;
    std::unique_ptr<Borrowed> m_borrowed;
    QTimer m_restoreTimer;
    bool m_oneKeyAtATime = false;
};

class QtClipboard : public Clipboard {
public:
    bool setText(const QString &text) override;
};

class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString &pathOrUrl) override;
};

class DetachedProcessStarter : public ProcessStarter {
public:
    bool startCommandLine(const QString &commandLine, const QString &programDir) override;
    // The file that runs for a program name: beside the viewer first, then the PATH.
    static QString resolveProgram(const QString &program, const QString &programDir);
};

class ScreenDesktopMetrics : public DesktopMetrics {
public:
    int desktopWidthTwips() override;
    int desktopHeightTwips() override;
    // No: an X window manager can start a move only once it holds the pointer, and
    // while the button is down the pressed window holds it. A manager that gets it
    // late, after the release, starts a move of its own then and leaves the window
    // away from where the user let go. The window follows the pointer itself.
    bool windowManagerTakesDrags() override { return false; }
};

}  // namespace platform
