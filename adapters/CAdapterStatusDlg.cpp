#include "adapters/CAdapterStatusDlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "adapters/BitmapButton.h"
#include "adapters/DialogFonts.h"
#include "adapters/DialogPieces.h"
#include "app/MessagePresenter.h"
#include "app/Prompter.h"
#include "platform/DebugTrace.h"
#include "resources/AdapterTexts.h"
#include "resources/AppTexts.h"

#ifdef _WIN32
#include "platform/TextCodec.h"
#endif

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kReportWidth = 540;
constexpr int kReportHeight = 400;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QFont fixedPitchFont() {
    QFont font(qs(texts::kGulimChe));
    font.setPointSize(kDialogFontPoints);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

QString statusReportText(const std::string& bytes) {
#ifdef _WIN32
    QString text = QString::fromStdString(platform::makeCp949Codec()->decode(bytes));
#else
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
#endif
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

CAdapterStatusDlg::CAdapterStatusDlg(MessagePresenter& messages,
                                     std::unique_ptr<platform::OutputCapture> capture,
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
    const platform::CapturedOutput output = capture_->capture();
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
