// Starts Тивла: the title screen first, the main window hidden behind it.
#include "Fonts.h"
#include "assets/Assets.h"
#include "TForm1.h"
#include "TForm2.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тивла"));
    QApplication::setApplicationDisplayName(QStringLiteral("Тивла"));
    // Lets desktops match the windows to the menu entry tivla.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("tivla"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Hidden windows are normal here (the title screen hides behind the main window); the
    // program ends when the title screen is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    tivla::installFonts();
    tivla::initAssets();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));

    tivla::TForm2 titleScreen;
    tivla::TForm1 mainWindow;
    titleScreen.setMainWindow(&mainWindow);
    mainWindow.setTitleScreen(&titleScreen);
    titleScreen.show();
    return QApplication::exec();
}
