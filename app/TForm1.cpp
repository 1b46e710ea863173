// The main window's wiring and its board, run-control and window handlers.
#include "TForm1.h"

#include "BatchProgressWatch.h"
#include "FormPainter.h"
#include "MainWindowLayout.h"
#include "RunTimer.h"
#include "SpinEdit.h"
#include "UserDialogs.h"
#include "engine/BatchRunner.h"
#include "engine/GenerationStep.h"
#include "engine/IntegerText.h"
#include "engine/RunControl.h"
#include "view/PopulationChart.h"
#include "view/StatisticsDisplay.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace tivla {

namespace {

const QColor kAliveColour{255, 255, 0};
const QColor kBoardColour{255, 128, 64};
// Two lines. The classic credit separates them with LF CR, which a Windows message box shows
// as one break and Qt as two, with an empty line between: one LF says what was meant.
const QString kAboutText = QStringLiteral("Тивла: игра «Жизнь» Джона Конвея.\n"
                                          "Сделано командой Тивлы, 2026.");

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), board_(std::make_unique<Board>()),
      dialogs_(std::make_unique<QtUserDialogs>(this)),
      progressAfter_(BatchProgressWatch::kShowAfterMilliseconds) {
    setWindowTitle(QStringLiteral("Тивла"));
    setLayoutDirection(Qt::LeftToRight);
    MainWindowLayout::build(*this);
    statistics_ = std::make_unique<StatisticsDisplay>(Label5, Label2, Label8, Label10, Chart1);
    wireControls();
    FormCreate();
    fitToControls();
}

TForm1::~TForm1() = default;

void TForm1::setUserDialogs(std::unique_ptr<UserDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

void TForm1::showFromTitleScreen() {
    if (!shownOnce_) {
        shownOnce_ = true;
        fitToControls();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    }
    show();
    raise();
    activateWindow();
}

void TForm1::wireControls() {
    for (QObject* child : children()) {
        if (child->isWidgetType()) {
            child->installEventFilter(this); // re-fit the window when a child moves or hides
        }
    }
    GroupBox3->installEventFilter(this);
    Label11->installEventFilter(this);
    GroupBox2->installEventFilter(this);
    GroupBox4->setMouseTracking(true);
    GroupBox5->setMouseTracking(true);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &TForm1::SpeedButton9Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &TForm1::SpeedButton10Click);
    connect(SpeedButton11, &QToolButton::clicked, this, &TForm1::SpeedButton11Click);
    connect(SpeedButton12, &QToolButton::clicked, this, &TForm1::SpeedButton12Click);
    connect(SpeedButton13, &QToolButton::clicked, this, &TForm1::SpeedButton13Click);
    connect(SpeedButton14, &QToolButton::clicked, this, &TForm1::SpeedButton14Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TForm1::SpeedButton7Click);
    connect(SpeedButton18, &QToolButton::clicked, this, &TForm1::SpeedButton18Click);
    connect(Timer1, &RunTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm1::Edit3Change);
    connect(SpeedButton16, &QToolButton::clicked, this, &TForm1::SpeedButton16Click);
    connect(SpeedButton15, &QToolButton::clicked, this, &TForm1::SpeedButton15Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &TForm1::CheckBox3Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm1::CheckBox2Click);
    wireEditing();
    wireFiles();
    StringGrid1->setDrawCellHandler([this](QPainter& painter, int col, int row, const QRect& rect) {
        if (col >= 0 && row >= 0 && col < kCellsDim && row < kCellsDim &&
            board_->Cells[col][row] == kAlive) {
            painter.setBrush(kAliveColour);
        }
        if (col >= 0 && row >= 0) {
            painter.fillRect(rect, painter.brush());
        }
    });
}

void TForm1::FormCreate() {
    board_->resetToStart();
    formState_.resetToStart();
    SpeedButton9->hide();
    Chart1->series().setActive(true);
    setChartMaximum(1600);
}

// --- The board -------------------------------------------------------------------------

void TForm1::ClearBoard() {
    FormPainter painter{*this};
    board_->ClearBoard(painter, [this] { statistics_->clear(); });
}

void TForm1::NextGeneration() {
    FormPainter painter{*this};
    stepGeneration(*board_, painter, statisticsSink());
}

