// The program on a real Wayland compositor, a headless sway: the title screen, the main window
// and dragging it by its title area, which there only the compositor can do.
#include "Artefacts.h"
#include "ControlPlaces.h"
#include "EndWithParent.h"
#include "ProgramRun.h"
#include "ScreenPixels.h"
#include "VirtualPointer.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <optional>
#include <unistd.h>

namespace tivla::e2e {

namespace {

constexpr QSize kScreen{1280, 1024};
constexpr int kPatienceMs = 15000;
// sway refuses to run as root: a test run as root runs it, and the program, as nobody.
constexpr uint kNobody = 65534;
const QString kTitlePicture = QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/title.png");

// Where the program's windows are: the rectangles of its nodes in sway's tree.
void collectWindows(const QJsonObject& node, QList<QRect>* windows) {
    if (node.value(QStringLiteral("app_id")).toString() == QStringLiteral("tivla")) {
        const QJsonObject r = node.value(QStringLiteral("rect")).toObject();
        windows->append(QRect(
            r.value(QStringLiteral("x")).toInt(), r.value(QStringLiteral("y")).toInt(),
            r.value(QStringLiteral("width")).toInt(), r.value(QStringLiteral("height")).toInt()));
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray()) {
            collectWindows(child.toObject(), windows);
        }
    }
}

QRect windowOfSize(const QList<QRect>& windows, QSize size) {
    for (const QRect& window : windows) {
        if (window.size() == size) {
            return window;
        }
    }
    return {};
}

} // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void titleScreenMainWindowAndDragByTheTitle();
    void cleanupTestCase();

private:
    using Sight = std::function<bool(const QImage& screen, const QList<QRect>& windows)>;
    // Output of grim or swaymsg, run as the test's own user.
    QByteArray run(const QString& tool, const QStringList& arguments) const;
    bool see(const QString& step, const Sight& sight, QList<QRect>* windows = nullptr);

    // Who runs sway and the program when the test runs as root; nobody else otherwise.
    std::optional<uint> otherUser_;
    QTemporaryDir runtime_;
    QProcess sway_;
    QString socket_;
    QString ipcSocket_;
    std::unique_ptr<VirtualPointer> pointer_;
    Artefacts artefacts_;
};

void WaylandTest::initTestCase() {
    for (const char* tool : {"sway", "swaymsg", "grim"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("not installed: %1 (Debian: sway grim)").arg(tool)));
        }
    }
    if (::geteuid() == 0) {
        otherUser_ = kNobody;
    }
    QProcess probe;
    endWithParent(probe, otherUser_);
    probe.start(QStringLiteral("true"), {});
    if (!probe.waitForFinished(kPatienceMs) || probe.exitCode() != 0) {
        QSKIP("sway refuses to run as root, and this root cannot become user 65534 (nobody)");
    }
    QVERIFY(runtime_.isValid());
    const QDir runtime(runtime_.path());
    QFile config(runtime.filePath(QStringLiteral("sway.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("output HEADLESS-1 resolution 1280x1024 position 0 0\n"
                 "xwayland disable\n");
    config.close();
    const uint owner = otherUser_.value_or(::geteuid());
    QVERIFY(::chown(QFile::encodeName(runtime.path()).constData(), owner, owner) == 0);

    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    sway_.setProcessEnvironment(environment);
    sway_.setWorkingDirectory(runtime.path());
    endWithParent(sway_, otherUser_);
    artefacts_ = Artefacts(QStringLiteral(TIVLA_E2E_ARTEFACTS), QStringLiteral("WaylandTest"),
                           QStringLiteral("sway"));
    sway_.setStandardOutputFile(artefacts_.filePath(QStringLiteral("sway.log")));
    sway_.setProcessChannelMode(QProcess::MergedChannels);
    sway_.start(QStringLiteral("sway"), {QStringLiteral("-c"), config.fileName()});
    QVERIFY2(sway_.waitForStarted(kPatienceMs), qPrintable(sway_.errorString()));
    const QDeadlineTimer deadline(kPatienceMs);
    while ((socket_.isEmpty() || ipcSocket_.isEmpty()) && !deadline.hasExpired() &&
           sway_.state() == QProcess::Running) {
        QTest::qWait(50);
        // The sockets: "wayland-N" for clients, "sway-ipc.*.sock" for swaymsg.
        for (const QString& name : runtime.entryList(QDir::System)) {
            if (name.startsWith(QStringLiteral("wayland-"))) {
                socket_ = runtime.filePath(name);
            } else {
                ipcSocket_ = runtime.filePath(name);
            }
        }
    }
    QVERIFY2(!socket_.isEmpty() && !ipcSocket_.isEmpty(),
             qPrintable(QStringLiteral("sway did not start; see %1").arg(artefacts_.folder())));
    pointer_ = std::make_unique<VirtualPointer>(socket_, kScreen);
    QVERIFY2(pointer_->error().isEmpty(), qPrintable(pointer_->error()));
}

void WaylandTest::cleanupTestCase() {
    pointer_.reset();
    sway_.terminate();
    if (!sway_.waitForFinished(kPatienceMs)) {
        sway_.kill();
        sway_.waitForFinished(kPatienceMs);
    }
}

QByteArray WaylandTest::run(const QString& tool, const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), socket_);
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    process.waitForFinished(kPatienceMs);
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

