// See TForm2.h.
#include "TForm2.h"

#include "TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace tivla {

namespace {

constexpr QPoint kTitleScreenPlace{254, 150};
constexpr QSize kTitleScreenClient{767, 553};
constexpr QRect kImageGeometry{0, 0, 769, 553};
const QString kTitlePicture = QStringLiteral(":/assets/title.png");

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Тивла"));
    setFixedSize(kTitleScreenClient);
    move(kTitleScreenPlace);
    Image1 = new QLabel(this);
    Image1->setGeometry(kImageGeometry);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(QPixmap(kTitlePicture));
    Image1->installEventFilter(this);
}

void TForm2::Image1Click() {
    if (mainWindow_ != nullptr) {
        mainWindow_->showFromTitleScreen();
        if (!fileToOpen_.isEmpty()) {
            // Queued, so that the window is on the screen and this one gone before a message
            // box about the file can appear over it.
            QTimer::singleShot(0, mainWindow_, [window = mainWindow_, path = fileToOpen_] {
                window->openFile(path);
            });
            fileToOpen_.clear();
        }
    }
    hide();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Image1->rect().contains(mouse->position().toPoint())) {
            Image1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

} // namespace tivla