void TForm1::PaintAliveCell(int x, int y) {
    StringGrid1->fillCell(x, y, kAliveColour);
}

void TForm1::PaintDeadCell(int x, int y) {
    StringGrid1->fillCell(x, y, kBoardColour);
}

void TForm1::setChartMaximum(int maximum) {
    Chart1->setTopAxisMaximum(maximum);
    Chart1->setLeftAxisMaximum(maximum);
    Chart1->setRightAxisMaximum(maximum);
}

StatisticsSink* TForm1::statisticsSink() {
    return formState_.StatsVisible ? statistics_.get() : nullptr;
}

void TForm1::setBatchTuning(const BatchSettings& settings, int progressAfterMilliseconds) {
    batchSettings_ = settings;
    progressAfter_ = progressAfterMilliseconds;
}

void TForm1::ApplyBoardSize() {
    const int n = board_->BoardSize;
    setChartMaximum(n * n);
    StringGrid1->setRowCount(n);
    StringGrid1->setColCount(n);
    StringGrid1->setDefaultRowHeight(formState_.CellSize);
    StringGrid1->setDefaultColWidth(formState_.CellSize);
    StringGrid1->resize(StringGrid1->width(), (StringGrid1->defaultRowHeight() + 1) * n);
    StringGrid1->resize((StringGrid1->defaultColWidth() + 1) * n, StringGrid1->height());
    const std::pair<QToolButton*, int> buttons[] = {{SpeedButton9, 40},   {SpeedButton10, 50},
                                                    {SpeedButton13, 80},  {SpeedButton11, 100},
                                                    {SpeedButton12, 150}, {SpeedButton14, 200}};
    for (const auto& [button, size] : buttons) {
        button->show();
    }
    for (const auto& [button, size] : buttons) {
        if (size == n) {
            button->hide();
        }
    }
}

void TForm1::applySizeButton(int boardSize) {
    ClearBoard();
    board_->BoardSize = boardSize;
    formState_.followBoardSize(boardSize);
    ApplyBoardSize();
}

void TForm1::SpeedButton1Click() {
    ClearBoard();
}
void TForm1::SpeedButton9Click() {
    applySizeButton(40);
}
void TForm1::SpeedButton10Click() {
    applySizeButton(50);
}
void TForm1::SpeedButton13Click() {
    applySizeButton(80);
}
void TForm1::SpeedButton11Click() {
    applySizeButton(100);
}
void TForm1::SpeedButton12Click() {
    applySizeButton(150);
}
void TForm1::SpeedButton14Click() {
    applySizeButton(200);
}

void TForm1::CheckBox1Click() {
    if (CheckBox1->isChecked()) {
        StringGrid1->setGridLineWidth(0);
        CheckBox1->setText(kShowLinesCaption);
    } else {
        StringGrid1->setGridLineWidth(1);
        CheckBox1->setText(kHideLinesCaption);
    }
}

// --- Run control -----------------------------------------------------------------------

void TForm1::SpeedButton7Click() {
    board_->zeroCountsAroundBoard();
    Timer1->setEnabled(!Timer1->enabled());
    SpeedButton18->setVisible(!SpeedButton18->isVisibleTo(this));
    SpeedButton7->setVisible(!SpeedButton7->isVisibleTo(this));
}

void TForm1::SpeedButton18Click() {
    SpeedButton7Click();
}

void TForm1::Timer1Timer() {
    if (batchRunning_) {
        return;
    }
    NextGeneration();
}

void TForm1::Edit1Change() {
    if (Edit1->text().isEmpty()) {
        Edit1->setText(QStringLiteral("1")); // runs this handler again, which finds "1"
    }
    const QString text = Edit1->text();
    const auto interval = parseInteger(text.toStdString());
    if (!interval) {
        reportError(QString::fromStdString(invalidIntegerText(text.toStdString())));
        return;
    }
    Timer1->setInterval(*interval);
}

void TForm1::Edit1KeyPress(QChar& key) {
    if (!acceptsNumberBoxCharacter(key.unicode())) {
        key = QChar();
    }
}

void TForm1::Edit2KeyPress(QChar& key) {
    Edit1KeyPress(key);
}

void TForm1::SpeedButton16Click() {
    const QString text = Edit2->text();
    const auto steps = parseInteger(text.toStdString());
    if (!steps) {
        reportError(QString::fromStdString(invalidIntegerText(text.toStdString())));
        return;
    }
    formState_.StepsToRun = *steps;
    runAdvance(formState_.StepsToRun);
}

