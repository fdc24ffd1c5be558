// The floor of the start-up benchmark: a bare Qt window, started and measured the
// same way as tuvelv.
#include "main/viewerfont.h"

#include <QApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QWidget>

namespace {

// The least any program showing a catalogue does first: open each list of the box,
// read its head and stat it.
int readBox(const QString &box)
{
    int read = 0;
    char block[4096];
    QDirIterator names(box, QDir::Files);
    while (names.hasNext()) {
        QFile f(names.next());
        if (f.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && f.read(block, sizeof block) > 0 &&
            QFileInfo(f.fileName()).lastModified().isValid())
            ++read;
    }
    return read;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QWidget window;
    window.resize(400, 200);
    window.setWindowTitle(QStringLiteral("bare"));
    // With --label: the same window showing one Japanese line, so that it pays
    // for the font set-up that any window with text does.
    if (arguments.contains(QStringLiteral("--label")))
        (new QLabel(QStringLiteral("いつもお世話になっております。"), &window))->move(8, 8);
    // With --faces: Japanese lines in the three faces tuvelv's main window shows (the
    // regular one, the lists' monospaced one, the title band's bold one), from the
    // viewer's own font functions, so that the window sets up the same fonts.
    if (arguments.contains(QStringLiteral("--faces"))) {
        const QFont faces[] = {QFont(), viewerListFont(), viewerTitleFont()};
        for (int i = 0; i < 3; ++i) {
            auto *line = new QLabel(QStringLiteral("いつもお世話になっております。"), &window);
            line->setFont(faces[i]);
            line->move(8, 8 + 24 * i);
        }
    }
    // With --box FOLDER: it reads a data box first, as tuvelv does before its window.
    if (const qsizetype box = arguments.indexOf(QStringLiteral("--box")); box > 0 && box + 1 < arguments.size())
        window.setProperty("lists", readBox(arguments.at(box + 1)));
    window.show();
    return application.exec();
}
