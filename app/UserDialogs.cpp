// See UserDialogs.h.
#include "UserDialogs.h"

#include "FilePreviewPanel.h"
#include "files/FileError.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>

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

// The preview goes beside the file list, in the splitter Qt's own dialog keeps it in; a dialog
// built otherwise gets it as a column on the right.
void addBesideFileList(QFileDialog& dialog, FilePreviewPanel& panel) {
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
        splitter->addWidget(&panel);
        splitter->setCollapsible(splitter->indexOf(&panel), false);
    } else if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(&panel, 0, grid->columnCount(), grid->rowCount(), 1);
    }
    dialog.resize(dialog.sizeHint().width() + panel.width(), dialog.sizeHint().height());
}

// A file chosen in the list, or a name typed that names one in the folder shown.
void previewSelection(QFileDialog& dialog, FilePreviewPanel& panel) {
    QObject::connect(&dialog, &QFileDialog::currentChanged, &panel, &FilePreviewPanel::showFile);
    // A file of the folder left behind is no longer the one chosen.
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &panel,
                     [&panel] { panel.showFile(QString()); });
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        QObject::connect(
            name, &QLineEdit::textChanged, &panel, [&dialog, &panel](const QString& text) {
                panel.showFile(text.isEmpty() ? QString()
                                              : dialog.directory().absoluteFilePath(text));
            });
    }
}

} // namespace

void QtUserDialogs::showError(const QString& text) {
    runBox(parent_, QMessageBox::Critical, text);
}

void QtUserDialogs::showMessage(const QString& text) {
    runBox(parent_, QMessageBox::NoIcon, text);
}

QString QtUserDialogs::openFileName(const QString& startFolder, const QStringList& filters,
                                    int currentBoardSize) {
    QFileDialog dialog(parent_, kTitle, startFolder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist is accepted: opening it then reports "File not found".
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* preview = new FilePreviewPanel(currentBoardSize, &dialog);
    addBesideFileList(dialog, *preview);
    previewSelection(dialog, *preview);
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
