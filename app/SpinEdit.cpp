// See SpinEdit.h.
#include "SpinEdit.h"

#include "controls/FillCountField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace tivla {

namespace {

bool accepts(QChar ch) {
    return fillCountAcceptsCharacter(ch.unicode(), QLocale().decimalPoint().front().unicode());
}

} // namespace

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    lineEdit()->setMaxLength(kFillCountMaxLength);
    lineEdit()->setText(QString::number(kFillCountStart));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
}

QString SpinEdit::text() const {
    return lineEdit()->text();
}

void SpinEdit::setText(const QString& text) {
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
}

void SpinEdit::stepBy(int steps) {
    setText(QString::fromStdString(fillCountTextAfterStep(text().toStdString(), steps)));
    lineEdit()->selectAll();
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
    // Out-of-bounds and half-typed values are fine here; the bounds wait for the focus to leave.
    return std::all_of(input.cbegin(), input.cend(), accepts) ? QValidator::Acceptable
                                                              : QValidator::Invalid;
}

void SpinEdit::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    if (const auto corrected = fillCountTextAfterFocusLoss(text().toStdString())) {
        setText(QString::fromStdString(*corrected));
    }
    QAbstractSpinBox::focusOutEvent(event);
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    // Keys that type nothing (arrows, Delete) and the Ctrl shortcuts are the field's own.
    const QString typed = event->text();
    const bool shortcut = event->modifiers().testFlag(Qt::ControlModifier);
    if (!shortcut && !typed.isEmpty() && !accepts(typed.front())) {
        QApplication::beep();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

} // namespace tivla
