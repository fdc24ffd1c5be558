#include "services_x11.h"

#include "commandline.h"
#include "pathbytes.h"
#include "twips.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

namespace {

// A file URL made from the bytes of the path, so that a name that is not valid UTF-8
// reaches the opener as it is on disk (QUrl::fromLocalFile would replace its bytes).
QUrl fileUrl(const QString &absolutePath)
{
    QByteArray encoded("file://");
    for (const char c : common::pathToBytes(absolutePath)) {
        const uchar b = uchar(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '/' || b == '-' ||
            b == '.' || b == '_' || b == '~')
            encoded += c;
        else
            encoded += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    }
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

}  // namespace

bool DesktopDocumentOpener::open(const QString &pathOrUrl)
{
    // Web pages go to the browser; everything else is a path, relative ones against the
    // current directory. Either way the opener gets one URL argument, never a shell line.
    QUrl url;
    if (pathOrUrl.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        pathOrUrl.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        url = QUrl(pathOrUrl, QUrl::StrictMode);
    else
        url = fileUrl(QFileInfo(pathOrUrl).absoluteFilePath());
    return url.isValid() && QDesktopServices::openUrl(url);
}

QString DetachedProcessStarter::resolveProgram(const QString &program, const QString &programDir)
{
    // The program beside the viewer comes first; "kox.exe" is "kox" on this system.
    QStringList names{program};
    if (program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        names.append(program.chopped(4));
    if (!program.contains(QLatin1Char('/'))) {
        for (const QString &name : names) {
            const QFileInfo beside(QDir(programDir), name);
            if (beside.isFile() && beside.isExecutable())
                return beside.absoluteFilePath();
        }
    }
    for (const QString &name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool DetachedProcessStarter::startCommandLine(const QString &commandLine, const QString &programDir)
{
    // Programs here receive split arguments: split the line with the updater's own rules,
    // so it sees the same items it would read from the raw line. No shell is involved.
    const QStringList items = common::splitCommandLine(commandLine);
    if (items.isEmpty() || items.first().isEmpty())
        return false;
    const QString program = resolveProgram(items.first(), programDir);
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, items.mid(1), QDir::currentPath());
}

int ScreenDesktopMetrics::desktopWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() * common::TwipsPerPixel : 0;
}

int ScreenDesktopMetrics::desktopHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() * common::TwipsPerPixel : 0;
}

}  // namespace platform
