#include "apply/ui/CApplyCheckDlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/TextFormat.h"
#include "base/ui/QtText.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

namespace {

constexpr int kPollMs = 50;
constexpr int kMinimumWidth = 420;

}  // namespace

CApplyCheckDlg::CApplyCheckDlg(IpProfile applied, std::string connectionName,
                               ConnectionCheckServices services, TrialPolicy policy,
                               QWidget* parent)
    : QDialog(parent),
      trial_(
          std::move(applied), std::move(connectionName),
          [&] {
              // A question that answers wakes the dialog at once instead of at its next tick.
              // The question may outlive the dialog: the application object takes the call,
              // and the guard, looked at on the user-interface thread, drops it then.
              ConnectionCheckServices withWake = std::move(services);
              if (!withWake.wake) {
                  withWake.wake = [guard = QPointer<CApplyCheckDlg>(this)] {
                      QMetaObject::invokeMethod(
                          qApp,
                          [guard] {
                              if (guard) {
                                  guard->poll();
                              }
                          },
                          Qt::QueuedConnection);
                  };
              }
              return withWake;
          }(),
          policy, *this) {
    setObjectName("CApplyCheckDlg");
    setWindowTitle(qs(texts::kCheckCaption));
    setMinimumWidth(kMinimumWidth);

    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(qs(texts::kCheckRunningText), this);
    status_->setObjectName("statusText");
    layout->addWidget(status_);
    for (QLabel*& line : lines_) {
        line = new QLabel(this);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line);
    }
    linesChanged(trial_.lines());
    countdown_ = new QLabel(this);
    countdown_->setObjectName("countdownText");
    countdown_->hide();
    layout->addWidget(countdown_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    keep_ = new QPushButton(qs(texts::kKeepButton), this);
    keep_->setObjectName("keepButton");
    keep_->hide();
    putBack_ = new QPushButton(qs(texts::kPutBackButton), this);
    putBack_->setObjectName("putBackButton");
    buttons->addWidget(keep_);
    buttons->addWidget(putBack_);
    layout->addLayout(buttons);

    connect(keep_, &QPushButton::clicked, this, [this] { trial_.keep(); });
    connect(putBack_, &QPushButton::clicked, this, [this] { trial_.putBack(); });

    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &CApplyCheckDlg::poll);
    QTimer::singleShot(0, this, &CApplyCheckDlg::start);
}

CApplyCheckDlg::~CApplyCheckDlg() = default;

void CApplyCheckDlg::start() {
    if (trial_.phase() != ApplyTrial::Phase::Idle) {
        return;
    }
    trial_.start();
    if (trial_.phase() != ApplyTrial::Phase::Decided) {
        timer_->start();
    }
}

void CApplyCheckDlg::poll() {
    trial_.poll();
}

void CApplyCheckDlg::reject() {
    // Closing without keeping the new settings is not keeping them.
    if (!trial_.putBack() && trial_.phase() == ApplyTrial::Phase::Idle) {
        QDialog::reject();
    }
}

void CApplyCheckDlg::linesChanged(const std::vector<CheckLine>& lines) {
    for (const CheckLine& line : lines) {
        lineText(line.kind)->setText(QString::fromStdString(line.text));
    }
}

void CApplyCheckDlg::askingUser(bool checksPassed) {
    status_->setText(qs(checksPassed ? texts::kCheckPassedText : texts::kCheckFailedText));
    keep_->setText(qs(checksPassed ? texts::kKeepButton : texts::kNoButton));
    putBack_->setText(qs(checksPassed ? texts::kPutBackButton : texts::kYesButton));
    keep_->show();
    // After passing checks the safe answer is to keep them, after a failure to go back.
    (checksPassed ? keep_ : putBack_)->setDefault(true);
    (checksPassed ? keep_ : putBack_)->setFocus();
}

void CApplyCheckDlg::secondsLeft(int seconds) {
    countdown_->setText(
        QString::fromStdString(fillFormat(texts::kCountdownFormat, {std::to_string(seconds)})));
    countdown_->show();
}

void CApplyCheckDlg::decided(const TrialResult& result) {
    timer_->stop();
    if (result.decision == TrialDecision::Keep) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

}  // namespace quorrel
