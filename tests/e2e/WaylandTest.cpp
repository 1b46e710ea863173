// The program on a real Wayland compositor, a headless sway: the title screen, the main window
// and dragging it by its title area, which there only the compositor can do. sway's headless
// backend has no input devices (and `swaymsg seat - cursor` was tried: clients see nothing), so
// the test is the mouse itself, a client of sway's wlr-virtual-pointer protocol.
#include "Artefacts.h"
#include "ControlPlaces.h"
#include "EndWithParent.h"
#include "ProgramRun.h"
#include "ScreenPixels.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <cstring>
#include <unistd.h>
#include <wayland-client.h>

namespace tivla::e2e {

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kScreen{1280, 1024};
constexpr int kPatienceMs = 15000;
// sway refuses to run as root: a test run as root runs it as nobody.
const QStringList kAsNobody{u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s,
                            u"--clear-groups"_s, u"--pdeathsig=TERM"_s};

// Debian 12 packages no wlr-protocols XML to run wayland-scanner on, so zwlr_virtual_pointer_v1
// is written out as the scanner would, up to the last request used: only the requests' order
// and signatures matter to the client library, and those without objects need no types.
extern const wl_interface kPointerInterface;
// The client library takes the types as non-const but only reads them.
const wl_interface* const kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", const_cast<const wl_interface**>(kCreateTypes)}};
const wl_message kPointerRequests[] = {
    {"motion", "uff", nullptr}, {"motion_absolute", "uuuuu", nullptr},
    {"button", "uuu", nullptr}, {"axis", "uuf", nullptr},
    {"frame", "", nullptr},
};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 5,
                                        kPointerRequests,          0, nullptr};

enum Request : uint32_t { kCreate = 0, kMotionAbsolute = 1, kButton = 2, kFrame = 4 };
constexpr uint32_t kLeftButton = 0x110; // BTN_LEFT
constexpr int kStepPx = 10;
constexpr int kStepPauseMs = 15;
constexpr int kSettleMs = 150;

const wl_registry_listener kRegistryListener = {
    [](void* manager, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        if (std::strcmp(interface, kManagerInterface.name) == 0) {
            *static_cast<wl_proxy**>(manager) =
                static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
        }
    },
    [](void*, wl_registry*, uint32_t) {}};

// Where sway put the program's windows.
void collectWindows(const QJsonObject& node, QList<QRect>* windows) {
    const QJsonObject r = node[u"rect"].toObject();
    if (node[u"app_id"].toString() == QStringView(u"tivla")) {
        windows->append(
            {r[u"x"].toInt(), r[u"y"].toInt(), r[u"width"].toInt(), r[u"height"].toInt()});
    }
    for (const char16_t* children : {u"nodes", u"floating_nodes"}) {
        for (const QJsonValue child : node[children].toArray()) {
            collectWindows(child.toObject(), windows);
        }
    }
}

// Output of grim or swaymsg, empty if it failed.
QByteArray run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(kPatienceMs);
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

} // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void titleScreenMainWindowAndDragByTheTitle();
    void cleanupTestCase();

private:
    // Waits until sight says yes of a screenshot and of windows_, where the program's windows
    // are; keeps the last screenshot either way.
    bool see(const QString& step, const std::function<bool(const QImage&)>& sight);
    // Presses the left button at from, moves in small steps to to, releases there.
    void drag(QPoint from, QPoint to);
    void click(QPoint point) { drag(point, point); }
    // One request of the pointer, stamped with the time, and the frame that ends it; then a
    // pause for sway and the program to take it in.
    void send(int pauseMs, uint32_t request, auto... arguments) {
        wl_proxy_marshal_flags(pointer_, request, nullptr, 1, 0, uint32_t(clock_.elapsed()),
                               uint32_t(arguments)...);
        wl_proxy_marshal_flags(pointer_, kFrame, nullptr, 1, 0);
        wl_display_roundtrip(display_);
        QThread::msleep(pauseMs);
    }

    QTemporaryDir runtime_;
    QProcess sway_;
    QStringList sockets_;
    wl_display* display_ = nullptr;
    wl_proxy* pointer_ = nullptr;
    QElapsedTimer clock_;
    QList<QRect> windows_;
    Artefacts artefacts_;
};

