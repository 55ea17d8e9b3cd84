#pragma once

#include <QDialog>
#include <QPixmap>
#include <memory>
#include <optional>

#include "apply/ApplyProgress.h"

class QLabel;
class QPushButton;

namespace quorrel {

// "네트워크 설정 변경 중...": starts the command worker with the plan when it opens,
// polls it every 200 ms (ProgressTicker::kTimerId) while a small picture turns, and ends with
// Accepted once the worker has finished, or with Rejected when the user stops it ("중단", Esc, the
// close box) or after 500 ticks. outcome() then tells whether every line succeeded.
//
// The rules live in ApplyProgress; this class only wires the window to them.
class CApplyProgressDlg final : public QDialog, private ProgressDisplay {
    Q_OBJECT
public:
    static constexpr int IDC_ANIMATION = 1009;

    // `timer` replaces the dialog's own QTimer (tests tick it by hand); it must outlive the
    // dialog.
    CApplyProgressDlg(ApplyPlan plan, CommandThreadServices services, QWidget* parent = nullptr,
                      ProgressTimer* timer = nullptr);
    ~CApplyProgressDlg() override;

    // A timer tick; ticks of timers other than ProgressTicker::kTimerId are ignored.
    void OnTimer(int timerId);

    // Set once the dialog has ended.
    std::optional<ApplyOutcome> outcome() const;
    // Why the lines that failed did, once the dialog has ended; see ApplyProgress.
    const std::string& failureDetails() const { return progress_.failureDetails(); }

    // Whether the worker still runs, as the next tick will see it.
    bool workerRunning() const { return progress_.workerRunning(); }

    // The picture shown now, 168 to 182.
    int currentBitmap() const { return bitmap_; }
    QLabel* picture() const { return picture_; }
    QPushButton* doneButton() const { return done_; }
    QPushButton* stopButton() const { return stop_; }

    // "중단", Esc and the close box: the worker is given up and the dialog ends Rejected.
    void reject() override;
    // The dialog ends with Accepted only from a tick that finds the worker finished.
    void accept() override;

protected:
    // Opening the dialog starts the worker and the timer, once.
    void showEvent(QShowEvent* event) override;

private:
    // ProgressDisplay
    void showFrame(int bitmapId) override;
    void end(ProgressResult result) override;

    std::unique_ptr<ProgressTimer> ownTimer_;
    ApplyProgress progress_;
    QPixmap frames_;
    int bitmap_ = ProgressTicker::kFirstBitmap;
    bool started_ = false;
    QLabel* picture_ = nullptr;
    QPushButton* done_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace quorrel
