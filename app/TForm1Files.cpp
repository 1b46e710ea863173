// The main window's file handlers: opening and saving board files, and snapshots.
#include "TForm1.h"

#include "FormPainter.h"
#include "UserDialogs.h"
#include "files/BoardOpenSave.h"
#include "files/Snapshot.h"
#include "view/StringGrid.h"

#include <QDateTime>
#include <QLocale>
#include <QToolButton>

namespace tivla {

namespace {

const QString kExamplesFolder = QStringLiteral("примеры");

} // namespace

void TForm1::wireFiles() {
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(SpeedButton17, &QToolButton::clicked, this, &TForm1::SpeedButton17Click);
}

void TForm1::SpeedButton3Click() {
    // The board is emptied before the dialog, so it stays empty when the dialog is cancelled.
    ClearBoard();
    const QString path = dialogs_->openFileName(kExamplesFolder);
    if (path.isEmpty()) {
        return;
    }
    loadFile(path);
}

void TForm1::openFile(const QString& path) {
    ClearBoard();
    loadFile(path);
}

void TForm1::loadFile(const QString& path) {
    FormPainter painter{*this};
    if (const auto error =
            loadBoardFromFile(path, board(), painter, [this] { ApplyBoardSize(); })) {
        reportError(errorBoxText(*error));
    }
}

void TForm1::SpeedButton8Click() {
    const QString path = dialogs_->saveFileName(kExamplesFolder);
    if (path.isEmpty()) {
        return;
    }
    if (const auto error = saveBoardToFile(path, board())) {
        reportError(errorBoxText(*error));
    }
}

void TForm1::SpeedButton17Click() {
    const QImage picture = StringGrid1->snapshot();
    const QString name =
        snapshotFileName(QDateTime::currentDateTime(), QLocale(), board().Generation);
    if (const auto error = saveSnapshot(picture, name)) {
        reportError(*error);
    }
}

} // namespace tivla
