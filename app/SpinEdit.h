// The fill-count spin field in the classic style: typing may leave the value out of bounds
// while the field has the focus, and the bounds are applied when it loses it or is stepped.
// Every rule it follows is editing/FillCountField's, the one the tests pin.
#pragma once

#include <QAbstractSpinBox>

namespace tivla {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // Starts at the field's starting count.
    explicit SpinEdit(QWidget* parent = nullptr);

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
};

} // namespace tivla
