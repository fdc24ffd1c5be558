// The floor of the start-up benchmark: a bare Qt window, started and measured the
// same way as tuvelv.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 200);
    window.setWindowTitle(QStringLiteral("bare"));
    // With --label: the same window showing one Japanese line, so that it pays
    // for the font set-up that any window with text pays for.
    if (QApplication::arguments().contains(QStringLiteral("--label")))
        (new QLabel(QStringLiteral("いつもお世話になっております。"), &window))->move(8, 8);
    window.show();
    return application.exec();
}
