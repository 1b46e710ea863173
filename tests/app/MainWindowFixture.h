// A main window with its dialogs answered by the test, shown on the offscreen platform.
#pragma once

#include "FakeDialogs.h"
#include "app/Fonts.h"
#include "app/PanelGeometry.h"
#include "app/RunTimer.h"
#include "app/TForm1.h"
#include "view/StringGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace tivla {

inline void prepareApplication() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFonts();
}

inline std::unique_ptr<TForm1> shownMainWindow(FakeDialogs::Log& log) {
    auto form = std::make_unique<TForm1>();
    form->setUserDialogs(std::make_unique<FakeDialogs>(log));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) {
        return nullptr;
    }
    return form;
}

// A control of window by the name the program gives it, its objectName(). A missing one ends
// the run at once, naming it, rather than crashing later on a null pointer.
template <class Control = QWidget> Control* control(const QObject& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    if (found == nullptr) {
        qFatal("The main window has no %s named %s", Control::staticMetaObject.className(),
               qPrintable(name));
    }
    return found;
}

inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::NoButton,
                      Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// What every main-window test works on: the window with its dialogs answered, and on request
// a fresh working folder of its own (where «примеры» and «Скриншоты» are looked for).
class MainWindowUnderTest {
protected:
    bool openWindow(bool inOwnFolder = false) {
        log = {};
        if (inOwnFolder) {
            dir = std::make_unique<QTemporaryDir>();
            if (!dir->isValid()) {
                return false;
            }
            QDir::setCurrent(dir->path());
        }
        form = shownMainWindow(log);
        return form != nullptr;
    }
    void closeWindow() {
        form.reset();
        if (dir) {
            QDir::setCurrent(QDir::rootPath());
            dir.reset();
        }
    }

    template <class Control = QWidget> Control* control(const QString& name) const {
        return tivla::control<Control>(*form, name);
    }
    QRadioButton* radioButton(int number) const {
        return control<QRadioButton>(QStringLiteral("RadioButton%1").arg(number));
    }

    // A click on the strip that carries the statistics panel's caption: it opens or shuts it.
    void clickStatisticsCaption() const {
        QTest::mouseClick(control("GroupBox2"), Qt::LeftButton, {},
                          QPoint(170, kPanelStripHeight / 2));
    }
    // One tick of the run timer.
    void tick() const { control<RunTimer>("Timer1")->timeout(); }
    // The advance command for steps generations.
    void advance(int steps) const {
        control<QLineEdit>("Edit2")->setText(QString::number(steps));
        QTest::mouseClick(control("SpeedButton16"), Qt::LeftButton);
    }
    // A press on the cell with the starting stamp, which turns a dead cell alive.
    void pressCell(int col, int row) const {
        auto* grid = control<StringGrid>("StringGrid1");
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(col, row).center());
    }
    // A horizontal blinker centred on (11, 10); it stands upright after an odd number of steps.
    void placeBlinker() const {
        for (int c = 10; c <= 12; ++c) {
            pressCell(c, 10);
        }
    }

    // Live cells in columns and rows 0 to side - 1.
    int aliveCount(int side = kCellsDim) const {
        int alive = 0;
        for (int c = 0; c < side; ++c) {
            for (int r = 0; r < side; ++r) {
                alive += form->board().isAlive(c, r);
            }
        }
        return alive;
    }
    // A file in the test's own folder (absolute names stay as they are); empty on failure.
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(QDir(dir->path()).filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            return {};
        }
        return file.fileName();
    }

    FakeDialogs::Log log;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<QTemporaryDir> dir;
};

} // namespace tivla
