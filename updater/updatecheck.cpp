#include "updatecheck.h"

#include <QLocale>
#include <QStringList>
#include <QTimeZone>
#include <cmath>
#include <limits>

namespace updatecheck {

QDateTime zeroDateTime() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC); }

QDateTime wallClock(const QDateTime &localTime)
{
    const QDateTime local = localTime.toLocalTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

namespace {

int monthNumber(const QString &name)
{
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() < 3)
        return 0;
    const QString head = name.left(3).toLower();
    for (int i = 0; i < 12; ++i) {
        if (head == QLatin1String(months[i]))
            return i + 1;
    }
    return 0;
}

}  // namespace

std::optional<QDateTime> ParseLastModified(const QString &headerText)
{
    if (headerText.isEmpty())
        return std::nullopt;
    const QStringList fields = headerText.split(QLatin1Char(' '));
    if (fields.size() == 1)
        return zeroDateTime();
    if (fields.size() < 5)
        return std::nullopt;
    bool dayOk = false;
    bool yearOk = false;
    const int day = fields.at(1).toInt(&dayOk);
    const int month = monthNumber(fields.at(2));
    const int year = fields.at(3).toInt(&yearOk);
    QTime time = QTime::fromString(fields.at(4), QStringLiteral("H:m:s"));
    if (!time.isValid())
        time = QTime::fromString(fields.at(4), QStringLiteral("H:m"));
    const QDate date(year, month, day);
    if (!dayOk || !yearOk || !date.isValid() || !time.isValid())
        return std::nullopt;
    // A calendar date can lie far beyond the range of a date-time.
    const QDateTime dateTime(date, time, Qt::UTC);
    if (!dateTime.isValid())
        return std::nullopt;
    return dateTime;
}

QDateTime remoteDateOf(const QDateTime &lastModified) { return lastModified.addSecs(9 * 3600); }

qint64 ReadContentLength(const QString &headerText)
{
    QString text = headerText;
    text.remove(QLatin1Char(' '));
    qsizetype end = 0;
    auto digitsFrom = [&](qsizetype from) {
        qsizetype at = from;
        while (at < text.size() && text.at(at).isDigit() && text.at(at).unicode() < 128)
            ++at;
        return at;
    };
    if (end < text.size() && (text.at(end) == u'+' || text.at(end) == u'-'))
        ++end;
    const qsizetype intStart = end;
    end = digitsFrom(end);
    bool anyDigit = end > intStart;
    if (end < text.size() && text.at(end) == u'.') {
        const qsizetype fracEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!anyDigit)
        return 0;
    if (end < text.size() && (text.at(end) == u'e' || text.at(end) == u'E')) {
        qsizetype exp = end + 1;
        if (exp < text.size() && (text.at(exp) == u'+' || text.at(exp) == u'-'))
            ++exp;
        const qsizetype expEnd = digitsFrom(exp);
        if (expEnd > exp)
            end = expEnd;
    }
    const double value = text.left(end).toDouble();
    constexpr double limit = double(std::numeric_limits<qint64>::max() / 2);
    if (!std::isfinite(value) || std::fabs(value) > limit)
        return value < 0 ? -qint64(limit) : qint64(limit);
    return qint64(std::nearbyint(value));  // halves go to the even neighbour
}

qint64 calendarDays(const QDateTime &localDate, const QDateTime &remoteDate)
{
    return localDate.date().daysTo(remoteDate.date());
}

QString summaryText(const QDateTime &date, qint64 size)
{
    const QLocale locale;
    const QString when = locale.toString(date.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         date.time().toString(QStringLiteral("H:mm:ss"));
    return QStringLiteral("last : ") + when + QStringLiteral("\r\nsize : ") + QString::number(size) +
           QStringLiteral(" byte");
}

QString headerValue(const HeaderList &headers, const QString &name)
{
    const QByteArray wanted = name.toLatin1().toLower();
    for (const auto &header : headers) {
        if (header.first.toLower() == wanted)
            return QString::fromLatin1(header.second);
    }
    return {};
}

QString allHeadersText(int statusCode, const QString &reason, const HeaderList &headers)
{
    if (statusCode == 0 && headers.isEmpty())
        return {};
    QString text =
        QStringLiteral("HTTP ") + QString::number(statusCode) + QLatin1Char(' ') + reason + QStringLiteral("\r\n");
    for (const auto &header : headers)
        text += QString::fromLatin1(header.first) + QStringLiteral(": ") + QString::fromLatin1(header.second) +
                QStringLiteral("\r\n");
    return text;
}

}  // namespace updatecheck
