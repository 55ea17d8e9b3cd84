#include "adapters/CAdapterStatusDlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
constexpr int kHeadingFontPixels = 14;
constexpr int kBulletPixels = 10;
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

// The small square bullet before the heading.
QPixmap headingBullet() {
    QPixmap bullet(kBulletPixels, kBulletPixels);
    bullet.fill(Qt::transparent);
    QPainter painter(&bullet);
    painter.fillRect(2, 2, 6, 6, QColor(0x33, 0x66, 0xCC));
    return bullet;
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
    setFont(fixedPitchFont());

    auto* layout = new QVBoxLayout(this);
    auto* headingRow = new QHBoxLayout;
    auto* bullet = new QLabel(this);
    bullet->setPixmap(headingBullet());
    bullet->setFixedSize(kBulletPixels, kBulletPixels);
    heading_ = new QLabel(qs(texts::kStatusHeading), this);
    heading_->setObjectName("heading");
    QFont headingFont(qs(texts::kGulimChe));
    headingFont.setPixelSize(kHeadingFontPixels);
    headingFont.setBold(true);
    heading_->setFont(headingFont);
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

    // A plain button until the picture button takes its place.
    auto* buttons = new QHBoxLayout;
    close_ = new QPushButton(qs(texts::kStatusClose), this);
    close_->setObjectName("close");
    buttons->addStretch(1);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
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
