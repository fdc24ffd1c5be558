#pragma once
// The pure parts of the update check: reading the response headers, the dates and
// the day count. Date-times carry no time zone; they are held as UTC values.

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace updatecheck {

// 30 December 1899, 00:00:00: the date-time before anything is known.
QDateTime zeroDateTime();

// A wall-clock date-time taken as it reads, without its zone.
QDateTime wallClock(const QDateTime &localTime);

// The header date as a date-time: fields 1 to 4 of the blank-separated text (day,
// English month, year, time). Text without a blank is the zero date-time. Empty
// text, too few fields, fields that form no date, or a date-time out of range give nothing.
std::optional<QDateTime> ParseLastModified(const QString &headerText);

// The servers' dates are GMT; the local clock is taken to be nine hours ahead.
QDateTime remoteDateOf(const QDateTime &lastModified);

// Content-length read leniently: blanks ignored, reading stops at the first
// character that cannot belong to a number, no leading number gives 0; rounded.
qint64 ReadContentLength(const QString &headerText);

// Calendar-day boundaries from local to remote; negative when the local file is newer.
qint64 calendarDays(const QDateTime &localDate, const QDateTime &remoteDate);

// "last : <date> <time>\r\nsize : <n> byte", the date in the user's locale.
QString summaryText(const QDateTime &date, qint64 size);

using HeaderList = QList<QPair<QByteArray, QByteArray>>;
// The value of a header, names compared without regard to case; empty when missing.
QString headerValue(const HeaderList &headers, const QString &name);
// The status line and every header, one per line, as one text.
QString allHeadersText(int statusCode, const QString &reason, const HeaderList &headers);

}  // namespace updatecheck
