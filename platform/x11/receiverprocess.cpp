#include "receiverprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace platform::x11 {

namespace {

// The state letter of /proc/.../stat: after the command name, which may hold blanks and
// parentheses, so the last ')' ends it.
char stateLetter(const QString &statPath)
{
    QFile file(statPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = file.read(512);
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line[close + 2] : 0;
}

}  // namespace

ReceiverState receiverState(pid_t pid)
{
    if (pid <= 0)
        return ReceiverState::Unknown;
    const QString task = QStringLiteral("/proc/%1/task").arg(pid);
    const QStringList threads = QDir(task).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return ReceiverState::Unknown;
    ReceiverState state = ReceiverState::Waiting;
    for (const QString &thread : threads) {
        switch (stateLetter(task + u'/' + thread + QStringLiteral("/stat"))) {
        case 'T':
        case 't': return ReceiverState::Stopped;
        case 'R':
        case 'D': state = ReceiverState::Working; break;
        default: break;
        }
    }
    return state;
}

bool waitUntilWaiting(pid_t pid, int maxMs)
{
    const QDeadlineTimer deadline(maxMs);
    for (;;) {
        const ReceiverState state = receiverState(pid);
        if (state == ReceiverState::Waiting || state == ReceiverState::Unknown)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
}

}  // namespace platform::x11
