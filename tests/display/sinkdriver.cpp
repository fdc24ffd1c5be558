#include "sinkdriver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

TypingSink::TypingSink() = default;

TypingSink::~TypingSink()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
}

QString TypingSink::outputPath() const
{
    return dir.filePath(QStringLiteral("received.txt"));
}

bool TypingSink::start(QString *why)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(TUVEL_TYPING_SINK), {outputPath()});
    if (!process.waitForStarted(5000)) {
        *why = QStringLiteral("sink did not start: ") + process.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    while (!QFile::exists(outputPath() + QLatin1String(".ready"))) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning) {
            *why = QStringLiteral("sink never became the active window");
            return false;
        }
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
