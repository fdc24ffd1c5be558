#pragma once
// What the harnesses share: a check that stops the run with a readable message (the
// fuzzer then saves the input as a crash), and helpers that show text and write inputs.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

[[noreturn]] inline void fail(const char *condition, const char *file, int line, const QString &detail)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, qPrintable(detail));
    std::abort();
}

// Every code unit, so that controls, blanks and lone surrogates show.
inline QString codes(QStringView text)
{
    QString shown;
    for (QChar c : text)
        shown += QStringLiteral("%1 ").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return QLatin1Char('[') + shown.trimmed() + QLatin1Char(']');
}

inline QString codes(const QStringList &lines)
{
    QStringList shown;
    for (const QString &line : lines)
        shown.append(codes(line));
    return QStringLiteral("%1 lines: ").arg(lines.size()) + shown.join(QLatin1Char(' '));
}

// What a reader gave beside what it should have given.
inline QString gotExpected(const QStringList &got, const QStringList &expected)
{
    return codes(got) + QStringLiteral(" expected ") + codes(expected);
}

// One file per fuzzing process, rewritten for every input; the readers under test
// take a path.
inline QString writeInput(const QByteArray &bytes)
{
    static const QTemporaryDir dir;  // removed when the fuzzer exits
    static const QString path = dir.filePath(QStringLiteral("input.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("input file written", __FILE__, __LINE__, path);
    return path;
}

}  // namespace fuzzcheck

#define FUZZ_CHECK(condition, detail)                                  \
    do {                                                               \
        if (!(condition))                                              \
            fuzzcheck::fail(#condition, __FILE__, __LINE__, (detail)); \
    } while (false)
