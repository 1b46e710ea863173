// The Debian package as a Debian system sees it: built by CPack into a scratch folder,
// unpacked there with dpkg-deb (never installed), its control fields and files checked, and
// then judged by lintian, appstreamcli, desktop-file-validate and a scratch copy of the MIME
// database. Needs no display.
#include "../e2e/InstalledTree.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace tivla::e2e {

namespace {

constexpr int kSlowToolMs = 300000;
const QString kVersion = QStringLiteral(TIVLA_VERSION);
const QString kExamples = QStringLiteral(TIVLA_EXAMPLES);

// Tool, and the Debian package that brings it.
const std::pair<const char*, const char*> kTools[] = {
    {"dpkg-deb", "dpkg"},
    {"dpkg-shlibdeps", "dpkg-dev"},
    {"lintian", "lintian"},
    {"appstreamcli", "appstream"},
    {"desktop-file-validate", "desktop-file-utils"},
    {"update-mime-database", "shared-mime-info"},
    {"gio", "libglib2.0-bin"},
};

// "Key: value" fields of a control file; continuation lines are left out.
QHash<QString, QString> controlFields(const QByteArray& control) {
    QHash<QString, QString> fields;
    for (const QByteArray& raw : control.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (!line.startsWith(QLatin1Char(' ')) && colon > 0) {
            fields.insert(line.left(colon), line.mid(colon + 1).trimmed());
        }
    }
    return fields;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class PackageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void controlFieldsDescribeThePackage();
    void filesAreThoseOfTheInstallWithStrictModes();
    void manualPagesNameTheVersion();
    void lintianFindsNoErrors();
    void metadataAndDesktopEntryValidate();
    void patternFilesGetTheirOwnTypes_data();
    void patternFilesGetTheirOwnTypes();

private:
    QString tool(const char* name) const {
        return QStandardPaths::findExecutable(QString::fromLatin1(name));
    }
    QString unpacked(const QString& relative) const {
        return QDir(scratch_.filePath(QStringLiteral("root"))).filePath(relative);
    }

    QTemporaryDir scratch_;
    QString deb_;
    QString mimeData_;
};

void PackageTest::initTestCase() {
    QStringList missing;
    for (const auto& [name, package] : kTools) {
        if (tool(name).isEmpty()) {
            missing << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(name),
                                                     QString::fromLatin1(package));
        }
    }
    if (!missing.isEmpty()) {
        QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));
    }
    QVERIFY(scratch_.isValid());
    const QString out = scratch_.filePath(QStringLiteral("out"));
    const Outcome built =
        run(QStringLiteral(TIVLA_CPACK),
            {QStringLiteral("--config"), QStringLiteral(TIVLA_BUILD_DIR "/CPackConfig.cmake"),
             QStringLiteral("-B"), out},
            QProcessEnvironment::systemEnvironment(), kSlowToolMs);
    QVERIFY2(built.exitCode == 0, built.out + built.err);

    const QString architecture =
        QString::fromUtf8(run(tool("dpkg"), {QStringLiteral("--print-architecture")}).out)
            .trimmed();
    deb_ = QDir(out).filePath(QStringLiteral("tivla_%1_%2.deb").arg(kVersion, architecture));
    QVERIFY2(QFileInfo::exists(deb_), qPrintable(deb_ + QStringLiteral(" was not made")));
    const Outcome extracted = run(tool("dpkg-deb"), {QStringLiteral("-x"), deb_, unpacked({})});
    QVERIFY2(extracted.exitCode == 0, extracted.err.constData());
}

