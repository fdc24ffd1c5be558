// Typing speed into a native Wayland Qt window on a wlroots compositor: the Wayland key
// typer against `wtype` at the lowest delay (-d) that still delivers the same text
// exactly, both measured from the start of typing until the window holds the text.
// Run as: scripts/with-sway.sh build/bench/bin/bench_typing_wayland
#include "waylandservices.h"
#include "sinkdriver.h"
#include "typingtext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 3;

struct Run {
    bool exact = false;
    double charsPerSecond = 0;
};

// Each run types into a new window, so that no run depends on clearing the last one.
Run timeRun(const QString &text, const std::function<bool()> &type)
{
    TypingSink sink(QStringLiteral("wayland"));
    QString why;
    if (!sink.start(&why)) {
        std::printf("  sink: %s\n", qPrintable(why));
        return {};
    }
    QElapsedTimer timer;
    timer.start();
    const bool ok = type();
    const QString seen = sink.waitForText(text, 20000);
    const qint64 ms = std::max<qint64>(1, timer.elapsed());
    if (seen != text)
        reportDifference(text, seen);
    return {ok && seen == text, text.size() * 1000.0 / ms};
}

// Runs until one is inexact; the best rate of the exact ones and how many were exact.
std::pair<int, double> runs(const QString &text, const std::function<bool()> &type)
{
    int exact = 0;
    double best = 0;
    for (int i = 0; i < Runs; ++i) {
        const Run run = timeRun(text, type);
        if (!run.exact)
            break;
        ++exact;
        best = std::max(best, run.charsPerSecond);
    }
    return {exact, best};
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString text = benchmarkText();
    auto services = platform::wayland::openWaylandKeyServices({}, {});
    if (!services) {
        std::fprintf(stderr, "bench_typing_wayland: no Wayland session (run under scripts/with-sway.sh)\n");
        return 1;
    }
    platform::KeyTyper *typer = services->keyTyper();
    const auto [typerExact, typerRate] = runs(text, [&] { return platform::typeKeyString(*typer, text, true).ok; });
    std::printf("wayland key typer: %d characters, exact in %d of %d runs, best %.0f chars/s\n", int(text.size()),
                typerExact, Runs, typerRate);

    // The floor: wtype at the lowest delay at which it is exact in every run.
    int floorDelay = -1;
    double floorRate = 0;
    for (int delay : {1, 2, 5, 10, 20}) {  // wtype refuses -d 0
        const auto [exact, rate] = runs(text, [&] {
            return QProcess::execute(QStringLiteral("wtype"), {QStringLiteral("-d"), QString::number(delay), text}) ==
                   0;
        });
        std::printf("wtype -d %d: exact in %d of %d runs%s", delay, exact, exact < Runs ? exact + 1 : Runs,
                    exact == Runs ? "" : " (stopped at the first inexact run)");
        if (exact == Runs) {
            std::printf(", best %.0f chars/s\n", rate);
            floorDelay = delay;
            floorRate = rate;
            break;
        }
        std::printf("\n");
    }
    if (floorDelay < 0) {
        std::printf("wtype was exact at no delay tried; no ratio\n");
        return 1;
    }
    const double ratio = typerRate / floorRate;
    std::printf("ratio wayland key typer / wtype (lowest exact delay, -d %d): %.1fx (goal >= 10x)%s\n", floorDelay,
                ratio, typerExact == Runs ? "" : "  -- key typer NOT exact");
    return typerExact == Runs && ratio >= 10 ? 0 : 1;
}
