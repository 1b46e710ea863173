// What the installation tests share: running a tool to its end, reading files, and listing
// an installed tree.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QProcess>

#include <set>

namespace tivla::e2e {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Outcome
run(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    int patienceMs = 60000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome outcome;
    if (process.waitForFinished(patienceMs) && process.exitStatus() == QProcess::NormalExit) {
        outcome.exitCode = process.exitCode();
    }
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    if (process.error() == QProcess::FailedToStart) {
        outcome.err = QStringLiteral("%1 did not start").arg(program).toUtf8();
    }
    return outcome;
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file and symbolic link below folder, as paths relative to it.
inline std::set<QString> filesBelow(const QString& folder) {
    std::set<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.insert(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

// The keys of a desktop (or thumbnailer) entry's main group, values as written.
inline QHash<QString, QString> desktopEntryKeys(const QString& path) {
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    for (const QByteArray& raw : contents(path).split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]") ||
                          line == QStringLiteral("[Thumbnailer Entry]");
        } else if (inMainGroup && line.contains(QLatin1Char('='))) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            keys.insert(line.left(equals), line.mid(equals + 1));
        }
    }
    return keys;
}

// The example boards and patterns in a folder of examples, as the installation picks them.
inline QStringList exampleNames(const QString& examplesFolder) {
    return QDir(examplesFolder)
        .entryList({QStringLiteral("*.txt"), QStringLiteral("*.rle"), QStringLiteral("*.cells"),
                    QStringLiteral("*.lif"), QStringLiteral("*.life")},
                   QDir::Files, QDir::Name);
}

// The files the installation puts below its prefix, apart from the example boards, whose
// names come from the examples folder.
inline std::set<QString> installedFiles(const QString& examplesFolder) {
    std::set<QString> files{
        QStringLiteral("bin/tivla"),
        QStringLiteral("bin/tivla-batch"),
        QStringLiteral("bin/tivla-launcher"),
        QStringLiteral("bin/tivla-thumbnail"),
        QStringLiteral("share/thumbnailers/tivla.thumbnailer"),
        QStringLiteral("share/applications/tivla.desktop"),
        QStringLiteral("share/icons/hicolor/scalable/apps/tivla.svg"),
        QStringLiteral("share/mime/packages/tivla.xml"),
        QStringLiteral("share/metainfo/io.github.tivla.Tivla.metainfo.xml"),
        QStringLiteral("share/man/man1/tivla.1.gz"),
        QStringLiteral("share/man/man1/tivla-batch.1.gz"),
        QStringLiteral("share/man/man1/tivla-launcher.1.gz"),
        QStringLiteral("share/man/man1/tivla-thumbnail.1.gz"),
        QStringLiteral("share/man/ru/man1/tivla.1.gz"),
        QStringLiteral("share/doc/tivla/copyright"),
        QStringLiteral("share/doc/tivla/changelog.gz"),
    };
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        files.insert(QStringLiteral("share/icons/hicolor/%1x%1/apps/tivla.png").arg(size));
    }
    for (const QString& name : exampleNames(examplesFolder)) {
        files.insert(QStringLiteral("share/tivla/примеры/") + name);
    }
    return files;
}

} // namespace tivla::e2e
