// An integer spin field in the classic style: typing may leave the value out of bounds while
// the field has the focus, and the bounds are applied when it loses it or is set.
#pragma once

#include <QAbstractSpinBox>

namespace tivla {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setMaxLength(int length);
    // Sets the text to the value brought into the bounds.
    void setValue(int value);
    // The value as typed; unreadable text gives the fallback.
    int valueOr(int fallback) const;
    QString text() const;
    void setText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int minimum_ = 0;
    int maximum_ = 99;
};

} // namespace tivla
