// The floor of the start-up benchmark: a bare Qt window, started and measured the
// same way as tuvelv.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 200);
    window.setWindowTitle(QStringLiteral("bare"));
    window.show();
    return application.exec();
}
