// The main window's editing handlers: choosing a stamp and a mode, placing stamps with the
// pointer and the keys, and the random fill.
#include "TForm1.h"

#include "FormPainter.h"
#include "SpinEdit.h"
#include "UserDialogs.h"
#include "controls/FillCountField.h"
#include "editing/ApplyStamp.h"
#include "editing/ClockSeededRandom.h"
#include "editing/RandomFill.h"
#include "view/StringGrid.h"

#include <QRadioButton>
#include <QToolButton>

namespace tivla {

namespace {

// Qt will not uncheck the checked button of an exclusive group by itself.
void uncheck(QRadioButton* button) {
    if (!button->isChecked()) {
        return;
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace

void TForm1::wireEditing() {
    using Handler = void (TForm1::*)();
    static constexpr Handler kRadioHandlers[21] = {
        nullptr,
        &TForm1::RadioButton1Click,
        &TForm1::RadioButton2Click,
        &TForm1::RadioButton3Click,
        &TForm1::RadioButton4Click,
        &TForm1::RadioButton5Click,
        &TForm1::RadioButton6Click,
        &TForm1::RadioButton7Click,
        &TForm1::RadioButton8Click,
        &TForm1::RadioButton9Click,
        &TForm1::RadioButton10Click,
        &TForm1::RadioButton11Click,
        &TForm1::RadioButton12Click,
        &TForm1::RadioButton13Click,
        &TForm1::RadioButton14Click,
        &TForm1::RadioButton15Click,
        &TForm1::RadioButton16Click,
        &TForm1::RadioButton17Click,
        &TForm1::RadioButton18Click,
        &TForm1::RadioButton19Click,
        &TForm1::RadioButton20Click,
    };
    for (int k = 1; k <= 20; ++k) {
        // A handler runs when its button becomes checked, never when it is unchecked.
        connect(RadioButtons[k], &QRadioButton::toggled, this, [this, k](bool checked) {
            if (checked) {
                (this->*kRadioHandlers[k])();
            }
        });
    }
    connect(StringGrid1, &StringGrid::mousePressed, this, &TForm1::StringGrid1MouseDown);
    connect(StringGrid1, &StringGrid::mouseMoved, this, &TForm1::StringGrid1MouseMove);
    connect(StringGrid1, &StringGrid::keyReleased, this, &TForm1::StringGrid1KeyUp);
    connect(SpinEdit1, &SpinEdit::textChanged, this, &TForm1::SpinEdit1Change);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
}

bool TForm1::isChecked(int radioButton) const {
    return RadioButtons[radioButton]->isChecked();
}

void TForm1::UncheckFigures() {
    for (int k = 12; k <= 18; ++k) {
        uncheck(RadioButtons[k]);
    }
}

void TForm1::UncheckBrushes() {
    for (int k = 1; k <= 11; ++k) {
        uncheck(RadioButtons[k]);
    }
}

// The order of the steps matters: the collapse lets events run in its middle, and those
// events see StampKind as it stands at that moment.
void TForm1::RadioButton1Click() {
    if (isChecked(1)) {
        formState_.StampKind = 1;
    }
    CollapseBrushes();
    UncheckFigures();
}

void TForm1::brushChosen(int number) {
    UncheckFigures();
    CollapseBrushes();
    if (isChecked(number)) {
        formState_.StampKind = number;
    }
}

void TForm1::RadioButton9Click() {
    UncheckFigures();
    if (isChecked(9)) {
        formState_.StampKind = 9;
    }
    CollapseBrushes();
}

void TForm1::figureChosen(int number) {
    UncheckBrushes();
    CollapseFigures();
    if (isChecked(number)) {
        formState_.StampKind = number;
    }
}

void TForm1::RadioButton2Click() {
    brushChosen(2);
}
void TForm1::RadioButton3Click() {
    brushChosen(3);
}
void TForm1::RadioButton4Click() {
    brushChosen(4);
}
void TForm1::RadioButton5Click() {
    brushChosen(5);
}
void TForm1::RadioButton6Click() {
    brushChosen(6);
}
void TForm1::RadioButton7Click() {
    brushChosen(7);
}
void TForm1::RadioButton8Click() {
    brushChosen(8);
}
void TForm1::RadioButton10Click() {
    brushChosen(10);
}
void TForm1::RadioButton11Click() {
    brushChosen(11);
}
void TForm1::RadioButton12Click() {
    figureChosen(12);
}
void TForm1::RadioButton13Click() {
    figureChosen(13);
}
void TForm1::RadioButton14Click() {
    figureChosen(14);
}
void TForm1::RadioButton15Click() {
    figureChosen(15);
}
void TForm1::RadioButton16Click() {
    figureChosen(16);
}
void TForm1::RadioButton17Click() {
    figureChosen(17);
}
void TForm1::RadioButton18Click() {
    figureChosen(18);
}

void TForm1::RadioButton19Click() {
    if (isChecked(19)) {
        formState_.DrawMode = false;
    }
}

void TForm1::RadioButton20Click() {
    if (isChecked(20)) {
        formState_.DrawMode = true;
    }
}

void TForm1::ApplyStamp() {
    FormPainter painter{*this};
    applyStamp(board(), formState_.StampKind, formState_.DrawMode, StringGrid1->col(),
               StringGrid1->row(), painter);
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
    ApplyStamp();
}

void TForm1::StringGrid1MouseMove(Qt::KeyboardModifiers, QPoint) {
    if (formState_.DrawMode) {
        ApplyStamp();
    }
}

void TForm1::StringGrid1KeyUp(int, Qt::KeyboardModifiers) {
    const int c = StringGrid1->col();
    const int r = StringGrid1->row();
    board().Cells[c][r] = kAlive;
    PaintAliveCell(c, r);
}

void TForm1::SpinEdit1Change() {
    // Setting the text runs this handler again; that inner run finds nothing to change.
    if (const auto corrected =
            correctedFillCountText(SpinEdit1->text().toStdString(), board().BoardSize)) {
        SpinEdit1->setText(QString::fromStdString(*corrected));
    }
}

void TForm1::SpeedButton4Click() {
    ClockSeededRandom random;
    random.reseedFromClock();
    if (SpeedButton18->isVisibleTo(this)) {
        showPlainMessage(
            QString::fromUtf8(kFillBusyMessage.data(), static_cast<int>(kFillBusyMessage.size())));
        return;
    }
    FormPainter painter{*this};
    const FillResult result =
        randomFill(board(), fillCountFromText(SpinEdit1->text().toStdString()), painter, random);
    if (result.placed < result.requested) {
        showPlainMessage(QString::fromStdString(fillShortfallMessage(result)));
    }
}

} // namespace tivla
