// See BatchProgressWatch.h.
#include "BatchProgressWatch.h"

#include "BatchProgressWindow.h"

#include <QApplication>

namespace tivla {

BatchProgressWatch::BatchProgressWatch(QWidget* parent, int showAfter)
    : parent_(parent), showAfter_(showAfter) {
    clock_.start();
}

BatchProgressWatch::~BatchProgressWatch() = default;

bool BatchProgressWatch::carryOn(long long, std::int32_t generation) {
    const qint64 now = clock_.elapsed();
    if (!window_) {
        if (now < showAfter_) {
            return true;
        }
        window_ = std::make_unique<BatchProgressWindow>(parent_);
        QObject::connect(window_.get(), &QDialog::rejected, [this] { cancelled_ = true; });
        window_->showGeneration(generation);
        window_->show();
        lastPump_ = now - kPumpEveryMilliseconds;
    }
    if (now - lastPump_ >= kPumpEveryMilliseconds) {
        lastPump_ = now;
        window_->showGeneration(generation);
        QApplication::processEvents(QEventLoop::AllEvents);
    }
    return !cancelled_;
}

} // namespace tivla