bool WaylandTest::see(const QString& step, const Sight& sight, QList<QRect>* windows) {
    const QDeadlineTimer deadline(kPatienceMs);
    QImage screen;
    for (bool seen = false; !seen;) {
        if (deadline.hasExpired()) {
            artefacts_.keep(screen, step);
            qWarning().noquote() << "not seen:" << step;
            return false;
        }
        QList<QRect> found;
        const QJsonDocument tree = QJsonDocument::fromJson(
            run(QStringLiteral("swaymsg"), {QStringLiteral("-s"), ipcSocket_, QStringLiteral("-t"),
                                            QStringLiteral("get_tree")}));
        collectWindows(tree.object(), &found);
        screen = QImage::fromData(run(QStringLiteral("grim"), {QStringLiteral("-")}))
                     .convertToFormat(QImage::Format_RGB32);
        seen = !screen.isNull() && sight(screen, found);
        if (windows != nullptr) {
            *windows = found;
        }
    }
    artefacts_.keep(screen, step);
    return true;
}

void WaylandTest::titleScreenMainWindowAndDragByTheTitle() {
    artefacts_ = Artefacts(QStringLiteral(TIVLA_E2E_ARTEFACTS), QStringLiteral("WaylandTest"),
                           QString::fromLatin1(QTest::currentTestFunction()));
    ProgramRun program(QString(), 1, artefacts_.filePath(QStringLiteral("program.log")));
    program.setSetting(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    program.setSetting(QStringLiteral("WAYLAND_DISPLAY"), socket_);
    if (otherUser_) {
        program.runAs(*otherUser_);
    }
    const QString error = program.start();
    QVERIFY2(error.isEmpty(), qPrintable(error));

    // The compositor places the windows: the title picture is wherever sway put the window.
    const QImage title = QImage(kTitlePicture).convertToFormat(QImage::Format_RGB32);
    const Sight titleScreen = [&](const QImage& screen, const QList<QRect>& found) {
        const QRect window = windowOfSize(found, places::kTitleScreen.size());
        return !window.isNull() && !firstDifference(screen, window, title, QPoint(0, 0));
    };
    QList<QRect> windows;
    QVERIFY(see(QStringLiteral("title screen"), titleScreen, &windows));
    pointer_->click(windowOfSize(windows, places::kTitleScreen.size()).center());

    // The board's orange from the window's corner, and something else beyond it.
    const auto mainWindowAt = [](const QImage& screen, const QRect& window) {
        return !window.isNull() && screen.pixel(window.topLeft()) == kBoardOrange &&
               screen.pixel(window.topLeft() - QPoint(1, 1)) != kBoardOrange;
    };
    const Sight mainWindowAlone = [&](const QImage& screen, const QList<QRect>& found) {
        return found.size() == 1 &&
               mainWindowAt(screen, windowOfSize(found, places::kMainWindowAtStart));
    };
    QVERIFY(see(QStringLiteral("main window"), mainWindowAlone, &windows));

    // A press on the title area, clear of its caption and buttons, carries the window along.
    const QRect dragged = windows.first().translated(-120, 90);
    const QPoint grip = windows.first().topLeft() + places::kTitleArea + QPoint(150, 5);
    pointer_->drag(grip, grip + dragged.topLeft() - windows.first().topLeft());
    const Sight mainWindowDragged = [&](const QImage& screen, const QList<QRect>& found) {
        return found == QList<QRect>{dragged} && mainWindowAt(screen, dragged);
    };
    QVERIFY(see(QStringLiteral("main window dragged"), mainWindowDragged));

    // The buttons on the title area keep their presses.
    pointer_->click(dragged.topLeft() + places::centre(places::kExitButton));
    QVERIFY(program.waitForExit(kPatienceMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::WaylandTest)
#include "WaylandTest.moc"
