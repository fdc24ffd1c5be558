// Decoding speed of the code page 932 table on a 30 MB list, against floors measured
// in the same run: widening the same bytes to UTF-16 (QString::fromLatin1) and a plain
// byte-by-byte widening loop. Prints MB/s and the ratios; the best of several runs counts.
#include "cp932.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype TargetBytes = 30 * 1024 * 1024;
constexpr int Runs = 5;

// Lines like a key list: mostly kana and kanji, some ASCII, CR LF line ends.
QByteArray makeList()
{
    QRandomGenerator random(932);
    QString text;
    text.reserve(TargetBytes * 6 / 10);
    QByteArray bytes;
    while (bytes.size() < TargetBytes) {
        text.clear();
        for (int line = 0; line < 1000; ++line) {
            const int length = 5 + random.bounded(40);
            for (int i = 0; i < length; ++i) {
                const int pick = random.bounded(10);
                if (pick < 3)
                    text.append(QChar(char16_t(0x3041 + random.bounded(83))));  // hiragana
                else if (pick < 7)
                    text.append(QChar(char16_t(0x4E00 + random.bounded(0x5000))));  // kanji, some unmapped
                else
                    text.append(QChar(char16_t(0x21 + random.bounded(94))));  // ASCII
            }
            text.append(QLatin1String("\r\n"));
        }
        bytes += common::cp932::encode(text);
    }
    bytes.truncate(TargetBytes);
    return bytes;
}

// Best time in seconds of Runs calls; keep the result alive so nothing is optimised away.
double bestSeconds(const std::function<qsizetype()> &work, qsizetype &sink)
{
    double best = 1e9;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        sink += work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

QString plainWidening(const QByteArray &bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(s.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = in[i];
    return s;
}

}  // namespace

int main()
{
    const QByteArray list = makeList();
    const double megabytes = list.size() / (1024.0 * 1024.0);
    qsizetype sink = 0;

    const double latin1 = bestSeconds([&] { return QString::fromLatin1(list).size(); }, sink);
    const double loop = bestSeconds([&] { return plainWidening(list).size(); }, sink);
    const double table = bestSeconds([&] { return common::cp932::decode(list).size(); }, sink);

    std::printf("cp932 decode of %.1f MB (best of %d)\n", megabytes, Runs);
    std::printf("  floor QString::fromLatin1   %8.1f MB/s\n", megabytes / latin1);
    std::printf("  floor plain widening loop   %8.1f MB/s\n", megabytes / loop);
    std::printf("  common::cp932::decode (table)       %8.1f MB/s\n", megabytes / table);
    QStringDecoder icu("windows-31j");
    if (icu.isValid()) {
        const double converter = bestSeconds(
            [&] {
                icu.resetState();
                return QString(icu.decode(list)).size();
            },
            sink);
        std::printf("  Qt windows-31j converter    %8.1f MB/s (for comparison)\n", megabytes / converter);
    }
    std::printf("ratio decode/fromLatin1 %.2f, decode/plain loop %.2f (lower is better)\n", table / latin1,
                table / loop);
    std::printf("(checksum %lld)\n", static_cast<long long>(sink));
    return 0;
}
