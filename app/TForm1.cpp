// The main window's wiring and its board, run-control and window handlers.
#include "TForm1.h"

#include "BatchProgressWatch.h"
#include "CaptionClick.h"
#include "FitToChildren.h"
#include "FormPainter.h"
#include "MainWindowLayout.h"
#include "NumberBoxFilter.h"
#include "PanelHover.h"
#include "RunTimer.h"
#include "SpinEdit.h"
#include "UserDialogs.h"
#include "WindowColours.h"
#include "WindowDragArea.h"
#include "controls/NumberBoxRules.h"
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
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace tivla {

namespace {

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
    fitToChildren_->fit();
}

TForm1::~TForm1() = default;

void TForm1::setUserDialogs(std::unique_ptr<UserDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

void TForm1::showFromTitleScreen() {
    if (!shownOnce_) {
        shownOnce_ = true;
        fitToChildren_->fit();
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
    fitToChildren_ = new FitToChildren(this);
    new WindowDragArea(this, {GroupBox3, Label11});
    connect(new PanelHover(GroupBox4), &PanelHover::hovered, this, &TForm1::GroupBox4MouseMove);
    connect(new PanelHover(GroupBox5), &PanelHover::hovered, this, &TForm1::GroupBox5MouseMove);
    connect(new CaptionClick(GroupBox2), &CaptionClick::clicked, this, &TForm1::GroupBox2Click);
    new NumberBoxFilter(Edit1, [this](QChar& key) { Edit1KeyPress(key); });
    new NumberBoxFilter(Edit2, [this](QChar& key) { Edit2KeyPress(key); });

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
    for (const SizeButton& sizeButton : kSizeButtons) {
        (this->*sizeButton.button)->show();
    }
    for (std::size_t i = 0; i < kSizeButtons.size(); ++i) {
        if (kBoardSizes[i] == n) {
            (this->*kSizeButtons[i].button)->hide();
        }
    }
}

int TForm1::boardSizeOf(const QToolButton* sizeButton) const {
    static_assert(kSizeButtons.size() == kBoardSizes.size());
    std::size_t i = 0;
    while (this->*kSizeButtons[i].button != sizeButton) {
        ++i;
    }
    return kBoardSizes[i];
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
    applySizeButton(boardSizeOf(SpeedButton9));
}
void TForm1::SpeedButton10Click() {
    applySizeButton(boardSizeOf(SpeedButton10));
}
void TForm1::SpeedButton13Click() {
    applySizeButton(boardSizeOf(SpeedButton13));
}
void TForm1::SpeedButton11Click() {
    applySizeButton(boardSizeOf(SpeedButton11));
}
void TForm1::SpeedButton12Click() {
    applySizeButton(boardSizeOf(SpeedButton12));
}
void TForm1::SpeedButton14Click() {
    applySizeButton(boardSizeOf(SpeedButton14));
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
    if (const auto interval = readNumberBox(Edit1)) {
        Timer1->setInterval(*interval);
    }
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
    const auto steps = readNumberBox(Edit2);
    if (!steps) {
        return;
    }
    formState_.StepsToRun = *steps;
    runAdvance(formState_.StepsToRun);
}

void TForm1::SpeedButton15Click() {
    const auto target = readNumberBox(Edit3);
    if (!target) {
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
    if (!readNumberBox(Edit3)) {
        return;
    }
    if (const auto corrected =
            correctedTargetText(Edit3->text().toStdString(), board_->Generation)) {
        Edit3->setText(QString::fromStdString(*corrected));
    }
}

std::optional<std::int32_t> TForm1::readNumberBox(const QLineEdit* box) {
    const std::string text = box->text().toStdString();
    const auto number = parseInteger(text);
    if (!number) {
        reportError(QString::fromStdString(invalidIntegerText(text)));
    }
    return number;
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

// --- Focus ----------------------------------------------------------------------------

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

} // namespace tivla
