// Starts Тивла.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Тивла"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Тивла"));
    window.show();
    return QApplication::exec();
}