void WaylandTest::initTestCase() {
    for (const char* tool : {"sway", "swaymsg", "grim"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            QSKIP(qPrintable(u"not installed: %1 (Debian: sway grim)"_s.arg(tool)));
        }
    }
    const QDir runtime(runtime_.path());
    QFile config(runtime.filePath(u"sway.conf"_s));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("output HEADLESS-1 resolution 1280x1024 position 0 0\nxwayland disable\n");
    config.close();
    QStringList sway{u"sway"_s, u"-c"_s, config.fileName()};
    if (::geteuid() == 0) {
        if (QProcess::execute(kAsNobody.first(), kAsNobody.mid(1) << u"true"_s) != 0) {
            QSKIP("sway refuses to run as root, and this root cannot become user 65534 (nobody)");
        }
        QVERIFY(::chown(QFile::encodeName(runtime.path()).constData(), 65534, 65534) == 0);
        sway = kAsNobody + sway;
    }

    QProcessEnvironment environment;
    environment.insert(u"PATH"_s, qEnvironmentVariable("PATH"));
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    environment.insert(u"WLR_BACKENDS"_s, u"headless"_s);
    environment.insert(u"WLR_RENDERER"_s, u"pixman"_s);
    sway_.setProcessEnvironment(environment);
    endWithParent(sway_);
    artefacts_ = Artefacts(QStringLiteral(TIVLA_E2E_ARTEFACTS), u"WaylandTest"_s, u"sway"_s);
    sway_.setStandardOutputFile(artefacts_.filePath(u"sway.log"_s));
    sway_.setProcessChannelMode(QProcess::MergedChannels);
    sway_.start(sway.takeFirst(), sway);
    // Its sockets, by name: "sway-ipc.*" for swaymsg, then "wayland-N" for clients.
    QTRY_VERIFY2_WITH_TIMEOUT((sockets_ = runtime.entryList(QDir::System, QDir::Name)).size() == 2,
                              qPrintable(artefacts_.folder()), kPatienceMs);
    sockets_.replaceInStrings(QRegularExpression(u"^"_s), runtime.path() + u'/');
    // For grim and swaymsg.
    qputenv("SWAYSOCK", QFile::encodeName(sockets_.at(0)));
    qputenv("WAYLAND_DISPLAY", QFile::encodeName(sockets_.at(1)));

    display_ = wl_display_connect(nullptr);
    QVERIFY(display_ != nullptr);
    wl_proxy* manager = nullptr;
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &kRegistryListener, &manager);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    QVERIFY2(manager != nullptr, kManagerInterface.name);
    pointer_ = wl_proxy_marshal_flags(manager, kCreate, &kPointerInterface, 1, 0, nullptr, nullptr);
    // Only the client's side: the pointer outlives it, and disconnecting ends both.
    wl_proxy_destroy(manager);
    clock_.start();
    wl_display_roundtrip(display_);
}

void WaylandTest::cleanupTestCase() {
    if (pointer_ != nullptr) {
        wl_proxy_destroy(pointer_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
    sway_.terminate();
    sway_.waitForFinished(kPatienceMs);
}

bool WaylandTest::see(const QString& step, const std::function<bool(const QImage&)>& sight) {
    const QDeadlineTimer deadline(kPatienceMs);
    QImage screen;
    bool seen = false;
    while (!seen && !deadline.hasExpired()) {
        windows_.clear();
        const QByteArray tree = run(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s});
        collectWindows(QJsonDocument::fromJson(tree).object(), &windows_);
        screen = QImage::fromData(run(u"grim"_s, {u"-"_s})).convertToFormat(QImage::Format_RGB32);
        seen = !screen.isNull() && sight(screen);
    }
    artefacts_.keep(screen, seen ? step : step + u" NOT SEEN"_s);
    return seen;
}

void WaylandTest::titleScreenMainWindowAndDragByTheTitle() {
    // No X display: the program shows itself through sway or not at all.
    ProgramRun program(QString(), 1, artefacts_.filePath(u"program.log"_s));
    program.setSetting(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    program.setSetting(u"WAYLAND_DISPLAY"_s, sockets_.at(1));
    const QString error = program.start();
    QVERIFY2(error.isEmpty(), qPrintable(error));

    // sway places the windows: the title picture is wherever it put the title screen.
    const QImage title = QImage(QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/title.png"))
                             .convertToFormat(QImage::Format_RGB32);
    QVERIFY(see(u"title screen"_s, [&](const QImage& screen) {
        return windows_.size() == 1 && windows_[0].size() == places::kTitleScreen.size() &&
               !firstDifference(screen, windows_[0], title, QPoint(0, 0));
    }));
    click(windows_[0].center());

    // The main window alone, the board's orange from its corner and something else beyond.
    QRect window;
    const auto mainWindowAt = [&](const QImage& screen) {
        return windows_.size() == 1 && windows_[0] == window &&
               screen.pixel(window.topLeft()) == kBoardOrange &&
               screen.pixel(window.topLeft() - QPoint(1, 1)) != kBoardOrange;
    };
    QVERIFY(see(u"main window"_s, [&](const QImage& screen) {
        window = windows_.value(0);
        return window.size() == places::kMainWindowAtStart && mainWindowAt(screen);
    }));

    // A press on the title area, clear of its caption and buttons, carries the window along.
    const QPoint grip = window.topLeft() + places::kTitleArea + QPoint(150, 5);
    window.translate(-120, 90);
    drag(grip, grip + QPoint(-120, 90));
    QVERIFY(see(u"main window dragged"_s, mainWindowAt));

    // The buttons on the title area keep their presses.
    click(window.topLeft() + places::centre(places::kExitButton));
    QVERIFY(program.waitForExit(kPatienceMs));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void WaylandTest::drag(QPoint from, QPoint to) {
    const QPoint travel = to - from;
    const int steps = qMax(1, qMax(qAbs(travel.x()), qAbs(travel.y())) / kStepPx);
    for (int i = 0; i <= steps; ++i) {
        const QPoint at = from + travel * i / steps;
        send(i == 0 || i == steps ? kSettleMs : kStepPauseMs, kMotionAbsolute, at.x(), at.y(),
             kScreen.width(), kScreen.height());
        if (i == 0) {
            send(kSettleMs, kButton, kLeftButton, WL_POINTER_BUTTON_STATE_PRESSED);
        }
    }
    send(kSettleMs, kButton, kLeftButton, WL_POINTER_BUTTON_STATE_RELEASED);
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::WaylandTest)
#include "WaylandTest.moc"
