#include "listview/ui/CProfileEditDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "listview/NameFieldLimit.h"
#include "listview/ui/IpAddressEdit.h"
#include "resources/ListTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
constexpr int kNameFieldWidth = 140;

QLabel* plainLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(qs(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Radio buttons are reached with the mouse or their group, not with Tab.
QRadioButton* radioButton(const char* text, const char* objectName, QWidget* parent) {
    auto* button = new QRadioButton(qs(text), parent);
    button->setObjectName(QLatin1String(objectName));
    button->setFocusPolicy(Qt::ClickFocus);
    return button;
}

IpAddressEdit* addressField(const char* objectName, const char* labelText, QWidget* parent) {
    auto* edit = new IpAddressEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    edit->setAccessibleName(qs(labelText));
    return edit;
}

}  // namespace

CProfileEditDlg::CProfileEditDlg(const ProfileList& profiles, const platform::TextCodec& codec,
                                 MessagePresenter& messages, QWidget* parent)
    : QDialog(parent), editor_(profiles, codec), codec_(codec), messages_(messages) {
    setObjectName("CProfileEditDlg");
    setWindowTitle(qs(texts::kEditorCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont(qs(texts::kEditorFontFace));
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);
    buildControls();
}

CProfileEditDlg::~CProfileEditDlg() = default;

void CProfileEditDlg::buildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* nameRow = new QHBoxLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    name_->setMinimumWidth(kNameFieldWidth);
    QLabel* nameLabel = plainLabel(texts::kEditorLabelName, this);
    nameLabel->setBuddy(name_);
    nameRow->addWidget(nameLabel);
    nameRow->addStretch(1);
    nameRow->addWidget(name_);
    layout->addLayout(nameRow);
    connect(name_, &QLineEdit::textEdited, this, &CProfileEditDlg::nameEdited);
    // A change the program makes becomes the new baseline. The field reports a change the
    // user makes twice, as edited and then as changed; the second report is skipped, since
    // nameEdited has decided about it already.
    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (settingName_) {
            return;
        }
        if (userEditPending_) {
            userEditPending_ = false;
        } else {
            acceptedName_ = text;
        }
    });

    // Address part: the automatic choice, then the group with the fixed choice on top.
    autoAddress_ = radioButton(texts::kEditorAutoAddress, "autoAddress", this);
    layout->addWidget(autoAddress_);
    auto* addressGroup = new QGroupBox(this);
    auto* addressLayout = new QGridLayout(addressGroup);
    fixedAddress_ = radioButton(texts::kEditorFixedAddress, "fixedAddress", addressGroup);
    address_ = addressField("address", texts::kEditorLabelAddress, addressGroup);
    mask_ = addressField("mask", texts::kEditorLabelMask, addressGroup);
    gateway_ = addressField("gateway", texts::kEditorLabelGateway, addressGroup);
    addressLayout->addWidget(fixedAddress_, 0, 0, 1, 2);
    addressLayout->addWidget(plainLabel(texts::kEditorLabelAddress, addressGroup), 1, 0);
    addressLayout->addWidget(address_, 1, 1);
    addressLayout->addWidget(plainLabel(texts::kEditorLabelMask, addressGroup), 2, 0);
    addressLayout->addWidget(mask_, 2, 1);
    addressLayout->addWidget(plainLabel(texts::kEditorLabelGateway, addressGroup), 3, 0);
    addressLayout->addWidget(gateway_, 3, 1);
    layout->addWidget(addressGroup);

    // DNS part, arranged the same way.
    autoDns_ = radioButton(texts::kEditorAutoDns, "autoDns", this);
    layout->addWidget(autoDns_);
    auto* dnsGroup = new QGroupBox(this);
    auto* dnsLayout = new QGridLayout(dnsGroup);
    fixedDns_ = radioButton(texts::kEditorFixedDns, "fixedDns", dnsGroup);
    primaryDns_ = addressField("primaryDns", texts::kEditorLabelPrimaryDns, dnsGroup);
    secondaryDns_ = addressField("secondaryDns", texts::kEditorLabelSecondaryDns, dnsGroup);
    dnsLayout->addWidget(fixedDns_, 0, 0, 1, 2);
    dnsLayout->addWidget(plainLabel(texts::kEditorLabelPrimaryDns, dnsGroup), 1, 0);
    dnsLayout->addWidget(primaryDns_, 1, 1);
    dnsLayout->addWidget(plainLabel(texts::kEditorLabelSecondaryDns, dnsGroup), 2, 0);
    dnsLayout->addWidget(secondaryDns_, 2, 1);
    layout->addWidget(dnsGroup);

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(qs(texts::kEditorOk), this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    cancel_ = new QPushButton(qs(texts::kEditorCancel), this);
    cancel_->setObjectName("cancel");
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Each pair is one group: a click never leaves both unchecked.
    auto* addressChoice = new QButtonGroup(this);
    addressChoice->addButton(autoAddress_);
    addressChoice->addButton(fixedAddress_);
    auto* dnsChoice = new QButtonGroup(this);
    dnsChoice->addButton(autoDns_);
    dnsChoice->addButton(fixedDns_);

    for (const EditorControl id :
         {EditorControl::Address, EditorControl::Mask, EditorControl::Gateway,
          EditorControl::PrimaryDns, EditorControl::SecondaryDns}) {
        addressEdit(id)->setModel(editor_.addressControl(id));
    }
    connect(mask_, &IpAddressEdit::focusGained, this, &CProfileEditDlg::maskFocusGained);

    auto onClick = [this](QRadioButton* button,
                          std::optional<EditorControl> (ProfileEditor::*action)()) {
        connect(button, &QRadioButton::clicked, this, [this, action] {
            const std::optional<EditorControl> focus = (editor_.*action)();
            showEditorState();
            moveFocus(focus);
        });
    };
    onClick(autoAddress_, &ProfileEditor::clickAutomaticAddress);
    onClick(fixedAddress_, &ProfileEditor::clickFixedAddress);
    onClick(autoDns_, &ProfileEditor::clickAutomaticDns);
    onClick(fixedDns_, &ProfileEditor::clickFixedDns);

    connect(ok_, &QPushButton::clicked, this, &CProfileEditDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CProfileEditDlg::reject);

    // Tab order: the name, the five address controls, OK, Cancel.
    setTabOrder(name_, address_);
    setTabOrder(address_, mask_);
    setTabOrder(mask_, gateway_);
    setTabOrder(gateway_, primaryDns_);
    setTabOrder(primaryDns_, secondaryDns_);
    setTabOrder(secondaryDns_, ok_);
    setTabOrder(ok_, cancel_);
}

