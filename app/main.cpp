// Starts Тивла: the title screen first, the main window hidden behind it.
#include "CommandLine.h"
#include "Fonts.h"
#include "TForm1.h"
#include "TForm2.h"
#include "assets/Assets.h"

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExitUsage = 2;

bool print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, bytes.size(), stream) ==
               static_cast<std::size_t>(bytes.size()) &&
           std::fflush(stream) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before Qt starts, so --help and a wrong command line need no display.
    // Taken as bytes: decoding would turn a name that is not UTF-8 into another name.
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QByteArray(argv[i]);
    }
    const tivla::CommandLine commandLine = tivla::parseCommandLine(arguments);
    switch (commandLine.action) {
    case tivla::CommandLine::Action::Help:
        return print(stdout, tivla::commandLineHelp()) ? 0 : 1;
    case tivla::CommandLine::Action::Version:
        return print(stdout, tivla::versionLine()) ? 0 : 1;
    case tivla::CommandLine::Action::Refuse:
        print(stderr, tivla::commandLineRefusal(commandLine.error));
        return kExitUsage;
    case tivla::CommandLine::Action::Run:
        break;
    }

    // Qt's own options (-reverse, -geometry...) stay out: Qt sees no command line.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // Remembers nothing between runs: the file dialogs' history and sidebar settings go to a
    // folder that disappears with the program.
    QTemporaryDir forgottenSettings;
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

    int status = 0;
    {
        tivla::TForm2 titleScreen;
        tivla::TForm1 mainWindow;
        titleScreen.setMainWindow(&mainWindow);
        titleScreen.setFileToOpen(commandLine.file);
        mainWindow.setTitleScreen(&titleScreen);
        titleScreen.show();
        status = QApplication::exec();
    }
    // Qt 6.8's Wayland plugin (Debian 13) can hang for good while it takes its connection down:
    // one of its event threads waits on a read another has given up, and the program, its
    // windows gone, never ends. Nothing of the program's is left to finish by now (every save
    // is complete when it returns), so on Wayland the process ends before that teardown.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        forgottenSettings.remove();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
