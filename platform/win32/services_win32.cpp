#include "services_win32.h"
#include "raw_win32.h"

#include <QDir>

namespace platform {

void Win32KeyEvents::keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo)
{
    rawwin32::keybdEvent(virtualKey, scanCode, flags, extraInfo);
}

void Win32KeyEvents::sleep(int milliseconds)
{
    rawwin32::sleepMilliseconds(milliseconds);
}

static_assert(rawwin32::HeldShift == KeyEvents::HeldShift && rawwin32::HeldCtrl == KeyEvents::HeldCtrl
              && rawwin32::HeldAlt == KeyEvents::HeldAlt && rawwin32::HeldWindows == KeyEvents::HeldSuper);

quint8 Win32KeyEvents::heldModifiers()
{
    return static_cast<quint8>(rawwin32::heldModifiers());
}

bool Win32Clipboard::setText(const QString &text)
{
    return rawwin32::setClipboardText(text.toStdWString());
}

bool ShellDocumentOpener::open(const QString &pathOrUrl)
{
    return rawwin32::shellOpen(pathOrUrl.toStdWString(), rawwin32::ShowMinimized);
}

bool Win32ProcessStarter::startCommandLine(const QString &commandLine, const QString &programDir)
{
    return rawwin32::startCommandLine(commandLine.toStdWString(),
                                      QDir::toNativeSeparators(programDir).toStdWString());
}

int SystemDesktopMetrics::desktopWidthTwips()
{
    return rawwin32::desktopWidthTwips();
}

int SystemDesktopMetrics::desktopHeightTwips()
{
    return rawwin32::desktopHeightTwips();
}

} // namespace platform
