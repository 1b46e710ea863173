// The panel beside the open dialog's file list that shows the selected file's picture and
// what it says of itself.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace tivla {

struct FilePreview;

class FilePreviewPanel final : public QWidget {
    Q_OBJECT

public:
    // The side of the square the picture is scaled into: a box of 200 cells and its margin
    // gets one pixel a cell.
    static constexpr int kPictureSide = 220;

    // currentBoardSize decides the board size a pattern opens on, as it does for the open.
    FilePreviewPanel(int currentBoardSize, QWidget* parent);

    // Reads the file off the window's thread and shows it when it is read; a path chosen
    // while a read runs waits for it, and only the last one chosen is shown.
    void showFile(const QString& path);

signals:
    // The preview of path is on the panel.
    void shown(const QString& path);

private:
    void startReading();
    void showPreview(const FilePreview& preview);

    int currentBoardSize_;
    QString wanted_;
    QString reading_;
    bool busy_ = false;
    QLabel* picture_;
    QLabel* title_;
    QLabel* author_;
    QLabel* comments_;
    QLabel* sizes_;
    QLabel* refusal_;
};

} // namespace tivla
