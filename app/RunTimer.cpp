// See RunTimer.h.
#include "RunTimer.h"

namespace tivla {

RunTimer::RunTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RunTimer::timeout);
}

void RunTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    sync();
}

void RunTimer::setInterval(int milliseconds) {
    if (milliseconds == interval_) {
        return;
    }
    interval_ = milliseconds;
    sync();
}

void RunTimer::sync() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_); // restarts the countdown when already running
    } else {
        timer_.stop();
    }
}

} // namespace tivla
