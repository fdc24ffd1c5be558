// tuvelv.exe from the unzipped Windows folder, under Wine on the test display: it comes
// up, reads the sample data box and list.txt (CP932), and every catalogue row leads to
// its own list: the row is double-clicked, Ctrl+C copies the first key, and the
// clipboard must hold the first key the Linux build reads from that list.
// The screen is read by grabbing the X display; the window is driven with winprobe.
#include "winedriver.h"
#include "catalogue/catalogue.h"
#include "catalogue/keyfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

namespace {

const QString Viewer = QStringLiteral("exe:tuvelv.exe");
constexpr int VK_Up = 0x26, VK_Down = 0x28, VK_Control = 0x11, VK_C = 0x43;
// "UpData", the fourth button of the command bar in the band row below the menu
// buttons; the bands' heights are fixed in twips and the buttons carry icons only.
const QPoint UpDataButton(91, 62);

struct Band {
    int top = -1;
    int bottom = -1;
    bool valid() const { return top >= 0; }
};

QRect clientRect()
{
    const auto r = winedriver::probe({QStringLiteral("rect"), Viewer});
    const QStringList v = r.output.split(QLatin1Char(' '));
    if (r.exitCode != 0 || v.size() != 4)
        return {};
    return {v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()};
}

QImage grab(const QRect &area)
{
    QTest::qWait(500);  // let the window repaint
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

bool rowDiffers(const QImage &before, const QImage &after, int y, int x0, int x1)
{
    for (int x = x0; x <= x1; ++x)
        if (before.pixel(x, y) != after.pixel(x, y))
            return true;
    return false;
}

// The band of pixel rows in which the two pictures differ, within columns x0..x1,
// the lowest one (after Down) or the highest (after Up): it holds the row the
// selection left and, below or above it, the row it moved to. Invalid when nothing changed.
Band changedBand(const QImage &before, const QImage &after, int x0, int x1, bool lowest)
{
    Band band;
    const int step = lowest ? -1 : 1;
    int edge = -1;
    for (int y = lowest ? after.height() - 1 : 0; y >= 0 && y < after.height(); y += step) {
        if (rowDiffers(before, after, y, x0, x1)) {
            if (edge < 0)
                edge = y;
            band = {std::min(edge, y), std::max(edge, y)};
        } else if (edge >= 0 && std::abs(y - (lowest ? band.top : band.bottom)) > 2) {
            break;
        }
    }
    return band;
}

bool press(int key, int modifier = 0)
{
    QStringList arguments{QStringLiteral("key"), Viewer, QString::number(key)};
    if (modifier)
        arguments << QString::number(modifier);
    return winedriver::probe(arguments).exitCode == 0;
}

bool click(const QPoint &at, int times)
{
    return winedriver::probe({QStringLiteral("click"), Viewer, QString::number(at.x()), QString::number(at.y()),
                              QString::number(times)})
               .exitCode == 0;
}

}  // namespace

class TestTuvelvWine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyRowLeadsToItsList();
    void updateStartsKoxFromTheProgramFolder();

private:
    QHash<QString, int> rowByFirstKey;  // where each list's row was clicked
    QTemporaryDir dir;
    QString folder;
    QProcess viewer;
    QRect client;
};

void TestTuvelvWine::initTestCase()
{
    SKIP_UNLESS_WINDOWS_BUILD_MADE();
    QVERIFY(dir.isValid());
    QString why;
    folder = winedriver::unzipPackage(dir.path(), &why);
    QVERIFY2(!folder.isEmpty(), qPrintable(why));
    QElapsedTimer clock;
    clock.start();
    // list.txt names its lists relative to the current folder: start in the program's.
    winedriver::startBare(viewer, folder + QStringLiteral("/tuvelv.exe"), {}, folder);
    QVERIFY(viewer.waitForStarted(10000));
    const auto shown = winedriver::probe({QStringLiteral("wait"), Viewer, QStringLiteral("90000")});
    QVERIFY2(shown.exitCode == 0, "the viewer's window did not appear");
    qInfo("tuvelv.exe window up %lld ms after the start under Wine", static_cast<long long>(clock.elapsed()));
    // The splash closes itself; it would cover part of the window.
    QVERIFY(winedriver::probe({QStringLiteral("gone"), QStringLiteral("owned:tuvelv.exe"), QStringLiteral("30000")})
                .exitCode == 0);
    client = clientRect();
    QVERIFY(client.isValid());
    // Room for every row, so that no row scrolls.
    QVERIFY(winedriver::probe({QStringLiteral("place"), Viewer, QStringLiteral("60"), QStringLiteral("60"),
                               QStringLiteral("640"), QStringLiteral("480")})
                .exitCode == 0);
    QTest::qWait(1000);
    client = clientRect();
    QVERIFY(client.isValid());
}

