// The x11 backend: XTest for key events and typing, Qt for the clipboard, the
// desktop's opener and the screen metrics.
#include "../services.h"
#include "services_x11.h"

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
    Services services() override
    {
        return {&keyEvents, &keyTyper, &clipboard, &documentOpener, &processStarter, &desktopMetrics};
    }
};
} // namespace

std::unique_ptr<ServiceSet> createNativeServices()
{
    return std::make_unique<X11ServiceSet>();
}

} // namespace platform