QRadioButton* CProfileEditDlg::radio(EditorControl id) const {
    switch (id) {
        case EditorControl::AutoAddress:
            return autoAddress_;
        case EditorControl::FixedAddress:
            return fixedAddress_;
        case EditorControl::AutoDns:
            return autoDns_;
        case EditorControl::FixedDns:
            return fixedDns_;
        default:
            return nullptr;
    }
}

IpAddressEdit* CProfileEditDlg::addressEdit(EditorControl id) const {
    switch (id) {
        case EditorControl::Address:
            return address_;
        case EditorControl::Mask:
            return mask_;
        case EditorControl::Gateway:
            return gateway_;
        case EditorControl::PrimaryDns:
            return primaryDns_;
        case EditorControl::SecondaryDns:
            return secondaryDns_;
        default:
            return nullptr;
    }
}

QWidget* CProfileEditDlg::control(EditorControl id) const {
    switch (id) {
        case EditorControl::Ok:
            return ok_;
        case EditorControl::Cancel:
            return cancel_;
        case EditorControl::Name:
            return name_;
        default:
            break;
    }
    if (QRadioButton* button = radio(id)) {
        return button;
    }
    return addressEdit(id);
}

int CProfileEditDlg::DoModal(Prompter& prompter) {
    OnInitDialog();
    return prompter.runModal(*this) == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CProfileEditDlg::OnInitDialog() {
    const EditorControl focus =
        editMode ? editor_.startEdit(profile.value_or(IpProfile{}), originalEntry)
                 : editor_.startAdd();
    setWindowTitle(qs(editor_.caption()));
    nameText = editor_.controls().nameText;
    // A stored name is shown as it stands, even one longer than typing would allow.
    name_->setText(QString::fromStdString(platform::readableText(nameText)));
    storedName_ = nameText;
    shownName_ = name_->text();
    showEditorState();
    moveFocus(focus);
}

void CProfileEditDlg::showEditorState() {
    const ProfileEditorControls& state = editor_.controls();
    autoAddress_->setChecked(state.autoAddressChecked);
    fixedAddress_->setChecked(state.fixedAddressChecked);
    autoDns_->setChecked(state.autoDnsChecked);
    fixedDns_->setChecked(state.fixedDnsChecked);
    autoDns_->setEnabled(state.autoDnsEnabled);
    for (IpAddressEdit* edit : {address_, mask_, gateway_, primaryDns_, secondaryDns_}) {
        edit->syncFromModel();
    }
}

void CProfileEditDlg::moveFocus(std::optional<EditorControl> id) {
    if (!id) {
        return;
    }
    if (QWidget* target = control(*id)) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void CProfileEditDlg::nameEdited(const QString& text) {
    // The field takes no more than the limit, as a limited text box does: typing stops at
    // the limit and a paste keeps what fits (limitNameFieldEdit decides).
    userEditPending_ = true;
    const std::string typed = text.toStdString();
    const NameFieldEdit edit =
        limitNameFieldEdit(codec_, acceptedName_.toStdString(), typed, kProfileNameByteLimit);
    if (!edit.cut) {
        acceptedName_ = text;
        return;
    }
    acceptedName_ = QString::fromStdString(edit.text);
    settingName_ = true;
    name_->setText(acceptedName_);
    settingName_ = false;
    name_->setCursorPosition(
        static_cast<int>(QString::fromStdString(edit.text.substr(0, edit.cursor)).size()));
    QApplication::beep();
}

void CProfileEditDlg::maskFocusGained() {
    if (editor_.maskFocusGained()) {
        mask_->update();
    }
}

void CProfileEditDlg::accept() {
    nameText = name_->text() == shownName_ ? storedName_ : name_->text().toStdString();
    editor_.controls().nameText = nameText;
    const EditorOutcome outcome = editor_.confirm();
    if (!outcome.accepted()) {
        if (outcome.message) {
            messages_.show(*outcome.message);
        }
        moveFocus(outcome.focus);
        return;
    }
    profile = editor_.profile();
    QDialog::accept();
}

}  // namespace quorrel
