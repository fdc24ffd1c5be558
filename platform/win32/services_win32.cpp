#include "services_win32.h"
#include "raw_win32.h"

#include <QDir>

namespace platform {

void Win32KeyEvents::keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo)
{
    win32::keybdEvent(virtualKey, scanCode, flags, extraInfo);
}

void Win32KeyEvents::sleep(int milliseconds) { win32::sleepMilliseconds(milliseconds); }

static_assert(win32::HeldShift == KeyEvents::HeldShift && win32::HeldCtrl == KeyEvents::HeldCtrl &&
              win32::HeldAlt == KeyEvents::HeldAlt && win32::HeldWindows == KeyEvents::HeldSuper);

quint8 Win32KeyEvents::heldModifiers() { return static_cast<quint8>(win32::heldModifiers()); }

bool Win32Clipboard::setText(const QString &text) { return win32::setClipboardText(text.toStdWString()); }

bool ShellDocumentOpener::open(const QString &pathOrUrl)
{
    return win32::shellOpen(pathOrUrl.toStdWString(), win32::ShowMinimized);
}

bool Win32ProcessStarter::startCommandLine(const QString &commandLine, const QString &programDir)
{
    return win32::startCommandLine(commandLine.toStdWString(), QDir::toNativeSeparators(programDir).toStdWString());
}

int SystemDesktopMetrics::desktopWidthTwips() { return win32::desktopWidthTwips(); }

int SystemDesktopMetrics::desktopHeightTwips() { return win32::desktopHeightTwips(); }

InputMethod::Suspension Win32InputMethod::suspend()
{
    if (m_suspender.suspend() == win32::ImeSuspender::Outcome::CannotSwitchOff)
        return {false, QStringLiteral("入力メソッドをオフにできませんでした。")};
    return {};
}

InputMethod::Resumption Win32InputMethod::resume()
{
    m_suspender.resume();
    return {};
}

}  // namespace platform
