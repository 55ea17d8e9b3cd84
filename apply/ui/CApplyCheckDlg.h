#pragma once

#include <QDialog>
#include <array>

#include "apply/ApplyTrial.h"

class QLabel;
class QPushButton;
class QTimer;

namespace quorrel {

// "적용 후 연결 확인": the check lines as they come in, then the question with its
// countdown. After passing checks: "새 설정 유지" keeps, "이전 설정으로" puts back; after a
// failed check: "예" puts back, "아니오" keeps. Esc, the close box and the countdown put
// back. The decisions are the ApplyTrial's; the dialog polls it every 50 ms and shows what
// it reports. It ends (accepted: keep; rejected: put back) once the trial has decided.
class CApplyCheckDlg final : public QDialog, private TrialListener {
    Q_OBJECT
public:
    CApplyCheckDlg(IpProfile applied, std::string connectionName, ConnectionCheckServices services,
                   TrialPolicy policy, QWidget* parent = nullptr);
    ~CApplyCheckDlg() override;

    // The first poll; the timer keeps polling from then on.
    void start();
    // One poll now (the timer's work; tests call it after moving their clock).
    void poll();

    const ApplyTrial& trial() const { return trial_; }
    QLabel* statusText() const { return status_; }
    QLabel* lineText(CheckKind kind) const { return lines_[static_cast<std::size_t>(kind)]; }
    QLabel* countdownText() const { return countdown_; }
    // "새 설정 유지" or "아니오".
    QPushButton* keepButton() const { return keep_; }
    // "이전 설정으로" or "예".
    QPushButton* putBackButton() const { return putBack_; }

    void reject() override;

private:
    void linesChanged(const std::vector<CheckLine>& lines) override;
    void askingUser(bool checksPassed) override;
    void secondsLeft(int seconds) override;
    void decided(const TrialResult& result) override;

    ApplyTrial trial_;
    QTimer* timer_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<QLabel*, 3> lines_{};
    QLabel* countdown_ = nullptr;
    QPushButton* keep_ = nullptr;
    QPushButton* putBack_ = nullptr;
};

}  // namespace quorrel
