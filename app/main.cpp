// Starts Тивла: the title screen first, the main window hidden behind it.
#include "Fonts.h"
#include "TForm1.h"
#include "TForm2.h"
#include "assets/Assets.h"

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>

int main(int, char* argv[]) {
    // The program reads no command line: Qt's own options (-reverse, -geometry...) stay out.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // Remembers nothing between runs: the file dialogs' history and sidebar settings go to a
    // folder that disappears with the program.
    const QTemporaryDir forgottenSettings;
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, forgottenSettings.path());
    }
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
