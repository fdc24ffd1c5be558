#include "services_x11.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUrl>

namespace platform {

bool QtClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    return true;
}

bool DesktopDocumentOpener::open(const QString &pathOrUrl)
{
    const QUrl url = pathOrUrl.contains(QLatin1String("://")) ? QUrl(pathOrUrl)
                                                              : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

bool DetachedProcessStarter::startCommandLine(const QString &, const QString &)
{
    return false;
}

int ScreenDesktopMetrics::desktopWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() * 15 : 0;
}

int ScreenDesktopMetrics::desktopHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() * 15 : 0;
}

} // namespace platform
