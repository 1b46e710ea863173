// A private X server (Xvfb) for one test program, on a display number the server picks itself.
#pragma once

#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tivla::e2e {

class XvfbDisplay {
public:
    explicit XvfbDisplay(QSize screenSize);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // The programs the end-to-end tests need that are not on PATH.
    static QStringList missingTools();

    // Empty when the server runs, otherwise why it does not.
    QString start();
    void stop();

    // ":N", for DISPLAY.
    QString name() const { return name_; }
    QSize screenSize() const { return screenSize_; }

private:
    QSize screenSize_;
    QProcess server_;
    QString name_;
};

} // namespace tivla::e2e
