// The progress window of a long batch.
#include "BatchProgressWindow.h"

#include "Fonts.h"
#include "WindowColours.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tivla {

namespace {
const QString kTitle = QStringLiteral("Тивла");
const QString kWorking = QStringLiteral("Поколения считаются, подождите немного.");
const QString kCancel = QStringLiteral("Прервать");
constexpr int kMargin = 12;
constexpr int kEdge = 2;
} // namespace

BatchProgressWindow::BatchProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("BatchProgressWindow"));
    setWindowTitle(kTitle);
    setWindowModality(Qt::ApplicationModal);
    setFont(windowsFont(QStringLiteral("Tahoma"), -9));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kWindowColour);
    colours.setColor(QPalette::WindowText, kWhiteColour);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    auto* working = new QLabel(kWorking, this);
    working->setFont(windowsFont(QStringLiteral("Georgia"), 12));
    layout->addWidget(working);
    generationLabel_ = new QLabel(this);
    generationLabel_->setFont(windowsFont(QStringLiteral("Georgia"), 12));
    layout->addWidget(generationLabel_);
    cancelButton_ = new QPushButton(kCancel, this);
    cancelButton_->setAutoDefault(false);
    layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    showGeneration(0);
}

void BatchProgressWindow::showGeneration(std::int32_t generation) {
    generationLabel_->setText(QStringLiteral("Достигнуто поколение %1.").arg(generation));
}

void BatchProgressWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(kCreamColour, kEdge));
    painter.drawRect(rect().adjusted(kEdge / 2, kEdge / 2, -kEdge / 2, -kEdge / 2));
}

} // namespace tivla
