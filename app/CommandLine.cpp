// See CommandLine.h.
#include "CommandLine.h"

#include <QFile>

namespace tivla {

CommandLine parseCommandLine(const QByteArrayList& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (const QByteArray& argument : arguments) {
        // Shown readably: bytes that are not UTF-8 read as replacement characters.
        const QString shown = QFile::decodeName(argument);
        if (!optionsEnded && argument.startsWith('-') && argument.size() > 1) {
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--help") {
                return {CommandLine::Action::Help, {}, {}};
            } else if (argument == "--version") {
                return {CommandLine::Action::Version, {}, {}};
            } else {
                return {CommandLine::Action::Refuse,
                        {},
                        QStringLiteral("unknown option %1").arg(shown)};
            }
            continue;
        }
        if (!line.file.isEmpty()) {
            return {CommandLine::Action::Refuse,
                    {},
                    QStringLiteral("only one file can be opened, not %1 as well").arg(shown)};
        }
        if (argument.isEmpty()) {
            return {CommandLine::Action::Refuse, {}, QStringLiteral("the file name is empty")};
        }
        line.file = argument;
    }
    return line;
}

QString commandLineHelp() {
    return QStringLiteral(
        "Usage: tivla [FILE]\n"
        "\n"
        "Тивла, Conway's Game of Life on a bounded board of 40 to 200 cells a side, with a\n"
        "Russian interface. Opens the title screen; a click on it shows the main window.\n"
        "With FILE, the main window opens FILE as its open command would, as soon as it\n"
        "first appears; a file that cannot be read gets the open command's message box\n"
        "and the program goes on.\n"
        "\n"
        "Boards are opened and saved in the folder \"примеры\" and snapshots written to\n"
        "\"Скриншоты\", both in the current folder; tivla-launcher prepares ~/Тивла with both\n"
        "and starts the program there.\n"
        "\n"
        "Options:\n"
        "  --help      show this text\n"
        "  --version   show the version\n"
        "  --          end of options\n");
}

QString versionLine() {
    return QStringLiteral("tivla " TIVLA_VERSION "\n");
}

QString commandLineRefusal(const QString& error) {
    return QStringLiteral("tivla: %1\nUsage: tivla [--help] [--version] [FILE]\n").arg(error);
}

} // namespace tivla
