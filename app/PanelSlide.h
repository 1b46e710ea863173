// One slide of a panel: one-pixel passes until the panel's height reaches a bound, moving a
// dependent panel along, optionally letting pending events run after every pass.
#pragma once

#include <functional>

class QWidget;

namespace tivla {

class PanelSlide {
public:
    // Heights grow towards `bound` when it lies above the current height, shrink otherwise;
    // the direction is fixed by `step` (+1 or -1), as each slide of the program has its own.
    PanelSlide(QWidget* panel, int bound, int step) : panel_(panel), bound_(bound), step_(step) {}

    PanelSlide& moving(QWidget* dependent) {
        dependent_ = dependent;
        return *this;
    }
    // Runs after every pass: the animated slides pass the event pump here.
    PanelSlide& afterEachPass(std::function<void()> pass) {
        afterPass_ = std::move(pass);
        return *this;
    }

    // Returns the number of passes made. The height is read afresh every pass, since other
    // handlers may have moved the panel while events were pumped.
    int run() const;

private:
    QWidget* panel_;
    int bound_;
    int step_;
    QWidget* dependent_ = nullptr;
    std::function<void()> afterPass_;
};

} // namespace tivla
