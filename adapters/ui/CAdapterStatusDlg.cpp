#include "adapters/ui/CAdapterStatusDlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/DialogFonts.h"
#include "adapters/ui/DialogPieces.h"
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
constexpr int kReportWidth = 540;
constexpr int kReportHeight = 400;

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

    auto* layout = new QVBoxLayout(this);
    auto* headingRow = new QHBoxLayout;
    QLabel* bullet = makeBullet(kHeadingBullet, this);
    heading_ = new QLabel(qs(texts::kStatusHeading), this);
    heading_->setObjectName("heading");
    heading_->setFont(fonts.heading);
    headingRow->addWidget(bullet);
    headingRow->addWidget(heading_);
    headingRow->addStretch(1);
    layout->addLayout(headingRow);

    report_ = new QPlainTextEdit(this);
    report_->setObjectName("report");
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setFont(fixedPitchFont());
    report_->setMinimumSize(kReportWidth, kReportHeight);
    layout->addWidget(report_);

    // The close picture carries the word 닫기; the caption only names the pictures.
    auto* buttons = new QHBoxLayout;
    close_ = new BitmapButton(this);
    close_->setObjectName("close");
    close_->setAccessibleName(qs(texts::kStatusClose));
    close_->AutoLoad(QStringLiteral("close"));
    buttons->addStretch(1);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(close_, &QAbstractButton::clicked, this, &QDialog::accept);
}

CAdapterStatusDlg::~CAdapterStatusDlg() = default;

void CAdapterStatusDlg::OnInitDialog() {
    report_->clear();
    if (!capture_) {
        capture_ = platform::makeStatusReportCapture();
    }
    const system::CapturedOutput output = capture_->capture();
    if (!output.started) {
        DebugTrace("status report not started: %s", output.reason.c_str());
        messages_.show(Message{texts::kStatusStartFailedText, texts::kStatusStartFailedCaption,
                               MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    report_->setPlainText(statusReportText(output.text));
}

int CAdapterStatusDlg::DoModal(Prompter& prompter) {
    OnInitDialog();
    return prompter.runModal(*this);
}

}  // namespace quorrel
