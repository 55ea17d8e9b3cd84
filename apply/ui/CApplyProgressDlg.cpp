#include "apply/ui/CApplyProgressDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "apply/ui/TemplateGeometry.h"
#include "base/ui/QtText.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kFramePixels = 32;

// The dialog's own timer: a QTimer whose ticks reach the dialog under the id it was started
// with.
class QtProgressTimer final : public ProgressTimer {
public:
    explicit QtProgressTimer(std::function<void(int)> onTick) : onTick_(std::move(onTick)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { onTick_(id_); });
    }
    void start(int timerId, int periodMs) override {
        id_ = timerId;
        timer_.start(periodMs);
    }
    void stop(int timerId) override {
        if (timerId == id_) {
            timer_.stop();
        }
    }

private:
    std::function<void(int)> onTick_;
    QTimer timer_;
    int id_ = 0;
};

std::unique_ptr<ProgressTimer> ownTimerUnless(ProgressTimer* given,
                                              std::function<void(int)> onTick) {
    if (given != nullptr) {
        return nullptr;
    }
    return std::make_unique<QtProgressTimer>(std::move(onTick));
}

}  // namespace

CApplyProgressDlg::CApplyProgressDlg(ApplyPlan plan, CommandThreadServices services,
                                     QWidget* parent, ProgressTimer* timer)
    : QDialog(parent),
      ownTimer_(ownTimerUnless(timer, [this](int id) { OnTimer(id); })),
      progress_(std::move(plan), std::move(services), timer != nullptr ? *timer : *ownTimer_,
                *this),
      frames_(":/images/apply_progress.png") {
    setObjectName("CApplyProgressDlg");
    setWindowTitle(qs(texts::kProgressCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont(qs(texts::kGulim));
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);
    const TemplateGeometry at(dialogFont);

    picture_ = new QLabel(this);
    picture_->setObjectName("animation");
    picture_->setGeometry(at.across(7), at.down(7), kFramePixels, kFramePixels);
    showFrame(ProgressTicker::kFirstBitmap);

    const char* lines[] = {texts::kProgressLine1, texts::kProgressLine2, texts::kProgressLine3,
                           texts::kProgressLine4};
    int row = 7;
    for (const char* line : lines) {
        auto* label = new QLabel(qs(line), this);
        label->setTextFormat(Qt::PlainText);
        at.placeAt(label, 31, row);
        row += 12;
    }

    done_ = new QPushButton(qs(texts::kProgressDone), this);
    done_->setObjectName("doneButton");
    at.place(done_, 7, 58, 50, 18);
    done_->setVisible(false);
    stop_ = new QPushButton(qs(texts::kProgressStop), this);
    stop_->setObjectName("stopButton");
    stop_->setDefault(true);
    at.place(stop_, 102, 58, 50, 18);
    connect(stop_, &QPushButton::clicked, this, &CApplyProgressDlg::reject);

    setFixedSize(at.across(255), at.down(83));
}

CApplyProgressDlg::~CApplyProgressDlg() = default;

void CApplyProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        stop_->setFocus();
        progress_.start();
    }
}

void CApplyProgressDlg::OnTimer(int timerId) {
    progress_.onTimer(timerId);
}

std::optional<ApplyOutcome> CApplyProgressDlg::outcome() const {
    if (!progress_.result()) {
        return std::nullopt;
    }
    return progress_.outcome();
}

void CApplyProgressDlg::reject() {
    // Once ended, the result stands.
    progress_.cancel();
}

void CApplyProgressDlg::accept() {}

void CApplyProgressDlg::showFrame(int bitmapId) {
    const int frame = bitmapId - ProgressTicker::kFirstBitmap;
    if (frame < 0 || frame >= ProgressTicker::kFrameCount) {
        return;
    }
    bitmap_ = bitmapId;
    picture_->setPixmap(frames_.copy(frame * kFramePixels, 0, kFramePixels, kFramePixels));
}

void CApplyProgressDlg::end(ProgressResult result) {
    QDialog::done(result == ProgressResult::Ok ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace quorrel
