// Repainting the main window while it shows a list whose name, description, update
// address, a heading and a key are each 1 MiB long (NUL bytes, as in a broken file),
// against the same window showing an ordinary list. Full repaints and resizes, best of
// several rounds, both windows in the same run; the goal is a ratio of 2 or less.
#include "main/fmain.h"
#include "catalogue/keylistpane.h"
#include "fakeservices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int Rounds = 5;

struct ListWindow {
    QTemporaryDir program;
    platform::fake::FakeServiceSet fakes;
    std::unique_ptr<FMain> main;

    explicit ListWindow(const QByteArray &line)
    {
        QDir(program.path()).mkdir(QStringLiteral("tuveldbox"));
        QFile f(program.filePath(QStringLiteral("tuveldbox/list.txt")));
        if (f.open(QIODevice::WriteOnly))
            f.write(line + "\r\n" + line + "\r\n" + line + "\r\n#[" + line + "\r\nkey\r\n" + line + "\r\n");
        f.close();
        common::AppInfo app;
        app.programFolder = QDir::toNativeSeparators(program.path());
        app.title = QStringLiteral("tuvelv");
        main = std::make_unique<FMain>(fakes.services(), app);
        main->show();
        main->keyList()->openCurrentList();
        QApplication::processEvents();
    }
};

// One full repaint at each of a few sizes, as a user dragging the window edge causes.
double repaintMs(FMain &window)
{
    double best = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        for (int width : {400, 520, 640}) {
            window.resize(width, 300);
            QApplication::processEvents();
            window.grab();
        }
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    ListWindow ordinary(QByteArray("ordinary list text"));
    ListWindow hostile(QByteArray(1024 * 1024, '\0'));
    repaintMs(*ordinary.main);  // warm up fonts and caches for both
    const double ordinaryMs = repaintMs(*ordinary.main);
    const double hostileMs = repaintMs(*hostile.main);
    const double ratio = hostileMs / ordinaryMs;
    std::printf("three resizes and repaints: ordinary list %.1f ms, 1 MiB lines %.1f ms (%.1f ms each), "
                "ratio %.2f (goal <= 2.00)\n",
                ordinaryMs, hostileMs, hostileMs / 3, ratio);
    return ratio <= 2.0 ? 0 : 2;
}
