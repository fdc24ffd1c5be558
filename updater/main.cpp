#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kox"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("kox"));
    window.show();
    return application.exec();
}
