#include "clockcaption.h"

namespace clockcaption {

QString face()
{
    return QStringLiteral(" (") + QChar(0x00B4) + QStringLiteral("_ ") + QChar(0xFF40) + QStringLiteral(") ");
}

QString nextSleepFrame(qint16 &frameCounter)
{
    const qint16 value = frameCounter;
    ++frameCounter;
    switch (value) {
    case 0: return QStringLiteral("Zzz");
    case 1: return QStringLiteral("ZZz");
    case 2: return QStringLiteral("ZZZ");
    case 3: return QStringLiteral("zZZ");
    case 4: return QStringLiteral("zzZ");
    default: frameCounter = 0; return QStringLiteral("zzz");
    }
}

QString captionText(const QDateTime &now, const QString &frame)
{
    const QDate date = now.date();
    const QTime time = now.time();
    return QStringLiteral("%1:%2 %3:%4").arg(date.month()).arg(date.day()).arg(time.hour()).arg(time.minute()) +
           face() + frame;
}

}  // namespace clockcaption
