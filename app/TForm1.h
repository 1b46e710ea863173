// The main window: it owns the one board, holds every control and wires each control's
// events to the handler the program names after it. Its controls and handlers are its own:
// tests and tools find a control by its objectName(), the name the program gives it.
#pragma once

#include "FormState.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace tivla {

class FitToChildren;
class PopulationChart;
class RunTimer;
class SpinEdit;
class StatisticsDisplay;
class StringGrid;
class UserDialogs;
class ValueLabel;
struct FormPainter;

class TForm1 : public QWidget {
    Q_OBJECT
    friend class MainWindowLayout;
    friend struct FormPainter;

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The title screen, closed together with this window so that the program ends.
    void setTitleScreen(QWidget* titleScreen) { titleScreen_ = titleScreen; }
    // Replaces the real message boxes and file dialogs (tests answer them).
    void setUserDialogs(std::unique_ptr<UserDialogs> dialogs);
    // Shows the window, centred on the screen the first time.
    void showFromTitleScreen();
    // Opens the file at path as the open command does after its dialog, the clear included;
    // a failure shows the open command's message box. Files named on the command line and
    // dropped files come in here, by the bytes of their names, whatever their encoding.
    void openFile(const QByteArray& path);
    // How the batch commands run, and how long before they show their progress window (tests
    // and benchmarks change both).
    void setBatchTuning(const BatchSettings& settings, int progressAfterMilliseconds);

    Board& board() { return *board_; }
    const Board& board() const { return *board_; }
    FormState& formState() { return formState_; }
    const FormState& formState() const { return formState_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab: the controls in their fixed order, each radio group one stop at its
    // checked button and none while nothing in it is checked, as classic radio buttons are
    // tab stops only while checked.
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Handlers, named after their control and event.
    void FormCreate();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    void CheckBox1Click();
    void SpeedButton7Click();
    void SpeedButton18Click();
    void Timer1Timer();
    void Edit1Change();
    void Edit1KeyPress(QChar& key);
    void Edit2KeyPress(QChar& key);
    void SpeedButton16Click();
    void SpeedButton15Click();
    void Edit3Change();
    void GroupBox4MouseMove();
    void GroupBox5MouseMove();
    void CheckBox3Click();
    void CheckBox2Click();
    void GroupBox2Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void RadioButton10Click();
    void RadioButton11Click();
    void RadioButton12Click();
    void RadioButton13Click();
    void RadioButton14Click();
    void RadioButton15Click();
    void RadioButton16Click();
    void RadioButton17Click();
    void RadioButton18Click();
    void RadioButton19Click();
    void RadioButton20Click();
    void StringGrid1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void StringGrid1MouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void StringGrid1KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void SpinEdit1Change();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void SpeedButton8Click();
    void SpeedButton17Click();

    // Operations more than one handler calls.
    void ClearBoard();
    void NextGeneration();
    void PaintAliveCell(int x, int y);
    void PaintDeadCell(int x, int y);
    void ApplyBoardSize();
    void ExpandBrushes();
    void ExpandFigures();
    void CollapseBrushes();
    void CollapseFigures();
    void ApplyStamp();
    void UncheckFigures();
    void UncheckBrushes();

    // Reports a failed step the way the program reports every error.
    void reportError(const QString& text);
    // The program's own plain message box.
    void showPlainMessage(const QString& text);
    // The number in box, or nothing once the box's text has been reported as no integer.
    std::optional<std::int32_t> readNumberBox(const QLineEdit* box);
    // Where the generation steps and the batches report: the statistics display while the
    // panel is open, else nowhere.
    StatisticsSink* statisticsSink();

    void wireControls();
    void wireEditing();
    void wireFiles();
    void brushChosen(int number);
    void figureChosen(int number);
    bool isChecked(int radioButton) const;
    void setChartMaximum(int maximum);
    // The board size the size button offers.
    int boardSizeOf(const QToolButton* sizeButton) const;
    void applySizeButton(int boardSize);
    void runAdvance(std::int32_t steps);
    void loadFile(const std::string& path);
    void pumpEvents();

    // Controls, named as the program names them.
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    QToolButton* SpeedButton13 = nullptr;
    QToolButton* SpeedButton14 = nullptr;
    QToolButton* SpeedButton15 = nullptr;
    QToolButton* SpeedButton16 = nullptr;
    QToolButton* SpeedButton17 = nullptr;
    QToolButton* SpeedButton18 = nullptr;
    // RadioButtons[k] is RadioButton(k); index 0 is unused.
    std::array<QRadioButton*, 21> RadioButtons{};
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QLabel* Label1 = nullptr;
    ValueLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    ValueLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    ValueLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    ValueLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    PopulationChart* Chart1 = nullptr;
    RunTimer* Timer1 = nullptr;

    // A member naming one of the form's buttons; an alias, because clang-format 14 and 19
    // space a pointer to member differently.
    using ToolButtonField = QToolButton* TForm1::*;
    // The size buttons in the order of the board-size table, kBoardSizes.
    struct SizeButton {
        ToolButtonField button;
        const char* name;
    };
    static constexpr std::array<SizeButton, 6> kSizeButtons{
        {{&TForm1::SpeedButton9, "SpeedButton9"},
         {&TForm1::SpeedButton10, "SpeedButton10"},
         {&TForm1::SpeedButton13, "SpeedButton13"},
         {&TForm1::SpeedButton11, "SpeedButton11"},
         {&TForm1::SpeedButton12, "SpeedButton12"},
         {&TForm1::SpeedButton14, "SpeedButton14"}}};

    // The one board of this run; fixed size, allocated once with the window.
    std::unique_ptr<Board> board_;
    FormState formState_;
    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<StatisticsDisplay> statistics_;
    FitToChildren* fitToChildren_ = nullptr;
    QWidget* titleScreen_ = nullptr;
    bool shownOnce_ = false;
    BatchSettings batchSettings_;
    int progressAfter_;
    // Set while a batch runs: the board is packed away, so timer ticks wait until it ends.
    bool batchRunning_ = false;
};

} // namespace tivla