void TestTuvelvWine::cleanupTestCase() { winedriver::stop(viewer, Viewer); }

void TestTuvelvWine::everyRowLeadsToItsList()
{
    // list.txt's lists are relative to the current folder, as the viewer sees them.
    QVERIFY(QDir::setCurrent(folder));
    QStringList expected;
    for (const CatalogueRecord &record : loadCatalogueRecords(folder)) {
        const KeyList keys = loadKeyList(record.location);
        expected << (keys.keys.count() > 0 ? keys.keys.text(0).toString() : QString());
    }
    QCOMPARE(expected.size(), 5);  // four in the data box, one from list.txt

    // The catalogue is the left third; a click below its rows gives it the focus.
    const int listWidth = client.width() / 3;
    QVERIFY(click({listWidth / 2, client.height() - 60}, 1));
    // Down to the last row and Up to the first: whether the click kept row 0 current
    // or not, every row is visited. A key that moves nothing is passed over.
    QStringList copied;
    QImage before = grab(client);
    const int moves[] = {VK_Down, VK_Down, VK_Down, VK_Down, VK_Down, VK_Up, VK_Up, VK_Up, VK_Up};
    for (int key : moves) {
        QVERIFY(press(key));
        // A narrow strip of the first column: the status bar's key count and the
        // heading box further right change too. A busy machine repaints late.
        const bool down = key == VK_Down;
        Band band;
        for (int attempt = 0; attempt < 6 && !band.valid(); ++attempt)
            band = changedBand(before, grab(client), 4, 60, down);
        if (!band.valid())
            continue;
        // A few pixels inside the far end of the band: the row moved to.
        QVERIFY(click({listWidth / 3, down ? band.bottom - 5 : band.top + 5}, 2));
        QVERIFY(press(VK_C, VK_Control));
        QTest::qWait(300);
        const auto clipboard = winedriver::probe({QStringLiteral("clipboard")});
        copied << clipboard.output;
        rowByFirstKey.insert(clipboard.output, down ? band.bottom - 5 : band.top + 5);
        qInfo("key %d: rows %d-%d, copied \"%s\"", key, band.top, band.bottom, qPrintable(clipboard.output));
        before = grab(client);
    }
    // Wine lists a folder in its own order, so rows are compared as a set.
    QStringList sortedCopied = copied, sortedExpected = expected;
    sortedCopied.sort();
    sortedCopied.removeDuplicates();
    sortedExpected.sort();
    QCOMPARE(sortedCopied, sortedExpected);
    // TUVEL_WINE_SCREENSHOT=file.png keeps a picture of the window as it ends.
    const QString shot = qEnvironmentVariable("TUVEL_WINE_SCREENSHOT");
    if (!shot.isEmpty())
        QVERIFY(grab(client).save(shot));
}

// The viewer starts kox.exe beside itself (CreateProcessW) for a list with an address.
void TestTuvelvWine::updateStartsKoxFromTheProgramFolder()
{
    int rowY = -1;
    for (const CatalogueRecord &record : loadCatalogueRecords(folder)) {
        const KeyList keys = loadKeyList(record.location);
        if (!record.list.address.isEmpty() && keys.keys.count() > 0)
            rowY = rowByFirstKey.value(keys.keys.text(0).toString(), -1);
        if (rowY >= 0)
            break;
    }
    QVERIFY2(rowY >= 0, "no row of a list with an update address was seen");
    QVERIFY(click({client.width() / 9, rowY}, 1));
    QVERIFY(click(UpDataButton, 1));
    const auto kox = winedriver::probe({QStringLiteral("wait"), QStringLiteral("kox ver"), QStringLiteral("60000")});
    QVERIFY2(kox.exitCode == 0, "no kox window after UpData");
    QVERIFY(winedriver::probe({QStringLiteral("close"), QStringLiteral("kox ver")}).exitCode == 0);
    QVERIFY(winedriver::probe({QStringLiteral("gone"), QStringLiteral("kox ver"), QStringLiteral("20000")}).exitCode ==
            0);
}

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    TestTuvelvWine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tuvelv_wine.moc"
