// The x11 backend: XTest for key events and typing, Qt for the clipboard, the
// desktop's opener and the screen metrics. On a Wayland session key events and typing
// go through the compositor instead; the windows stay X11 ones (XWayland).
#include "../services.h"
#include "../wayland/waylandservices.h"
#include "desktopinputmethods.h"
#include "hidingswitch.h"
#include "ibusenginetyper.h"
#include "services_x11.h"

#include <QThread>

// X11 headers last: they define macros (Bool, Status) that Qt headers reject.
#include "receiverprocess.h"
#include "x11clientsync.h"

namespace platform {

namespace {
class X11ServiceSet : public ServiceSet {
public:
    X11KeyEvents keyEvents;
    X11KeyTyper keyTyper;
    QtClipboard clipboard;
    DesktopDocumentOpener documentOpener;
    DetachedProcessStarter processStarter;
    ScreenDesktopMetrics desktopMetrics;
    // Asked once the user's window is active: its client must have told its input
    // method that it has the focus, since fcitx5 acts on the context focused last.
    // Before it is put back, the window must have read the typed keys (two pings: the
    // first is answered as the keys are read, the second once they have been handed on)
    // and its input method have had them.
    freedesktop::DesktopInputMethods inputMethod{[] { syncActiveXClient(500); },
                                                 [] {
                                                     syncActiveXClient(1000, 2);
                                                     QThread::msleep(InputMethodDrainMs);
                                                 },
                                                 [this] { return engineTyper.engaged(); }};
    std::unique_ptr<wayland::WaylandKeyServices> wayland =
        wayland::openWaylandKeyServices([this] { return keyEvents.heldModifiers(); }, [] { syncActiveXClient(2000); });
    // With IBus, the key goes through the viewer's own engine once the Alt+Tab has taken
    // the focus to the user's window (the wlroots typer makes its own switch, later).
    freedesktop::IBusEngineTyper engineTyper{&keyTyper, &freedesktop::currentIBusAddress,
                                             [] { syncActiveXClient(500); }};
    // A Wayland desktop without a virtual keyboard (GNOME): IBus's engine is the one way
    // in, and the viewer hides for the switch.
    HidingSwitch hidingSwitch{keyEvents};
    freedesktop::IBusEngineTyper engineOnlyTyper{nullptr, &freedesktop::currentIBusAddress, {}};
    ShowAgainTyper showAgainTyper{engineOnlyTyper, hidingSwitch};
    Services services() override
    {
        if (wayland && !wayland->hasVirtualKeyboard())
            return {&hidingSwitch,   &showAgainTyper, &clipboard, &documentOpener,
                    &processStarter, &desktopMetrics, nullptr};  // the engine leaves the user's alone
        if (wayland)
            return {wayland->keyEvents(), wayland->keyTyper(), &clipboard,  &documentOpener,
                    &processStarter,      &desktopMetrics,     &inputMethod};
        return {&keyEvents, &engineTyper, &clipboard, &documentOpener, &processStarter, &desktopMetrics, &inputMethod};
    }

    // An XWayland window reads keys with the keymap it fetched last: it must have read
    // the keys of one keymap before the next replaces it. Native windows read keys and
    // keymaps in the order the compositor sent them.
    // The ping proves the keys read off the connection; a toolkit may still translate
    // them later (GTK's X input method), so also until the window's process waits for input.
    static void syncActiveXClient(int timeoutMs, int rounds = 1)
    {
        static Display *const display = XOpenDisplay(nullptr);
        if (!display)
            return;
        x11::ClientSync sync(display);
        sync.waitForActiveClient(timeoutMs, 0, rounds);
        x11::ReceiverProcesses(static_cast<pid_t>(sync.activeClientPid())).waitUntilWaiting(timeoutMs);
    }
    // How long an input method may take for the keys a window has handed on.
    static constexpr int InputMethodDrainMs = 100;
};
}  // namespace

std::unique_ptr<ServiceSet> createNativeServices() { return std::make_unique<X11ServiceSet>(); }

void prepareWindowSystem()
{
    // The windows place themselves, stay on top and draw their own frames, which a
    // native Wayland window may not do: on a Wayland desktop they are X11 windows on
    // XWayland, and only the typing goes through the compositor.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace platform
