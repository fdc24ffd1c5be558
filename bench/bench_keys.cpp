// Loading a list of a million keys (about 30 MB of CP932) until the key list can show
// it, against the floor of reading and decoding the same file with the codec alone.
// Goals: time ratio <= 1.5, peak memory increase <= 2x the decoded text.
#include "catalogue/keyfile.h"
#include "catalogue/keylistmodel.h"
#include "main/fmain.h"
#include "catalogue/keylistpane.h"
#include "cp932.h"
#include "fakeservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int KeyCount = 1000000;

// Writes the list a chunk at a time, so that no big buffer shapes the heap before
// the measurement.
bool writeList(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // Shift-JIS pieces: hiragana, katakana, kanji, full-width signs.
    const QByteArray jp[] = {"\x82\xa0\x82\xa2\x82\xa4", "\x83\x4c\x81\x5b",         "\x8a\xbf\x8e\x9a",
                             "\x93\xfa\x96\x7b\x8c\xea", "\x81\x69\x8a\x94\x81\x6a", "\x81\x7b\x81\x93"};
    const QByteArray ascii[] = {"hello", "key+", "(a)", " tab\t", "user@example.jp", "12345"};
    QByteArray chunk("Bench list\r\ndescription\r\nhttp://127.0.0.1/list.txt\r\n");
    quint32 seed = 12345;
    for (int i = 0; i < KeyCount; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (i % 500 == 0)
            chunk += "#[";
        const int pieces = 3 + int((seed >> 16) % 4);
        for (int p = 0; p < pieces; ++p) {
            const quint32 r = (seed >> (p * 3)) % 12;
            chunk += r < 6 ? jp[r] : ascii[r - 6];
        }
        chunk += "\r\n";
        if (chunk.size() > 60000) {
            if (f.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return f.write(chunk) == chunk.size();
}

qint64 procStatusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Resets the peak resident size to the current one; false where the kernel cannot.
bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double bestMs(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = qMin(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keys.txt"));
    if (!writeList(path))
        return 1;
    const qint64 fileBytes = QFileInfo(path).size();

    // Memory first, in a fresh process state: the peak while loading into the model.
    qint64 peakKb = -1, retainedKb = -1;
    {
        KeyListModel model;
        const bool peakReset = resetPeak();
        const qint64 rssBefore = procStatusKb("VmRSS:");
        model.setRows(loadKeyList(path).keys);
        if (peakReset)
            peakKb = procStatusKb("VmHWM:") - rssBefore;
        retainedKb = procStatusKb("VmRSS:") - rssBefore;
        if (model.count() != KeyCount)
            std::printf("unexpected key count %d\n", model.count());
    }

    // Best of five, the two taken in turns so that a busy machine hurts both alike.
    qint64 decodedChars = 0;
    double floorMs = 1e300, loadMs = 1e300;
    for (int run = 0; run < 5; ++run) {
        floorMs = qMin(floorMs, bestMs(1, [&] {
                           QFile f(path);
                           if (f.open(QIODevice::ReadOnly))
                               decodedChars = common::cp932::decode(f.readAll()).size();
                       }));
        loadMs = qMin(loadMs, bestMs(1, [&] {
                          KeyListModel model;
                          model.setRows(loadKeyList(path).keys);
                      }));
    }

    // The whole window path, for information: KeyListPane::LoadKeys in an offscreen window.
    platform::fake::FakeServiceSet fakes;
    common::AppInfo app;
    app.programFolder = dir.path();
    app.title = QStringLiteral("bench");
    FMain window(fakes.services(), app);
    window.show();
    qapp.processEvents();
    const double windowMs = bestMs(3, [&] {
        window.keyList()->LoadKeys(path);
        qapp.processEvents();
    });

    const double decodedBytes = 2.0 * decodedChars;
    std::printf("keys: %d, file %.1f MB, decoded text %.1f MB\n", KeyCount, fileBytes / 1e6, decodedBytes / 1e6);
    std::printf("floor (read + common::cp932::decode whole file): %8.1f ms\n", floorMs);
    std::printf("load  (loadKeyList + model setRows):     %8.1f ms  ratio %.2f (goal <= 1.5)\n", loadMs,
                loadMs / floorMs);
    std::printf("window (KeyListPane::LoadKeys, offscreen):%8.1f ms  ratio %.2f (information)\n", windowMs,
                windowMs / floorMs);
    if (peakKb >= 0)
        std::printf("peak RSS increase while loading: %.1f MB  ratio %.2f (goal <= 2.0)\n", peakKb * 1024 / 1e6,
                    peakKb * 1024 / decodedBytes);
    else
        std::printf("peak RSS increase: not measurable here (no /proc/self/clear_refs)\n");
    std::printf("RSS retained by the loaded model:  %.1f MB  ratio %.2f\n", retainedKb * 1024 / 1e6,
                retainedKb * 1024 / decodedBytes);
    return 0;
}
