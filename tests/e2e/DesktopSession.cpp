// See DesktopSession.h.
#include "DesktopSession.h"

#include "ControlPlaces.h"
#include "ScreenPixels.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

namespace tivla::e2e {

namespace {

const QString kTitlePicture = QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/title.png");

} // namespace

DesktopSession::DesktopSession(const QString& suite, QSize screenSize, int scale)
    : suite_(suite), scale_(scale), display_(screenSize) {}

QString DesktopSession::skipReason() {
    const QStringList missing = XvfbDisplay::missingTools();
    if (missing.isEmpty()) {
        return {};
    }
    return QStringLiteral("not installed: %1 (Debian: xvfb xdotool imagemagick)")
        .arg(missing.join(QStringLiteral(", ")));
}

bool DesktopSession::startDisplay() {
    const QString error = display_.start();
    if (!error.isEmpty()) {
        return fail(error);
    }
    user_ = std::make_unique<DesktopUser>(display_.name());
    return true;
}

bool DesktopSession::launch(const QStringList& arguments) {
    why_.clear();
    artefacts_ = Artefacts(QStringLiteral(TIVLA_E2E_ARTEFACTS), suite_,
                           QString::fromLatin1(QTest::currentTestFunction()));
    program_ = std::make_unique<ProgramRun>(display_.name(), scale_,
                                            artefacts_.filePath(QStringLiteral("program.log")));
    const QString error = program_->start(arguments);
    if (!error.isEmpty()) {
        return fail(error);
    }
    return see(QStringLiteral("title screen"), [this](const QImage& screen) {
        const QRect title = titleScreenRect();
        // Xvfb's root is black, so the edges of a window show against it.
        return !isUniform(screen, title.adjusted(0, 0, 0, 1 - title.height()), kBlack) &&
               isUniform(screen, QRect(title.left() - 1, title.top(), 1, title.height()), kBlack);
    });
}

void DesktopSession::finish() {
    if (program_ == nullptr) {
        return;
    }
    if (user_ != nullptr && program_->isRunning()) {
        artefacts_.keep(user_->look(), QStringLiteral("last screen"));
    }
    program_->stop();
    qInfo().noquote() << "program log:" << artefacts_.filePath(QStringLiteral("program.log"));
}

bool DesktopSession::see(const QString& step, const DesktopUser::Sight& sight, QImage* screen,
                         int timeoutMs) {
    QImage last;
    const bool seen = user_->waitToSee(sight, timeoutMs, &last);
    if (screen != nullptr) {
        *screen = last;
    }
    if (seen) {
        artefacts_.keep(last, step);
        return true;
    }
    const QString path = artefacts_.keep(last, step + QStringLiteral(" NOT SEEN"));
    QString reason = QStringLiteral("not seen within %1 ms: %2 (last screen: %3)")
                         .arg(timeoutMs)
                         .arg(step, path);
    if (last.isNull()) {
        reason += QStringLiteral("; ") + user_->lastError();
    }
    if (!program_->isRunning()) {
        reason += QStringLiteral("; the program has ended with code %1").arg(program_->exitCode());
    }
    return fail(reason);
}

bool DesktopSession::openMainWindow(QImage* screen) {
    if (scale_ == 1) {
        // Drawn unscaled from its top-left corner and clipped by the window.
        const QImage title = QImage(kTitlePicture).convertToFormat(QImage::Format_RGB32);
        if (!see(QStringLiteral("title picture at 254,150"), [&](const QImage& s) {
                return !firstDifference(s, places::kTitleScreen, title, QPoint(0, 0));
            })) {
            return false;
        }
    }
    user_->click(titleScreenRect().center());
    const WindowOnScreen window = mainWindow();
    const GridOnScreen grid = window.grid(places::kStartCellSize);
    const QPoint titleOnly = titleScreenRect().topLeft() + QPoint(5, 5) * scale_;
    const bool titleUncovered =
        !window.rect(QRect(QPoint(0, 0), places::kMainWindowAtStart)).contains(titleOnly);
    return see(
        QStringLiteral("main window"),
        [&](const QImage& s) {
            const QRect area = window.rect(QRect(QPoint(0, 0), places::kMainWindowAtStart));
            const QRgb corner = s.pixel(area.topLeft());
            const QRgb outside = s.pixel(area.topLeft() - QPoint(1, 1));
            const QRgb line = s.pixel(grid.cellRect(1, 1).topLeft() - QPoint(1, 1));
            const bool titleGone = !titleUncovered || s.pixel(titleOnly) == kBlack;
            return corner == kBoardOrange && outside == kBlack && line == kLineSilver &&
                   grid.look(s, 5, 5) == GridOnScreen::Look::Dead && titleGone;
        },
        screen);
}

QRect DesktopSession::dialogWindow() const {
    // Tooltips are windows too, but small ones; a dialog is the largest other window.
    const QSize smallest = QSize(100, 50) * scale_;
    QRect largest;
    for (const QRect& window : user_->programWindows()) {
        if (window.topLeft() != mainWindow().logicalOrigin() * scale_ &&
            window.width() >= smallest.width() && window.height() >= smallest.height() &&
            window.width() * window.height() > largest.width() * largest.height()) {
            largest = window;
        }
    }
    return largest;
}

bool DesktopSession::seeDialog(const QString& step, QRect* dialog) {
    const QDeadlineTimer deadline(kPatienceMs);
    do {
        const QRect found = dialogWindow();
        if (!found.isEmpty()) {
            *dialog = found;
            // The window is listed once mapped; its picture may follow a moment later.
            const QRect topRow(found.topLeft(), QSize(found.width(), 1));
            return see(step, [&](const QImage& s) {
                return !isUniform(s, topRow, kBlack) && !isUniform(s, topRow, kBoardOrange);
            });
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return fail(QStringLiteral("no dialog appeared: %1").arg(step));
}

bool DesktopSession::seeDialogGone(const QString& step) {
    const QDeadlineTimer deadline(kPatienceMs);
    while (!dialogWindow().isEmpty()) {
        if (deadline.hasExpired()) {
            return fail(QStringLiteral("the dialog stayed: %1").arg(step));
        }
        QThread::msleep(50);
    }
    return see(step, [](const QImage&) { return true; });
}

bool DesktopSession::fail(const QString& reason) {
    why_ = reason.toUtf8();
    return false;
}

WindowOnScreen DesktopSession::mainWindow() const {
    const QSize logicalScreen = display_.screenSize() / scale_;
    return {WindowOnScreen::centredOrigin(logicalScreen, places::kMainWindowAtStart), scale_};
}

QRect DesktopSession::titleScreenRect() const {
    return {places::kTitleScreen.topLeft() * scale_, places::kTitleScreen.size() * scale_};
}

} // namespace tivla::e2e
