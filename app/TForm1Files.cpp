// The main window's file handlers: opening and saving boards and patterns, dropped files, and
// snapshots.
#include "TForm1.h"

#include "FormPainter.h"
#include "UserDialogs.h"
#include "files/qt/BoardOpenSave.h"
#include "files/qt/Snapshot.h"
#include "view/StringGrid.h"

#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace tivla {

namespace {

const QString kExamplesFolder = QStringLiteral("примеры");

// The first local file among the dropped ones, by the bytes of its name; empty when there is
// none. toLocalFile() would decode the name as UTF-8 and lose one in another encoding (KOI8-R,
// CP1251), so the percent-encoded path is decoded to bytes instead.
QByteArray droppedFile(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            QByteArray name =
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
            if (!url.host().isEmpty()) {
                // A file on another host, as toLocalFile() names it.
                name.prepend("//" + url.host().toUtf8());
            }
            return name;
        }
    }
    return {};
}

} // namespace

void TForm1::wireFiles() {
    // Files dropped from a file manager anywhere on the window open as the open command would.
    setAcceptDrops(true);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(SpeedButton17, &QToolButton::clicked, this, &TForm1::SpeedButton17Click);
}

void TForm1::SpeedButton3Click() {
    // The board is emptied before the dialog, so it stays empty when the dialog is cancelled.
    ClearBoard();
    const QString path = dialogs_->openFileName(kExamplesFolder, openFilters(), board().BoardSize);
    if (path.isEmpty()) {
        return;
    }
    loadFile(QFile::encodeName(path).toStdString());
}

void TForm1::openFile(const QByteArray& path) {
    ClearBoard();
    loadFile(path.toStdString());
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(*event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QByteArray path = droppedFile(*event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The file manager waits for the drop to end; a message box about the file must not hold it.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
}

void TForm1::loadFile(const std::string& path) {
    FormPainter painter{*this};
    // The file decides the size; the cells take the size button's pixels when one offers it.
    const auto applyBoardSize = [this] {
        formState_.followBoardSize(board_->BoardSize);
        ApplyBoardSize();
    };
    if (const auto error = loadBoardFromFile(path, board(), painter, applyBoardSize)) {
        reportError(errorBoxText(*error));
    }
}

void TForm1::SpeedButton8Click() {
    const UserDialogs::SaveChoice choice = dialogs_->saveFileName(kExamplesFolder, saveFilters());
    if (choice.path.isEmpty()) {
        return;
    }
    // The filter names the format when the typed name has no extension of its own.
    const QString path = withFilterExtension(choice.path, choice.filter);
    // A picture shows the board as the window does, grid lines as they are set.
    const PictureStyle style{formState_.CellSize, StringGrid1->gridLineWidth()};
    if (const auto error = saveBoardToFile(path, board(), style)) {
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
