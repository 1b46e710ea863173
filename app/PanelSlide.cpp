// See PanelSlide.h.
#include "PanelSlide.h"

#include <QWidget>

namespace tivla {

int PanelSlide::run() const {
    int passes = 0;
    for (;;) {
        const int height = panel_->height();
        if (step_ > 0 ? height >= bound_ : height <= bound_) {
            return passes;
        }
        panel_->resize(panel_->width(), height + step_);
        if (dependent_ != nullptr) {
            dependent_->move(dependent_->x(), dependent_->y() + step_);
        }
        ++passes;
        if (afterPass_) {
            afterPass_();
        }
    }
}

} // namespace tivla
