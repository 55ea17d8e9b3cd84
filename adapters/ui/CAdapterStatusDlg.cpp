#include "adapters/ui/CAdapterStatusDlg.h"

#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "adapters/StatusReportReader.h"
#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/DialogFonts.h"
#include "adapters/ui/DialogPieces.h"
#include "apply/ui/TemplateGeometry.h"
#include "base/MessagePresenter.h"
#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "platform/DebugTrace.h"
#include "platform/StatusReport.h"
#include "resources/AdapterTexts.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
// The dialog template's client area, in dialog units.
constexpr int kTemplateWidth = 291;
constexpr int kTemplateHeight = 280;

QFont fixedPitchFont() {
    QFont font(qs(texts::kGulimChe));
    font.setPointSize(kDialogFontPoints);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

QString statusReportText(const std::string& bytes) {
    QString text = QString::fromStdString(platform::statusReportUtf8(bytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

CAdapterStatusDlg::CAdapterStatusDlg(MessagePresenter& messages,
                                     std::unique_ptr<system::OutputCapture> capture,
                                     QWidget* parent)
    : QDialog(parent), messages_(messages), capture_(std::move(capture)) {
    setObjectName("CAdapterStatusDlg");
    setWindowTitle(qs(texts::kStatusCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogFonts fonts = makeDialogFonts();
    setFont(fixedPitchFont());

    // The template's places in dialog units, converted with the dialog font.
    const TemplateGeometry at(font());
    QLabel* bullet = makeBullet(kHeadingBullet, this);
    bullet->move(at.across(9), at.down(16));
    heading_ = new QLabel(qs(texts::kStatusHeading), this);
    heading_->setObjectName("heading");
    heading_->setFont(fonts.heading);
    at.place(heading_, 19, 16, 92, 12);
    heading_->resize(std::max(heading_->width(), heading_->sizeHint().width()),
                     std::max(heading_->height(), heading_->sizeHint().height()));

    report_ = new QPlainTextEdit(this);
    report_->setObjectName("report");
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setFont(fixedPitchFont());
    at.place(report_, 9, 30, 273, 223);

    // The close picture carries the word 닫기; the caption only names the pictures. The
    // button takes its picture's size at its place.
    close_ = new BitmapButton(this);
    close_->setObjectName("close");
    close_->setAccessibleName(qs(texts::kStatusClose));
    close_->AutoLoad(QStringLiteral("close"));
    close_->move(at.across(230), at.down(258));
    connect(close_, &QAbstractButton::clicked, this, &QDialog::accept);
    setFixedSize(at.across(kTemplateWidth), at.down(kTemplateHeight));

    deadline_ = new QTimer(this);
    deadline_->setObjectName("readDeadline");
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, &CAdapterStatusDlg::OnReadDeadline);
}

CAdapterStatusDlg::~CAdapterStatusDlg() {
    // Stops the reading and waits for its thread before the window goes; what it may
    // still have posted to the window is dropped with the window.
    reader_.reset();
}

void CAdapterStatusDlg::OnInitDialog() {
    report_->clear();
    if (reader_) {
        return;  // the report is read once per dialog
    }
    if (!capture_) {
        capture_ = platform::makeStatusReportCapture();
    }
    reader_ = std::make_unique<StatusReportReader>(std::move(capture_));
    // The reading thread hands its news to the window's thread; the window shows them.
    StatusReportReader::Events events;
    events.arrived = [this](const std::string& bytes) {
        QMetaObject::invokeMethod(
            this, [this, bytes] { showReport(bytes); }, Qt::QueuedConnection);
    };
    events.ended = [this](bool complete) {
        QMetaObject::invokeMethod(
            this, [this, complete] { readingEnded(complete); }, Qt::QueuedConnection);
    };
    if (const Done started = reader_->start(std::move(events)); !started) {
        DebugTrace("status report not started: %s", started.error().c_str());
        messages_.show(Message{texts::kStatusStartFailedText, texts::kStatusStartFailedCaption,
                               MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    reading_ = true;
    deadline_->start(kReadLimit);
}

void CAdapterStatusDlg::OnReadDeadline() {
    if (reader_ && reading_) {
        reader_->stop();
    }
}

void CAdapterStatusDlg::showReport(const std::string& bytes) {
    // The whole text each time: a piece may end inside a character or between CR and LF.
    report_->setPlainText(statusReportText(bytes));
}

void CAdapterStatusDlg::readingEnded(bool complete) {
    reading_ = false;
    deadline_->stop();
    if (!complete) {
        DebugTrace("status report cut off after %lld ms; showing what arrived",
                   static_cast<long long>(kReadLimit.count()));
    }
}

int CAdapterStatusDlg::DoModal(Prompter& prompter) {
    OnInitDialog();
    return prompter.runModal(*this);
}

}  // namespace quorrel
