// The reference for the start-up measurement: the least a Qt Widgets program
// does to show a 640 x 480 window.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(640, 480);
    window.show();
    return QApplication::exec();
}