void TForm1::SpeedButton15Click() {
    const QString text = Edit3->text();
    const auto target = parseInteger(text.toStdString());
    if (!target) {
        reportError(QString::fromStdString(invalidIntegerText(text.toStdString())));
        return;
    }
    formState_.StepsToRun = stepsToTarget(*target, board_->Generation);
    runAdvance(formState_.StepsToRun);
}

void TForm1::runAdvance(std::int32_t steps) {
    if (steps > 0) {
        struct Running {
            bool& flag;
            explicit Running(bool& f) : flag(f) { flag = true; }
            ~Running() { flag = false; }
        } running(batchRunning_);
        BatchProgressWatch progress(this, progressAfter_);
        const BatchOutcome outcome =
            runBatch(*board_, steps, statisticsSink(), &progress, batchSettings_);
        // A cancelled batch leaves everything as a batch of the generations it reached would.
        formState_.StepsToRun = static_cast<std::int32_t>(outcome.done);
    }
    FormPainter painter{*this};
    repaintWholeBoard(*board_, painter);
}

void TForm1::Edit3Change() {
    if (Edit3->text().isEmpty()) {
        Edit3->setText(QString::number(static_cast<qint64>(board_->Generation) + 1));
    }
    const QString text = Edit3->text();
    if (!parseInteger(text.toStdString())) {
        reportError(QString::fromStdString(invalidIntegerText(text.toStdString())));
        return;
    }
    if (const auto corrected = correctedTargetText(text.toStdString(), board_->Generation)) {
        Edit3->setText(QString::fromStdString(*corrected));
    }
}

void TForm1::reportError(const QString& text) {
    dialogs_->showError(withFullStop(text));
}

void TForm1::showPlainMessage(const QString& text) {
    dialogs_->showMessage(text);
}

// --- Window chrome ---------------------------------------------------------------------

void TForm1::SpeedButton2Click() {
    showPlainMessage(kAboutText);
}

void TForm1::SpeedButton5Click() {
    showMinimized();
}

void TForm1::SpeedButton6Click() {
    close();
    if (titleScreen_ != nullptr) {
        titleScreen_->close();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    // Hidden with no title screen to come back to, the program could never be reached
    // again: closing the main window any way at all ends it, as the exit button does.
    if (titleScreen_ != nullptr) {
        titleScreen_->close();
    }
}

void TForm1::GroupBox3MouseDown(Qt::MouseButton, QPoint pos) {
    WindowDragging = true;
    DragOrigin = pos;
}

void TForm1::GroupBox3MouseMove(QPoint pos) {
    if (!WindowDragging) {
        return;
    }
    move(x() + pos.x() - DragOrigin.x(), y());
    move(x(), y() + pos.y() - DragOrigin.y());
}

void TForm1::GroupBox3MouseUp() {
    WindowDragging = false;
}

// --- Events ----------------------------------------------------------------------------

void TForm1::fitToControls() {
    int right = 0;
    int bottom = 0;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow() && widget->isVisibleTo(this)) {
            right = std::max(right, widget->geometry().right() + 1);
            bottom = std::max(bottom, widget->geometry().bottom() + 1);
        }
    }
    if (right > 0 && bottom > 0 && size() != QSize(right, bottom)) {
        setFixedSize(right, bottom);
    }
}

