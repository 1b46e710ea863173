// The benchmarks drive the real main window as a user would: they find its controls by the
// names the program gives them and click them.
#pragma once

#include "app/PanelGeometry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace tivla::bench {

// A control of window by its objectName(); a missing one stops the benchmark, naming it.
template <class Control = QWidget> Control* control(const QObject& window, const char* name) {
    auto* found = window.findChild<Control*>(QLatin1String(name));
    if (found == nullptr) {
        std::fprintf(stderr, "the main window has no control named %s\n", name);
        std::exit(1);
    }
    return found;
}

inline void click(const QObject& window, const char* name) {
    control<QAbstractButton>(window, name)->click();
}

// A left click on the statistics panel's caption strip: it slides the panel open or shut.
inline void clickStatisticsCaption(const QObject& window) {
    auto* panel = control(window, "GroupBox2");
    const QPointF at(170, kPanelStripHeight / 2);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, at, panel->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(panel, &event);
    }
}

} // namespace tivla::bench