void PackageTest::controlFieldsDescribeThePackage() {
    const Outcome control = run(tool("dpkg-deb"), {QStringLiteral("-f"), deb_});
    QCOMPARE(control.exitCode, 0);
    const QHash<QString, QString> fields = controlFields(control.out);
    QCOMPARE(fields.value(QStringLiteral("Package")), QStringLiteral("tivla"));
    QCOMPARE(fields.value(QStringLiteral("Version")), kVersion);
    QCOMPARE(fields.value(QStringLiteral("Section")), QStringLiteral("science"));
    QCOMPARE(fields.value(QStringLiteral("Priority")), QStringLiteral("optional"));
    QVERIFY(fields.value(QStringLiteral("Maintainer")).contains(QLatin1Char('@')));
    QVERIFY(fields.value(QStringLiteral("Installed-Size")).toInt() > 0);
    // Computed by dpkg-shlibdeps from what the programs link. Debian 13 renamed some libraries
    // for its 64-bit time (libpng16-16t64): either name is the same library.
    const QString depends = fields.value(QStringLiteral("Depends"));
    for (const QString& library :
         {QStringLiteral("libc6"), QStringLiteral("libstdc++6"), QStringLiteral("libqt6widgets6"),
          QStringLiteral("libqt6gui6"), QStringLiteral("libpng16-16"), QStringLiteral("libgif7")}) {
        const QString named = QRegularExpression::escape(library);
        const QRegularExpression dependency(QStringLiteral("(^|, )%1(t64)?( |,|$)").arg(named));
        QVERIFY2(dependency.match(depends).hasMatch(), qPrintable(depends));
    }
    QCOMPARE(fields.value(QStringLiteral("Recommends")), QStringLiteral("qt6-wayland"));
    QCOMPARE(fields.value(QStringLiteral("Description")),
             QStringLiteral("Conway's Game of Life on a bounded board"));
    const QString whole = QString::fromUtf8(control.out);
    QVERIFY(whole.contains(QStringLiteral("board\n Tivla (Тивла) is a desktop simulator")));
    QVERIFY(whole.contains(QStringLiteral("\n .\n Тивла — модель игры «Жизнь»")));
}

void PackageTest::filesAreThoseOfTheInstallWithStrictModes() {
    std::set<QString> expected;
    for (const QString& file : installedFiles(kExamples)) {
        expected.insert(QStringLiteral("usr/") + file);
    }
    QCOMPARE(filesBelow(unpacked({})), expected);

    // Modes and owners as the archive holds them.
    const Outcome listing = run(tool("dpkg-deb"), {QStringLiteral("-c"), deb_});
    QCOMPARE(listing.exitCode, 0);
    const QRegularExpression entry(QStringLiteral("^(\\S+) (\\S+)\\s.*\\./(\\S.*)$"));
    int files = 0;
    for (const QByteArray& raw : listing.out.split('\n')) {
        const QRegularExpressionMatch m = entry.match(QString::fromUtf8(raw));
        if (!m.hasMatch()) {
            continue;
        }
        const QString mode = m.captured(1);
        const QString path = m.captured(3);
        QCOMPARE(m.captured(2), QStringLiteral("root/root"));
        const QString wanted = mode.startsWith(QLatin1Char('d')) ? QStringLiteral("drwxr-xr-x")
                               : path.startsWith(QStringLiteral("usr/bin/"))
                                   ? QStringLiteral("-rwxr-xr-x")
                                   : QStringLiteral("-rw-r--r--");
        QVERIFY2(mode == wanted, qPrintable(mode + QLatin1Char(' ') + path));
        files += !mode.startsWith(QLatin1Char('d'));
    }
    QCOMPARE(files, int(expected.size()));

    for (const QString& program : {QStringLiteral("tivla"), QStringLiteral("tivla-batch"),
                                   QStringLiteral("tivla-thumbnail")}) {
        const Outcome sections =
            run(QStringLiteral("readelf"),
                {QStringLiteral("-S"), unpacked(QStringLiteral("usr/bin/") + program)});
        QCOMPARE(sections.exitCode, 0);
        QVERIFY2(!sections.out.contains(".symtab"),
                 qPrintable(program + QStringLiteral(" is not stripped")));
    }
}

void PackageTest::manualPagesNameTheVersion() {
    for (const QString& page :
         {QStringLiteral("man1/tivla.1.gz"), QStringLiteral("man1/tivla-batch.1.gz"),
          QStringLiteral("man1/tivla-launcher.1.gz"), QStringLiteral("man1/tivla-thumbnail.1.gz"),
          QStringLiteral("ru/man1/tivla.1.gz")}) {
        const Outcome text =
            run(QStringLiteral("gzip"),
                {QStringLiteral("-dc"), unpacked(QStringLiteral("usr/share/man/") + page)});
        QCOMPARE(text.exitCode, 0);
        const QByteArray header = text.out.left(text.out.indexOf('\n'));
        QVERIFY2(header.startsWith(".TH ") &&
                     header.contains(" \"tivla " + kVersion.toUtf8() + "\" "),
                 header.constData());
    }
}

