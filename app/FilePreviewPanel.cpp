// See FilePreviewPanel.h.
#include "FilePreviewPanel.h"

#include "FilePreview.h"

#include <QLabel>
#include <QPixmap>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace tivla {

namespace {

// Eight comment lines of a wrapped length fill a panel of their own: beyond these rows of
// text the comments are cut off rather than making the dialog taller.
constexpr int kCommentRows = 8;

QLabel* addLabel(QVBoxLayout& layout, const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    // A comment is the file's text, never markup to interpret.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout.addWidget(label);
    return label;
}

void setShown(QLabel& label, const QString& text) {
    label.setText(text);
    label.setVisible(!text.isEmpty());
}

// Square cells of a whole number of pixels, as large as the side allows.
QPixmap scaledPicture(const QImage& cells, int side) {
    const int pixels = std::max(1, std::min(side / cells.width(), side / cells.height()));
    return QPixmap::fromImage(cells.scaled(cells.width() * pixels, cells.height() * pixels,
                                           Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

} // namespace

FilePreviewPanel::FilePreviewPanel(int currentBoardSize, QWidget* parent)
    : QWidget(parent), currentBoardSize_(currentBoardSize) {
    setObjectName(QStringLiteral("preview"));
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setFixedSize(kPictureSide, kPictureSide);
    picture_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_);
    title_ = addLabel(*layout, QStringLiteral("title"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    author_ = addLabel(*layout, QStringLiteral("author"));
    comments_ = addLabel(*layout, QStringLiteral("comments"));
    comments_->setMaximumHeight(comments_->fontMetrics().lineSpacing() * kCommentRows);
    sizes_ = addLabel(*layout, QStringLiteral("sizes"));
    refusal_ = addLabel(*layout, QStringLiteral("refusal"));
    layout->addStretch();
    setFixedWidth(kPictureSide + layout->contentsMargins().left() +
                  layout->contentsMargins().right());
    showPreview(FilePreview{});
}

void FilePreviewPanel::showFile(const QString& path) {
    if (path == wanted_) {
        return;
    }
    wanted_ = path;
    if (!busy_) {
        startReading();
    }
}

void FilePreviewPanel::startReading() {
    busy_ = true;
    reading_ = wanted_;
    // The result outlives the panel when the dialog closes during a read; the thread object
    // deletes itself once it has finished.
    auto result = std::make_shared<FilePreview>();
    QThread* thread = QThread::create(
        [result, path = reading_, size = currentBoardSize_] { *result = previewFile(path, size); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, result] {
        busy_ = false;
        if (reading_ != wanted_) {
            startReading();
            return;
        }
        showPreview(*result);
        emit shown(reading_);
    });
    thread->start();
}

void FilePreviewPanel::showPreview(const FilePreview& preview) {
    if (preview.picture.isNull()) {
        picture_->clear();
    } else {
        picture_->setPixmap(scaledPicture(preview.picture, kPictureSide));
    }
    setShown(*title_, preview.title);
    setShown(*author_,
             preview.author.isEmpty() ? QString() : QStringLiteral("Автор: ") + preview.author);
    setShown(*comments_, preview.comments.join(QLatin1Char('\n')));
    setShown(*sizes_, preview.sizes);
    setShown(*refusal_, preview.refusal);
}

} // namespace tivla
