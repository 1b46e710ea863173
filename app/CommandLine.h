// The program's own command line: an optional board file to open, --help and --version. Qt's
// options (-reverse, -geometry...) are not among them: they are unknown options here.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace tivla {

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // Run: the file to open once the main window appears, or empty; the bytes of its name as
    // the system gave them, since a name in another encoding than UTF-8 has no QString.
    QByteArray file;
    // Refuse: what is wrong, for the short usage on standard error.
    QString error;
};

// Reads the arguments after the program's name, as bytes. "--" ends the options, so a file
// name may start with a dash.
CommandLine parseCommandLine(const QByteArrayList& arguments);

// --help's text.
QString commandLineHelp();
// --version's line.
QString versionLine();
// The short usage after a refused command line, starting with what is wrong.
QString commandLineRefusal(const QString& error);

} // namespace tivla
