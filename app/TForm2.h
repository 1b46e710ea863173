// The title screen: one picture; a click on it opens the main window. Closing it ends the
// program.
#pragma once

#include <QWidget>

class QLabel;

namespace tivla {

class TForm1;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void setMainWindow(TForm1* mainWindow) { mainWindow_ = mainWindow; }
    // A file the main window opens, as its open command would, once it first appears.
    void setFileToOpen(const QByteArray& path) { fileToOpen_ = path; }
    void Image1Click();

    QLabel* Image1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TForm1* mainWindow_ = nullptr;
    QByteArray fileToOpen_;
};

} // namespace tivla
