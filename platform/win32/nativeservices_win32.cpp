// The win32 backend: keybd_event and Sleep, the clipboard, ShellExecute, CreateProcess
// and the system metrics; Win32KeyTyper types key strings with SendInput, with the
// receiving window's IME switched off by Win32InputMethod.
#include "../services.h"
#include "services_win32.h"

namespace platform {

namespace {
class Win32ServiceSet : public ServiceSet {
public:
    Win32KeyEvents keyEvents;
    Win32KeyTyper keyTyper;
    Win32Clipboard clipboard;
    ShellDocumentOpener documentOpener;
    Win32ProcessStarter processStarter;
    SystemDesktopMetrics desktopMetrics;
    Win32InputMethod inputMethod;
    Services services() override
    {
        return {&keyEvents, &keyTyper, &clipboard, &documentOpener, &processStarter, &desktopMetrics, &inputMethod};
    }
};
}  // namespace

std::unique_ptr<ServiceSet> createNativeServices() { return std::make_unique<Win32ServiceSet>(); }

void prepareWindowSystem()
{
    // Windows has one windowing system. (Under Wine DISPLAY is set too; it must not
    // steer the program towards X11.)
}

}  // namespace platform
