// See SpinEdit.h.
#include "SpinEdit.h"

#include "engine/IntegerText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace tivla {

namespace {

bool isAllowedCharacter(QChar ch) {
    return ch.isDigit() || ch == QLatin1Char('+') || ch == QLatin1Char('-') ||
           ch == QLocale().decimalPoint().front();
}

} // namespace

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
}

void SpinEdit::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void SpinEdit::setMaxLength(int length) {
    lineEdit()->setMaxLength(length);
}

void SpinEdit::setValue(int value) {
    setText(QString::number(std::clamp(value, minimum_, maximum_)));
}

int SpinEdit::valueOr(int fallback) const {
    const auto value = parseInteger(text().toStdString());
    return value ? *value : fallback;
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
    const long long next = static_cast<long long>(valueOr(minimum_)) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
    lineEdit()->selectAll();
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
    // Out-of-bounds and half-typed values are fine here; the bounds wait for the focus to leave.
    return std::all_of(input.cbegin(), input.cend(), isAllowedCharacter) ? QValidator::Acceptable
                                                                         : QValidator::Invalid;
}

void SpinEdit::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    const auto value = parseInteger(text().toStdString());
    if (value && (*value < minimum_ || *value > maximum_)) {
        setValue(*value);
    }
    QAbstractSpinBox::focusOutEvent(event);
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && !isAllowedCharacter(typed.front())) {
        QApplication::beep();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

} // namespace tivla
