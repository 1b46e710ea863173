// A main window with its dialogs answered by the test, shown on the offscreen platform.
#pragma once

#include "FakeDialogs.h"
#include "app/Fonts.h"
#include "app/TForm1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

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
