// Keeps the program alive through a long batch: the progress window after a moment, the main
// window repainted, and the batch stopped when the user asks.
#pragma once

#include "engine/BatchRunner.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class QWidget;

namespace tivla {

class BatchProgressWindow;

// The batch runs on the GUI thread and asks carryOn between stretches of generations. Once
// the batch has run for `showAfter` milliseconds the modal progress window opens over
// `parent`; from then on pending events are handled every few milliseconds, so the main window
// repaints while the modal window keeps every input to itself.
class BatchProgressWatch final : public BatchProgress {
public:
    static constexpr int kShowAfterMilliseconds = 500;
    // Often enough that a cancel takes effect well within a tenth of a second.
    static constexpr int kPumpEveryMilliseconds = 15;

    explicit BatchProgressWatch(QWidget* parent, int showAfter = kShowAfterMilliseconds);
    ~BatchProgressWatch() override;
    BatchProgressWatch(const BatchProgressWatch&) = delete;
    BatchProgressWatch& operator=(const BatchProgressWatch&) = delete;

    bool carryOn(long long done, std::int32_t generation) override;
    bool cancelled() const { return cancelled_; }

private:
    QWidget* parent_;
    int showAfter_;
    QElapsedTimer clock_;
    qint64 lastPump_ = 0;
    std::unique_ptr<BatchProgressWindow> window_;
    bool cancelled_ = false;
};

} // namespace tivla
