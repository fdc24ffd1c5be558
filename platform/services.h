#pragma once
// The platform services both programs use. Each is a small interface; the native
// backend (x11 or win32, chosen by CMake) and the recording fakes implement them.
// Callers hold a Services bundle and never ask which backend they have.

#include "keystring.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace platform {

// The strokes a typer plays back, as the key-string parser reads them.
using common::KeyStroke;
using common::Modifier;
using common::NamedKey;

// Raw key events as the task switch sends them (virtual-key codes, keybd_event flags).
class KeyEvents {
public:
    static constexpr quint8 VK_Menu = 0x12;  // the Alt key
    static constexpr quint8 VK_Tab = 0x09;
    static constexpr quint32 KeyDown = 0;
    static constexpr quint32 KeyUp = 0x0002;  // KEYEVENTF_KEYUP

    // Bits of heldModifiers(): either key of a pair counts.
    static constexpr quint8 HeldShift = 1;
    static constexpr quint8 HeldCtrl = 2;
    static constexpr quint8 HeldAlt = 4;
    static constexpr quint8 HeldSuper = 8;  // the Windows or Super key
    // Any other key: the Enter or the B that set a key going, until it is let go.
    static constexpr quint8 HeldOtherKey = 16;

    virtual ~KeyEvents() = default;
    virtual void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) = 0;
    virtual void sleep(int milliseconds) = 0;
    // Which modifier keys are down on the keyboard at this moment (Held* bits).
    virtual quint8 heldModifiers() = 0;
};

// Types the strokes of a key string into the foreground window. The caller reads the
// key string (parseKeyString) and reports a refused one itself.
class KeyTyper {
public:
    struct Result {
        bool ok = true;
        QString error;  // why the strokes were not typed; empty when ok
    };
    virtual ~KeyTyper() = default;
    // With wait set, returns only once the receiving side has had the events.
    virtual Result type(const QList<KeyStroke> &strokes, bool wait) = 0;
    // The key is over, typed in one or more type() calls, or refused: a typer that made
    // the switch to the user's window itself goes back from there now. Not ok: what the
    // typer changed for the key (the user's input method) could not be put back.
    virtual Result keyDone() { return {}; }
    // Until further notice, each keystroke waits until the receiver has handled the one
    // before (a typer that cannot see that types as it would).
    virtual void setOneKeyAtATime(bool) {}
    // The whole key, before it is typed in pieces: a typer may prepare for all of them.
    virtual void beginKey(const QList<KeyStroke> &) {}
    // Whether the focus stays in the user's window after a key (a desktop where the
    // viewer shows again without taking it); otherwise the viewer takes it back.
    virtual bool leavesFocusThere() const { return false; }
};

// Reads keyString and types it; a string that does not read is refused with the
// parser's reason and nothing is typed.
KeyTyper::Result typeKeyString(KeyTyper &typer, const QString &keyString, bool wait);

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool setText(const QString &text) = 0;
};

// Opens a document or folder with the program the desktop associates with it.
// Never goes through a command shell; the path is passed whole.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual bool open(const QString &pathOrUrl) = 0;
};

// Starts a program without waiting and without a shell.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // commandLine is a whole command line ("kox.exe \"path\" address"): on Windows it
    // is handed over raw; where programs receive split arguments it is split with the
    // updater's command-line rules. The program is looked for in programDir first.
    virtual bool startCommandLine(const QString &commandLine, const QString &programDir) = 0;
};

// The usable desktop in twips (15 twips per pixel), and how windows move on it.
class DesktopMetrics {
public:
    virtual ~DesktopMetrics() = default;
    virtual int desktopWidthTwips() = 0;
    virtual int desktopHeightTwips() = 0;
    // Whether a window that draws its own title hands a drag of it to the window
    // manager (which then moves the window until the button is released); otherwise
    // the window follows the pointer itself.
    virtual bool windowManagerTakesDrags() { return false; }
};

// The input method (IME) of the window that has the keyboard focus. An input method
// that is on reads synthesised keystrokes as romaji and converts them ("a" arrives as
// "あ", Enter commits the conversion), so it is switched off while a key is typed and
// put back as the user had it afterwards.
class InputMethod {
public:
    struct Suspension {
        bool ok = true;  // false: it is on and could not be switched off; nothing changed
        QString error;   // why, for the user; empty when ok
        // The window hands every key to the input method and waits for its answer, and may
        // let a quick answer overtake a slow one: keys go one at a time.
        bool oneKeyAtATime = false;
    };
    struct Resumption {
        bool ok = true;  // false: it was not put back; it stays off
        QString error;   // which input method, for the user; empty when ok
    };
    virtual ~InputMethod() = default;
    // Switches the focused window's input method off, remembering its state. Does
    // nothing (and succeeds) when no input method serves the window or it is off.
    virtual Suspension suspend() = 0;
    // Puts back what the last suspend() switched off, exactly (engine and mode); does
    // nothing when it switched nothing off.
    virtual Resumption resume() = 0;
};

// Non-owning view of one set of services; the owner keeps them alive.
struct Services {
    KeyEvents *keyEvents = nullptr;
    KeyTyper *keyTyper = nullptr;
    Clipboard *clipboard = nullptr;
    DocumentOpener *documentOpener = nullptr;
    ProcessStarter *processStarter = nullptr;
    DesktopMetrics *desktopMetrics = nullptr;
    InputMethod *inputMethod = nullptr;  // none: keys are typed as they are
};

// Owns one set of services and hands out the view.
class ServiceSet {
public:
    virtual ~ServiceSet() = default;
    virtual Services services() = 0;
};

// Defined once per backend; the backend is picked at link time.
std::unique_ptr<ServiceSet> createNativeServices();

// Called before the QApplication is made: lets the backend choose the windowing
// system the program's own windows use. Defined once per backend.
void prepareWindowSystem();

}  // namespace platform
