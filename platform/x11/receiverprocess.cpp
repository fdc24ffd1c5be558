#include "receiverprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <unistd.h>

namespace platform::x11 {

namespace {

QByteArray readSmall(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(512) : QByteArray();
}

// The state letter of a stat file: after the command name, which may hold blanks and
// parentheses, so the last ')' ends it.
char stateLetter(const QString &statPath)
{
    const QByteArray line = readSmall(statPath);
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line[close + 2] : 0;
}

bool isInputMethodDaemon(const QByteArray &name)
{
    return name == "fcitx5" || name == "fcitx" || name == "ibus-daemon" || name.startsWith("ibus-engine") ||
           name == "ibus-x11" || name == "dbus-daemon";
}

// Java's toolkit and event threads; GLib's D-Bus worker, which takes an input method's
// answer off the bus before the main thread hears of it (GTK's input method modules,
// Chromium through them).
bool watched(const QByteArray &threadName) { return threadName.startsWith("AWT-") || threadName.startsWith("gdbus"); }

}  // namespace

ReceiverProcesses::ReceiverProcesses(pid_t receiver)
{
    if (receiver <= 0 || receiver == ::getpid())
        return;
    const QString task = QStringLiteral("/proc/%1/task/").arg(receiver);
    const QStringList threads = QDir(task).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &thread : threads) {
        if (thread.toInt() == receiver || watched(readSmall(task + thread + QStringLiteral("/comm"))))
            m_receiverThreads.append(task + thread + QStringLiteral("/stat"));
    }
    if (m_receiverThreads.isEmpty())
        return;
    const uint me = ::getuid();
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &process : processes) {
        bool number = false;
        process.toInt(&number);
        const QString dir = QStringLiteral("/proc/") + process;
        if (number && QFileInfo(dir).ownerId() == me &&
            isInputMethodDaemon(readSmall(dir + QStringLiteral("/comm")).trimmed()))
            m_helpers.append(dir + QStringLiteral("/stat"));
    }
}

ReceiverState ReceiverProcesses::state() const
{
    if (m_receiverThreads.isEmpty())
        return ReceiverState::Unknown;
    ReceiverState state = ReceiverState::Waiting;
    for (const QStringList *files : {&m_receiverThreads, &m_helpers}) {
        for (const QString &stat : *files) {
            switch (stateLetter(stat)) {
            case 'T':
            case 't':
                if (files == &m_receiverThreads)
                    return ReceiverState::Stopped;
                state = ReceiverState::Working;
                break;
            case 'R':
            case 'D': state = ReceiverState::Working; break;
            default: break;
            }
        }
    }
    return state;
}

bool ReceiverProcesses::waitUntilWaiting(int maxMs) const
{
    const QDeadlineTimer deadline(maxMs);
    for (;;) {
        const ReceiverState now = state();
        if (now == ReceiverState::Waiting || now == ReceiverState::Unknown)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
}

}  // namespace platform::x11
