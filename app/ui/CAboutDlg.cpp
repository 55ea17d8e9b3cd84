#include "app/ui/CAboutDlg.h"

#include <QFontMetrics>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include "app/AboutLayout.h"
#include "app/ui/CMainFrame.h"
#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "resources/AboutTexts.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kLinkFontPixels = 12;
constexpr int kIconSize = 32;
const QColor kLinkColour(0, 0, 255);

void place(QWidget* widget, const PixelRect& rect) {
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

QLabel* plainText(const char* text, QWidget* parent) {
    auto* label = new QLabel(qs(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

CAboutDlg::CAboutDlg(std::function<void(const std::string&)> openUrl, QWidget* parent)
    : QDialog(parent), openUrl_(std::move(openUrl)) {
    setObjectName("CAboutDlg");
    setWindowTitle(qs(texts::kAboutCaption));
    // A fixed frame with a caption and the system menu, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont(qs(texts::kGulim));
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);

    banner_ = new QLabel(this);
    banner_->setObjectName("banner");
    banner_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    banner_->setLineWidth(1);
    banner_->setPixmap(QPixmap(":/images/about_banner.png"));
    icon_ = new QLabel(this);
    icon_->setPixmap(QIcon(":/images/quorrel_32.png").pixmap(kIconSize, kIconSize));
    version_ = plainText(texts::kAboutVersion, this);
    productLink_ = new ClickableLabel(qs(texts::kProductHomeUrl), this);
    productLink_->setObjectName("productLink");
    separator_ = plainText(texts::kAboutLinkSeparator, this);
    makerLink_ = new ClickableLabel(qs(texts::kMakerHomeUrl), this);
    makerLink_->setObjectName("makerLink");
    freeOfCharge_ = plainText(texts::kAboutFreeOfCharge, this);
    ok_ = new QPushButton(qs(texts::kAboutOk), this);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    for (ClickableLabel* link : {productLink_, makerLink_}) {
        link->setTextFormat(Qt::PlainText);
        link->setWordWrap(false);
        link->setCursor(Qt::PointingHandCursor);
    }
    connect(productLink_, &ClickableLabel::clicked, this,
            [this] { openUrl_(texts::kProductHomeUrl); });
    connect(makerLink_, &ClickableLabel::clicked, this, [this] { openUrl_(texts::kMakerHomeUrl); });

    OnInitDialog();
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::OnInitDialog() {
    // The link font: 굴림체, 12 pixels high, normal weight, underlined; in pure blue.
    linkFont_ = QFont(qs(texts::kGulimChe));
    linkFont_.setPixelSize(kLinkFontPixels);
    linkFont_.setWeight(QFont::Normal);
    linkFont_.setItalic(false);
    linkFont_.setUnderline(true);
    linkFont_.setStrikeOut(false);
    linkFont_.setStyleHint(QFont::SansSerif);
    for (ClickableLabel* link : {makerLink_, productLink_}) {
        link->setFont(linkFont_);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, kLinkColour);
        link->setPalette(palette);
    }

    // The template's places, in pixels of this dialog's font.
    const QFontMetrics metrics(font());
    const DialogBaseUnits base{averageCharWidth(metrics.horizontalAdvance(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
                               metrics.height()};
    const QFontMetrics linkMetrics(linkFont_);
    const QSize bannerSize = banner_->pixmap().size();
    AboutContent content;
    content.bannerWidth = bannerSize.width();
    content.bannerHeight = bannerSize.height();
    content.iconSize = kIconSize;
    content.versionTextWidth = version_->sizeHint().width();
    content.productLinkTextWidth = linkMetrics.horizontalAdvance(productLink_->text()) + 2;
    content.separatorTextWidth = separator_->sizeHint().width();
    content.makerLinkTextWidth = linkMetrics.horizontalAdvance(makerLink_->text()) + 2;
    content.freeOfChargeTextWidth = freeOfCharge_->sizeHint().width();
    const AboutLayout layout = layoutAboutDialog(base, content);

    place(banner_, layout.banner);
    place(icon_, layout.icon);
    place(version_, layout.version);
    place(productLink_, layout.productLink);
    place(separator_, layout.separator);
    place(makerLink_, layout.makerLink);
    place(freeOfCharge_, layout.freeOfCharge);
    place(ok_, layout.okButton);
    setFixedSize(layout.width, layout.height);
    ok_->setFocus();
}

void OnAppAbout(CMainFrame& frame) {
    CAboutDlg dialog([&frame](const std::string& url) { frame.OpenUrl(url); });
    frame.prompter().runModal(dialog);
}

}  // namespace quorrel