bool TForm1::focusNextPrevChild(bool next) {
    const auto group = [this](int first, int last) {
        return std::vector<QWidget*>(RadioButtons.begin() + first, RadioButtons.begin() + last + 1);
    };
    const std::vector<std::vector<QWidget*>> stops = {
        {CheckBox1},   {SpinEdit1},   {StringGrid1}, group(1, 11), {Edit1}, {Edit2},
        group(19, 20), group(12, 18), {CheckBox3},   {CheckBox2},  {Edit3}};
    const auto stopWidget = [](const std::vector<QWidget*>& stop) -> QWidget* {
        if (stop.size() == 1) {
            return stop.front();
        }
        const auto checked = std::find_if(stop.begin(), stop.end(), [](QWidget* w) {
            return static_cast<QRadioButton*>(w)->isChecked();
        });
        return checked != stop.end() ? *checked : nullptr;
    };
    const auto count = static_cast<int>(stops.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (std::find(stops[i].begin(), stops[i].end(), focusWidget()) != stops[i].end()) {
            current = i;
        }
    }
    if (current < 0) {
        return QWidget::focusNextPrevChild(next);
    }
    for (int step = 1; step < count; ++step) {
        const int i = (current + (next ? step : count - step)) % count;
        QWidget* candidate = stopWidget(stops[i]);
        if (candidate != nullptr && candidate->isEnabled() && candidate->isVisibleTo(this)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched->parent() == this &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::ShowToParent ||
         type == QEvent::HideToParent)) {
        fitToControls();
    }
    if (watched == GroupBox3 || watched == Label11) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Qt grabs the pointer for every button; only a left press captures it here, so the
        // moves and the release of a right or middle drag count only over the pressed control.
        const auto uncapturedOutside = [&] {
            return !(mouse->buttons() & Qt::LeftButton) && dragButton_ != Qt::LeftButton &&
                   !static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        };
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            dragButton_ = mouse->button();
            GroupBox3MouseDown(mouse->button(), mouse->position().toPoint());
            return true;
        case QEvent::MouseMove:
            if (!uncapturedOutside()) {
                GroupBox3MouseMove(mouse->position().toPoint());
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (!uncapturedOutside()) {
                GroupBox3MouseUp();
            }
            return true;
        default:
            break;
        }
    }
    if ((watched == GroupBox4 || watched == GroupBox5) && type == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* box = static_cast<QWidget*>(watched);
        const QPoint pos = mouse->position().toPoint();
        if (box->rect().contains(pos) && box->childAt(pos) == nullptr) {
            watched == GroupBox4 ? GroupBox4MouseMove() : GroupBox5MouseMove();
        }
    }
    if (watched == GroupBox2 &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const bool ownSurface =
            GroupBox2->rect().contains(pos) && GroupBox2->childAt(pos) == nullptr;
        if (mouse->button() == Qt::LeftButton) {
            if (type == QEvent::MouseButtonPress) {
                statisticsPanelPressed_ = ownSurface;
            } else if (statisticsPanelPressed_) {
                statisticsPanelPressed_ = false;
                if (ownSurface) {
                    GroupBox2Click();
                }
            }
            return ownSurface;
        }
    }
    if ((watched == Edit1 || watched == Edit2) && type == QEvent::InputMethod) {
        // Input methods and dead keys commit text without a key press carrying it.
        auto* input = static_cast<QInputMethodEvent*>(event);
        QString digits;
        for (QChar typed : input->commitString()) {
            watched == Edit1 ? Edit1KeyPress(typed) : Edit2KeyPress(typed);
            if (!typed.isNull()) {
                digits += typed;
            }
        }
        if (digits != input->commitString()) {
            QInputMethodEvent filtered(input->preeditString(), input->attributes());
            filtered.setCommitString(digits, input->replacementStart(), input->replacementLength());
            QCoreApplication::sendEvent(watched, &filtered);
            return true;
        }
    }
    if ((watched == Edit1 || watched == Edit2) &&
        (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
        // Dragged text is typed text too: it may land only when every character would pass.
        auto* drop = static_cast<QDropEvent*>(event);
        const QString text = drop->mimeData()->text();
        const bool allDigits = std::all_of(text.begin(), text.end(), [&](QChar typed) {
            watched == Edit1 ? Edit1KeyPress(typed) : Edit2KeyPress(typed);
            return !typed.isNull();
        });
        if (!drop->mimeData()->hasText() || !allDigits) {
            drop->ignore();
            return true;
        }
    }
    if ((watched == Edit1 || watched == Edit2) && type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Editing keys such as Delete and the arrows carry no typed character, and Ctrl
        // combinations are the box's shortcuts (select all, copy, paste), not typing.
        const bool shortcut = key->modifiers().testFlag(Qt::ControlModifier);
        // Tab moves the focus on before any key filter would see it.
        const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (!shortcut && !focusKey && !text.isEmpty() && text.front() != QChar(0x7f)) {
            QChar typed = text.front();
            watched == Edit1 ? Edit1KeyPress(typed) : Edit2KeyPress(typed);
            if (typed.isNull()) {
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tivla
