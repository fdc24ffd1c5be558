// Start-up of tuvelv against a floor window, each started N times in turn: the time
// from fork to the first MapNotify of a top-level window (a child of the root, seen by
// selecting SubstructureNotify on the root) and the peak resident memory (wait4).
// tuvelv runs from a copy of the program folder whose data box holds 1,000 generated
// lists. The floor is the work any viewer of that box does: a bare Qt window that
// reads the head of each list (open, read, stat) before it shows, and shows Japanese
// text in the three faces tuvelv's main window shows (regular, the lists' monospaced
// one, bold), set up by the viewer's own font functions. Goals: tuvelv's main window
// (mapped after its splash) at most 1.3x the floor's first map, peak memory at most
// 1.2x. For information, the old floor: the same window with one Japanese line only.
// The time goal is the median of each round's own ratio: a round starts the four
// programs one after the other, so both sides of a ratio see the same machine.
// Run as: scripts/with-display.sh build/bench/bin/bench_startup [N [lists]]
#include "databox.h"
#include "goal.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int ListCount = 1000;
constexpr int SettleMs = 400;  // after the first map: later windows, first paint, idle
constexpr int GiveUpMs = 15000;

struct Run {
    double mapMs = -1;      // -1: no window was mapped in time
    double lastMapMs = -1;  // the last top-level window mapped while settling
    double peakMiB = 0;
};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The program folder as a user unpacks it, with its data box replaced.
bool copyProgramFolder(const QString &from, const QString &to)
{
    QDirIterator entries(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        const QString relative = QDir(from).relativeFilePath(path);
        if (relative.startsWith(QStringLiteral("tuveldbox/")))
            continue;
        const QString target = to + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(path, target))
            return false;
    }
    return makeDataBox(to + QStringLiteral("/tuveldbox"), ListCount);
}

// The title of a mapped top-level window or of the client inside its frame.
QByteArray titleOf(Display *display, Window window)
{
    char *name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        const QByteArray title(name);
        XFree(name);
        return title;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    QByteArray title;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && title.isEmpty(); ++i)
            title = titleOf(display, children[i]);
        XFree(children);
    }
    return title;
}

void drain(Display *display)
{
    XSync(display, False);
    XEvent event;
    while (XPending(display))
        XNextEvent(display, &event);
}

Run startOnce(Display *display, const QByteArray &program, std::vector<QByteArray> arguments = {})
{
    drain(display);
    Run run;
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char *> argv{const_cast<char *>(program.constData())};
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.constData(), argv.data());
        _exit(127);
    }
    if (child < 0)
        return run;
    const int fd = ConnectionNumber(display);
    while (run.mapMs < 0 && nowMs() - start < GiveUpMs) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && run.mapMs < 0) {
                run.mapMs = nowMs() - start;
                if (qEnvironmentVariableIsSet("BENCH_STARTUP_VERBOSE"))
                    std::fprintf(stderr, "%s: mapped \"%s\"%s after %.1f ms\n", program.constData(),
                                 titleOf(display, event.xmap.window).constData(),
                                 event.xmap.override_redirect ? " (override-redirect)" : "", run.mapMs);
            }
        }
        if (run.mapMs >= 0)
            break;
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, 50);
        if (waitpid(child, nullptr, WNOHANG) == child)
            return run;  // ended without a window
    }
    run.lastMapMs = run.mapMs;
    const double settled = nowMs() + SettleMs;
    while (nowMs() < settled) {
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, 10);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                run.lastMapMs = nowMs() - start;
        }
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.peakMiB = usage.ru_maxrss / 1024.0;  // KiB on Linux
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct Series {
    std::vector<double> ms, lastMs, mib;
    std::vector<double> ratio;  // main window / a floor window, each round on its own
    void add(const Run &run)
    {
        ms.push_back(run.mapMs);
        lastMs.push_back(run.lastMapMs);
        mib.push_back(run.peakMiB);
    }
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    if (argc > 2)
        ListCount = std::max(0, atoi(argv[2]));
    // TUVEL_BENCH_APP_DIR: another build's program folder, to compare two builds.
    const QString appDir = qEnvironmentVariable("TUVEL_BENCH_APP_DIR", QStringLiteral(TUVEL_APP_DIR));
    qunsetenv("QT_QPA_PLATFORM");  // the real X server, not offscreen

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display: run under scripts/with-display.sh\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    QTemporaryDir folder;
    if (!copyProgramFolder(appDir, folder.path())) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(appDir));
        return 1;
    }
    const QByteArray viewer = QFile::encodeName(folder.filePath(QStringLiteral("tuvelv")));
    const QByteArray bare = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/bare_window"));

    const QByteArray box = QFile::encodeName(folder.filePath(QStringLiteral("tuveldbox")));
    Series viewerRuns, bareRuns, labelRuns, floorRuns;
    startOnce(display, bare);  // warm the caches for both
    startOnce(display, viewer);
    for (int i = 0; i < rounds; ++i) {
        const Run b = startOnce(display, bare);
        const Run v = startOnce(display, viewer);
        const Run l = startOnce(display, bare, {"--label"});
        const Run f = startOnce(display, bare, {"--faces", "--box", box});
        if (b.mapMs < 0 || v.mapMs < 0 || l.mapMs < 0 || f.mapMs < 0) {
            std::fprintf(stderr, "a program mapped no window (bare %.0f, tuvelv %.0f, label %.0f, floor %.0f)\n",
                         b.mapMs, v.mapMs, l.mapMs, f.mapMs);
            return 1;
        }
        bareRuns.add(b);
        viewerRuns.add(v);
        labelRuns.add(l);
        floorRuns.add(f);
        // Paired within the round: the machine's speed drifts over a run (a shared
        // virtual machine by as much as twice), and a round's four starts see the same.
        viewerRuns.ratio.push_back(v.lastMapMs / f.mapMs);
        labelRuns.ratio.push_back(v.lastMapMs / l.mapMs);
    }
    XCloseDisplay(display);

    const double viewerMiB = median(viewerRuns.mib), labelMiB = median(labelRuns.mib);
    const double floorMs = median(floorRuns.ms), floorMiB = median(floorRuns.mib);
    // tuvelv maps its splash first, its main window once the catalogue is built.
    const double mainMs = median(viewerRuns.lastMs);
    std::printf("start-up to first map, %d lists, median of %d runs each\n", ListCount, rounds);
    std::printf("bare Qt window:                    %7.1f ms  %6.1f MiB peak (information)\n", median(bareRuns.ms),
                median(bareRuns.mib));
    std::printf("bare window with a Japanese label: %7.1f ms  %6.1f MiB peak (information)\n", median(labelRuns.ms),
                labelMiB);
    std::printf("floor: data box read, three faces: %7.1f ms  %6.1f MiB peak\n", floorMs, floorMiB);
    std::printf("tuvelv, splash:                    %7.1f ms  %6.1f MiB peak\n", median(viewerRuns.ms), viewerMiB);
    std::printf("tuvelv, main window:               %7.1f ms\n", mainMs);
    std::printf("main window / floor, ratio of the medians: %.2f (information)\n", mainMs / floorMs);
    std::printf("main window / label window, median of the rounds' ratios: %.2f, peak memory %.2f (information)\n",
                median(labelRuns.ratio), viewerMiB / labelMiB);
    bool met = reportGoal("start-up: main window mapped / floor window, median of the rounds' ratios",
                          median(viewerRuns.ratio), true, 1.3);
    met &= reportGoal("start-up: peak memory / floor window", viewerMiB / floorMiB, true, 1.2);
    return met ? 0 : 2;
}
