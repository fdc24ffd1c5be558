#include "sinkdriver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include "x11property.h"

namespace {

Window findWindowOfProcess(Display *display, qint64 pid)
{
    const Window root = DefaultRootWindow(display);
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
    for (unsigned long window : platform::x11::readProperty32(display, root, clientList, XA_WINDOW, 1024L))
        if (static_cast<qint64>(platform::x11::readProperty32(display, window, wmPid, XA_CARDINAL, 0UL)) == pid)
            return window;
    return None;
}

// Asks the window manager to activate the window as a pager would: a new window
// mapped right after synthesised input may otherwise be kept from the focus.
void activateWindowOfProcess(qint64 pid)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return;
    const Window window = findWindowOfProcess(display, pid);
    if (window != None) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;  // request from a pager
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XSync(display, False);
    }
    XCloseDisplay(display);
}

}  // namespace

TypingSink::TypingSink(const QString &qpaPlatform) : qpaPlatform(qpaPlatform) {}

TypingSink::~TypingSink()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
}

QString TypingSink::outputPath() const { return dir.filePath(QStringLiteral("received.txt")); }

bool TypingSink::start(QString *why)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!qpaPlatform.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), qpaPlatform);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(TUVEL_TYPING_SINK), {outputPath()});
    if (!process.waitForStarted(5000)) {
        *why = QStringLiteral("sink did not start: ") + process.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    for (int round = 0; !QFile::exists(outputPath() + QLatin1String(".ready")); ++round) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning) {
            *why = QStringLiteral("sink never became the active window");
            return false;
        }
        if (round % 10 == 9)
            activateWindowOfProcess(process.processId());
        QThread::msleep(10);
    }
    return true;
}

QString TypingSink::text() const
{
    QFile file(outputPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString TypingSink::waitForText(const QString &expected, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    QString seen = text();
    while (seen != expected && !deadline.hasExpired()) {
        QThread::msleep(2);
        seen = text();
    }
    return seen;
}
