// A main window with its dialogs answered by the test, shown on the offscreen platform.
#pragma once

#include "FakeDialogs.h"
#include "app/Fonts.h"
#include "app/TForm1.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleFactory>
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

} // namespace tivla
