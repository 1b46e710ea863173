// The character filter of a number box, applied to everything that would type into it: key
// presses, text committed by input methods and dead keys, and dragged text. Ctrl shortcuts and
// the focus keys pass untouched.
#pragma once

#include <QObject>

#include <functional>

class QChar;
class QLineEdit;

namespace tivla {

class NumberBoxFilter : public QObject {
    Q_OBJECT
public:
    // keyPress is the box's key-press handler: it clears a character the box refuses.
    NumberBoxFilter(QLineEdit* box, std::function<void(QChar&)> keyPress);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool accepts(QChar typed) const;
    bool inputMethod(QEvent* event) const;
    bool drag(QEvent* event) const;
    bool keyPress(QEvent* event) const;

    QLineEdit* box_;
    std::function<void(QChar&)> keyPress_;
};

} // namespace tivla
