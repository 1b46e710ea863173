// The run timer: an enabled flag and an interval in milliseconds, where an interval of 0
// gives no ticks at all (a plain QTimer of 0 ms would fire continuously).
#pragma once

#include <QObject>
#include <QTimer>

namespace tivla {

class RunTimer : public QObject {
    Q_OBJECT
public:
    explicit RunTimer(QObject* parent = nullptr);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    // A change while running starts the countdown afresh.
    void setInterval(int milliseconds);
    // Whether a tick is actually pending (enabled with a positive interval).
    bool ticking() const { return timer_.isActive(); }

signals:
    void timeout();

private:
    void sync();

    QTimer timer_;
    bool enabled_ = false;
    int interval_ = 500;
};

} // namespace tivla