void PackageTest::lintianFindsNoErrors() {
    const Outcome lintian = run(tool("lintian"),
                                {QStringLiteral("--fail-on"), QStringLiteral("error"),
                                 QStringLiteral("--tag-display-limit"), QStringLiteral("0"), deb_},
                                QProcessEnvironment::systemEnvironment(), kSlowToolMs);
    // What is left is shown, so that a new warning does not go unnoticed.
    if (!lintian.out.isEmpty()) {
        qInfo().noquote() << "lintian:\n" + QString::fromUtf8(lintian.out);
    }
    QVERIFY2(lintian.exitCode == 0, lintian.out + lintian.err);
    for (const QByteArray& line : lintian.out.split('\n')) {
        QVERIFY2(!line.startsWith("E: "), line.constData());
    }
}

void PackageTest::metadataAndDesktopEntryValidate() {
    const Outcome appstream =
        run(tool("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"),
             unpacked(QStringLiteral("usr/share/metainfo/" TIVLA_APP_ID ".metainfo.xml"))});
    QVERIFY2(appstream.exitCode == 0, appstream.out + appstream.err);

    const Outcome desktop = run(tool("desktop-file-validate"),
                                {unpacked(QStringLiteral("usr/share/applications/tivla.desktop"))});
    QVERIFY2(desktop.exitCode == 0 && desktop.out.isEmpty(), desktop.out + desktop.err);
}

void PackageTest::patternFilesGetTheirOwnTypes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("withPackage");
    QTest::addColumn<QString>("type");
    const QByteArray rle = "#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n";
    // Without the package's definition, Debian calls it a bitmap: the weight is what wins.
    QTest::newRow("rle, system only") << "glider.rle" << rle << false << "image/rle";
    QTest::newRow("rle") << "glider.rle" << rle << true << "application/x-life-rle";
    QTest::newRow("rle without comment")
        << "глайдер.rle" << QByteArray("x = 3, y = 3\nbo$2bo$3o!\n") << true
        << "application/x-life-rle";
    QTest::newRow("rle content, no extension")
        << "glider" << rle << true << "application/x-life-rle";
    QTest::newRow("cells") << "glider.cells" << QByteArray("!Name: Glider\n.O\n..O\nOOO\n") << true
                           << "application/x-life-cells";
    QTest::newRow("life 1.06") << "glider.lif"
                               << QByteArray("#Life 1.06\n1 0\n2 1\n0 2\n1 2\n2 2\n") << true
                               << "application/x-life-lif";
    QTest::newRow("life 1.05") << "glider.life" << QByteArray("#Life 1.05\n#P 0 0\n.*\n..*\n***\n")
                               << true << "application/x-life-lif";
    QTest::newRow("board file stays text")
        << "доска.txt" << QByteArray("2\r\n0\r\n1\r\n") << true << "text/plain";
}

void PackageTest::patternFilesGetTheirOwnTypes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(bool, withPackage);
    QFETCH(QString, type);
    // A MIME database of the system's own definitions, and the package's when asked for,
    // built in the scratch folder and the only one the query sees.
    QTemporaryDir data(scratch_.filePath(QStringLiteral("data-XXXXXX")));
    QVERIFY(data.isValid());
    const QDir packages(data.filePath(QStringLiteral("mime/packages")));
    QVERIFY(packages.mkpath(QStringLiteral(".")));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                        packages.filePath(QStringLiteral("freedesktop.org.xml"))));
    if (withPackage) {
        QVERIFY(QFile::copy(unpacked(QStringLiteral("usr/share/mime/packages/tivla.xml")),
                            packages.filePath(QStringLiteral("tivla.xml"))));
    }
    const Outcome updated =
        run(tool("update-mime-database"), {data.filePath(QStringLiteral("mime"))});
    QVERIFY2(updated.exitCode == 0, updated.err.constData());

    const QString file = data.filePath(name);
    QVERIFY(writeFile(file, text));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), data.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.filePath(QStringLiteral("home")));
    const Outcome info = run(tool("gio"),
                             {QStringLiteral("info"), QStringLiteral("--attributes"),
                              QStringLiteral("standard::content-type"), file},
                             environment);
    QVERIFY2(info.exitCode == 0, info.err.constData());
    const QRegularExpressionMatch found =
        QRegularExpression(QStringLiteral("standard::content-type: (\\S+)"))
            .match(QString::fromUtf8(info.out));
    QVERIFY2(found.hasMatch(), info.out.constData());
    QCOMPARE(found.captured(1), type);
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::PackageTest)
#include "PackageTest.moc"
