// A window that takes typed text and mirrors it into a file, so a test can see
// exactly what arrived. Usage: tuvel_typing_sink OUTPUT_FILE
// OUTPUT_FILE.ready appears once the editor has the keyboard focus.
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

// Written beside the target and renamed over it, so a reader never sees half a file.
void writeWhole(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QLatin1String(".part");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(bytes);
    file.close();
    std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData());
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString output = QString::fromLocal8Bit(argv[1]);

    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("tuvel typing sink"));
    editor.setAccessibleName(QStringLiteral("受信テキスト"));
    editor.resize(600, 300);
    // One write once the pending input is handled, not one per keystroke.
    QTimer writer;
    writer.setSingleShot(true);
    writer.setInterval(0);
    QObject::connect(&writer, &QTimer::timeout, [&] { writeWhole(output, editor.toPlainText().toUtf8()); });
    QObject::connect(&editor, &QPlainTextEdit::textChanged, &writer, qOverload<>(&QTimer::start));
    writeWhole(output, QByteArray());

    // Ready once the window is active and the editor has the focus.
    QTimer readiness;
    QObject::connect(&readiness, &QTimer::timeout, [&] {
        if (editor.isActiveWindow() && editor.hasFocus()) {
            writeWhole(output + QLatin1String(".ready"), "ready");
            readiness.stop();
        } else {
            editor.activateWindow();
        }
    });
    readiness.start(20);

    editor.show();
    return app.exec();
}
