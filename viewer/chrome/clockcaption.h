#pragma once
// The compact-mode caption: date, time and a sleeping face whose "Zzz" changes
// once a second. QtCore only.
#include <QDateTime>
#include <QString>

namespace clockcaption {

// " (´_ ｀) ": blank, "(", acute accent, "_", blank, full-width grave accent, ")", blank.
QString face();

// The frame for the counter's value; advances the counter through 0..5 and back to 0.
QString nextSleepFrame(qint16 &frameCounter);

// "M:D H:m" in plain decimal, then the face, then the frame.
QString captionText(const QDateTime &now, const QString &frame);

// One tick of the caption timer: when the second differs from the last one, the
// new caption (and the last second and counter are advanced); otherwise nothing.
// The clock is read once for the second and values and once more for the last second.
struct Tick {
    bool changed = false;
    QString caption;
};
template <typename Clock>
Tick tick(Clock &&clock, qint16 &lastSecond, qint16 &frameCounter)
{
    if (clock().time().second() == lastSecond)
        return {};
    const QDateTime now = clock();
    const QString frame = nextSleepFrame(frameCounter);
    Tick result{true, captionText(now, frame)};
    lastSecond = qint16(clock().time().second());
    return result;
}

}  // namespace clockcaption
