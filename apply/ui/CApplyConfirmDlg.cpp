#include "apply/ui/CApplyConfirmDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "apply/ui/TemplateGeometry.h"
#include "base/ui/QtText.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kValueFontPixels = 12;
constexpr int kIconPixels = 32;

QLabel* plainText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

CApplyConfirmDlg::CApplyConfirmDlg(ConfirmationTexts texts, QWidget* parent)
    : QDialog(parent), texts_(std::move(texts)) {
    setObjectName("CApplyConfirmDlg");
    setWindowTitle(qs(texts::kConfirmCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont(qs(texts::kGulimChe));
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);
    const TemplateGeometry at(dialogFont);

    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    icon->setPixmap(QPixmap(":/images/apply_confirm_icon.png"));
    icon->setGeometry(at.across(7), at.down(9), kIconPixels, kIconPixels);
    at.placeAt(plainText(qs(texts::kConfirmLine1), this), 37, 7);
    at.placeAt(plainText(qs(texts::kConfirmLine2), this), 37, 21);

    auto* group = new QGroupBox(this);
    at.place(group, 7, 37, 204, 85);
    group->lower();
    at.placeAt(plainText(qs(texts::kConfirmAdapterLabel), this), 19, 51);
    adapterName_ = new QLineEdit(this);
    adapterName_->setObjectName("adapterName");
    at.place(adapterName_, 56, 49, 141, 12);

    const QPixmap bullet(":/images/apply_bullet.png");
    const char* labels[] = {texts::kConfirmIpLabel, texts::kConfirmMaskLabel,
                            texts::kConfirmGatewayLabel};
    const int labelRows[] = {75, 89, 103};
    const int valueRows[] = {77, 91, 103};
    QLabel** values[] = {&ipText_, &maskText_, &gatewayText_};
    const char* valueNames[] = {"ipText", "maskText", "gatewayText"};
    for (int i = 0; i < 3; ++i) {
        auto* mark = new QLabel(this);
        mark->setPixmap(bullet);
        at.place(mark, 32, labelRows[i], 7, 7);
        at.placeAt(plainText(qs(labels[i]), this), 43, labelRows[i]);
        QLabel* value = plainText(QString(), this);
        value->setObjectName(valueNames[i]);
        at.place(value, 103, valueRows[i], 99, 8);
        *values[i] = value;
    }

    yes_ = new QPushButton(qs(texts::kConfirmYes), this);
    yes_->setObjectName("yesButton");
    yes_->setDefault(true);
    at.place(yes_, 113, 135, 44, 18);
    no_ = new QPushButton(qs(texts::kConfirmNo), this);
    no_->setObjectName("noButton");
    at.place(no_, 167, 135, 44, 18);
    connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(at.across(218), at.down(160));
    OnInitDialog();
}

CApplyConfirmDlg::~CApplyConfirmDlg() = default;

void CApplyConfirmDlg::OnInitDialog() {
    // 굴림체, 12 pixels high, normal weight, plain.
    valueFont_ = QFont(qs(texts::kGulimChe));
    valueFont_.setPixelSize(kValueFontPixels);
    valueFont_.setWeight(QFont::Normal);
    valueFont_.setItalic(false);
    valueFont_.setUnderline(false);
    valueFont_.setStrikeOut(false);
    valueFont_.setStyleHint(QFont::SansSerif);

    adapterName_->setReadOnly(true);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{adapterName_, ipText_, maskText_, gatewayText_}) {
        widget->setFont(valueFont_);
    }
    adapterName_->setText(QString::fromStdString(texts_.adapterName));
    adapterName_->setCursorPosition(0);
    ipText_->setText(QString::fromStdString(texts_.ipText));
    maskText_->setText(QString::fromStdString(texts_.maskText));
    gatewayText_->setText(QString::fromStdString(texts_.gatewayText));
}

}  // namespace quorrel
