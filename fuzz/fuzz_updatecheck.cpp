// The header readings of the update check.
//
// Input lines: the Last-modified text, the Content-length text, then "Name: value"
// headers.
// - A Last-modified date that is known is a real date-time, nine hours later is one too,
//   and the day count and the summary work with it; the weekday field and fields after
//   the time change nothing.
// - Content-length: blanks change nothing; plain digits read as their number; the value
//   stays within the bound the reading documents.
// - Header names match whatever their case.
#include "fuzzcheck.h"
#include "updatecheck.h"

#include <limits>

using namespace updatecheck;

namespace {

QString showDate(const std::optional<QDateTime> &date)
{
    return date ? date->toString(Qt::ISODateWithMs) + (date->isValid() ? QString() : QStringLiteral(" (invalid)"))
                : QStringLiteral("none");
}

void checkLastModified(const QString &text)
{
    const std::optional<QDateTime> date = ParseLastModified(text);
    const QString shown = fuzzcheck::codes(text) + QStringLiteral(" -> ") + showDate(date);
    const QStringList fields = text.split(u' ');
    if (!text.isEmpty() && fields.size() == 1)
        FUZZ_CHECK(date == zeroDateTime(), shown);
    if (!date)
        return;
    FUZZ_CHECK(date->isValid(), shown);
    const QDateTime remote = remoteDateOf(*date);
    FUZZ_CHECK(remote.isValid() && date->secsTo(remote) == 9 * 3600,
               shown + QStringLiteral(" +9h ") + showDate(remote));
    const QDateTime local = zeroDateTime();
    FUZZ_CHECK(calendarDays(local, remote) == -calendarDays(remote, local), shown);
    FUZZ_CHECK(calendarDays(local, remote) == local.date().daysTo(remote.date()), shown);
    FUZZ_CHECK(summaryText(remote, 0).startsWith(QStringLiteral("last : ")), shown);
    if (fields.size() < 5)
        return;
    QStringList otherWeekday = fields;
    otherWeekday[0] = QStringLiteral("Xyz,");
    FUZZ_CHECK(ParseLastModified(otherWeekday.join(u' ')) == date, shown);
    FUZZ_CHECK(ParseLastModified(text + QStringLiteral(" GMT extra")) == date, shown);
}

void checkContentLength(const QString &text)
{
    const qint64 length = ReadContentLength(text);
    const QString shown = fuzzcheck::codes(text) + QStringLiteral(" -> %1").arg(length);
    constexpr qint64 bound = qint64(1) << 62;  // half the range, as a double rounds it
    FUZZ_CHECK(length >= -bound && length <= bound, shown);
    QString spaced;
    for (QChar c : text)
        spaced += QStringLiteral(" ") + c;
    FUZZ_CHECK(ReadContentLength(spaced) == length, shown);
    bool digitsOnly = !text.isEmpty() && text.size() <= 15;
    for (QChar c : text)
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    if (digitsOnly)
        FUZZ_CHECK(length == text.toLongLong(), shown);
}

void checkHeaders(const QStringList &lines)
{
    HeaderList headers;
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            headers.append({line.left(colon).toLatin1(), line.mid(colon + 1).trimmed().toLatin1()});
    }
    for (const auto &header : headers) {
        // Header names are ASCII tokens; case folding is only asked of those.
        const QString name = QString::fromLatin1(header.first);
        bool ascii = true;
        for (QChar c : name)
            ascii = ascii && c.unicode() < 0x80;
        if (!ascii)
            continue;
        const QString value = headerValue(headers, name);
        FUZZ_CHECK(value == headerValue(headers, name.toUpper()) && value == headerValue(headers, name.toLower()),
                   name);
    }
    const QString all = allHeadersText(200, QStringLiteral("OK"), headers);
    FUZZ_CHECK(headers.isEmpty() || all.count(QStringLiteral("\r\n")) >= headers.size() + 1, all);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = text.split(u'\n');
    checkLastModified(lines.value(0));
    checkContentLength(lines.value(1));
    checkHeaders(lines.mid(2));
    return 0;
}
