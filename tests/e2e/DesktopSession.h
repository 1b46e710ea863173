// What every end-to-end test stands on: a private X display for the test program, a fresh run
// of the program for each test function, the person at the screen and the screenshots kept.
#pragma once

#include "Artefacts.h"
#include "DesktopUser.h"
#include "ProgramRun.h"
#include "WindowOnScreen.h"
#include "XvfbDisplay.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace tivla::e2e {

class DesktopSession {
public:
    // How long a person waits for something to show before calling it a fault; generous,
    // since two shared cores can be slow.
    static constexpr int kPatienceMs = 15000;

    // screenSize in screen pixels; scale is the program's QT_SCALE_FACTOR.
    DesktopSession(const QString& suite, QSize screenSize, int scale = 1);

    // For initTestCase: why the tests cannot run here (tools missing), or empty.
    static QString skipReason();
    // For initTestCase: starts the display; false with why() on failure.
    bool startDisplay();
    // For init: a fresh artefact folder for the current test function and a fresh run of
    // the program with arguments, showing its title screen; false with why() on failure.
    bool launch(const QStringList& arguments = {});
    // For cleanup: the last screen is kept, and the program is ended if still running.
    void finish();

    // Waits until sight says yes and keeps the screenshot as the step's artefact; on
    // timeout keeps the last screenshot too, and why() names the step and the file.
    bool see(const QString& step, const DesktopUser::Sight& sight, QImage* screen = nullptr,
             int timeoutMs = kPatienceMs);
    // Checks the title screen at its place, clicks it and sees the main window centred.
    bool openMainWindow(QImage* screen = nullptr);
    // Waits for a window of the program other than the main window (a dialog or a message
    // box) and keeps the screen; its place on the screen goes to dialog.
    bool seeDialog(const QString& step, QRect* dialog);
    // Waits until the program shows no window but its main window.
    bool seeDialogGone(const QString& step);
    // Records a failure for why(); returns false for use in a test's QVERIFY2.
    bool fail(const QString& reason);
    const char* why() const { return why_.constData(); }

    DesktopUser& user() { return *user_; }
    ProgramRun& program() { return *program_; }
    Artefacts& artefacts() { return artefacts_; }
    int scale() const { return scale_; }
    QSize screenSize() const { return display_.screenSize(); }
    QString displayName() const { return display_.name(); }
    // The main window where it first appears: centred, at its starting size.
    WindowOnScreen mainWindow() const;
    // Screen pixels of the title screen.
    QRect titleScreenRect() const;

private:
    // The largest window of the program other than the main window, or an empty rectangle.
    QRect dialogWindow() const;

    QString suite_;
    int scale_;
    XvfbDisplay display_;
    std::unique_ptr<DesktopUser> user_;
    std::unique_ptr<ProgramRun> program_;
    Artefacts artefacts_;
    QByteArray why_;
};

} // namespace tivla::e2e
