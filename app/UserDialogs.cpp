// See UserDialogs.h.
#include "UserDialogs.h"

#include "files/FileError.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>

namespace tivla {

namespace {

const QString kTitle = QStringLiteral("Тивла");

void centreOnScreen(QWidget& box) {
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        box.move(area.x() + (area.width() - box.width()) / 2,
                 area.y() + (area.height() - box.height()) / 2);
    }
}

void runBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kTitle, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    centreOnScreen(box);
    box.exec();
}

} // namespace

void QtUserDialogs::showError(const QString& text) {
    runBox(parent_, QMessageBox::Critical, text);
}

void QtUserDialogs::showMessage(const QString& text) {
    runBox(parent_, QMessageBox::NoIcon, text);
}

QString QtUserDialogs::openFileName(const QString& startFolder, const QStringList& filters) {
    QFileDialog dialog(parent_, kTitle, startFolder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist is accepted: opening it then reports "File not found".
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

UserDialogs::SaveChoice QtUserDialogs::saveFileName(const QString& startFolder,
                                                    const QStringList& filters) {
    QFileDialog dialog(parent_, kTitle, startFolder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return {dialog.selectedFiles().constFirst(),
            static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

QString withFullStop(const QString& text) {
    return QString::fromStdString(withFullStop(text.toStdString()));
}

} // namespace tivla
