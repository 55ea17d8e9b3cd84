#include "listview/ui/CProfileEditDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "apply/ui/TemplateGeometry.h"
#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "listview/NameFieldLimit.h"
#include "listview/ui/IpAddressEdit.h"
#include "resources/ListTexts.h"

namespace quorrel {

namespace {

constexpr int kDialogFontPoints = 9;
// The dialog template's client area, in dialog units.
constexpr int kTemplateWidth = 194;
constexpr int kTemplateHeight = 215;

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

// A group box whose title is a radio button, as the template draws it: the radio sits on
// the box's top edge, which runs through its middle, and hides the edge behind its text.
void placeOnFrame(QRadioButton* radio, QRect radioPlace, QRect groupPlace) {
    auto* group = new QGroupBox(radio->parentWidget());
    const int edge = radioPlace.y() + radioPlace.height() / 2;
    group->setGeometry(groupPlace.x(), edge, groupPlace.width(), groupPlace.bottom() + 1 - edge);
    group->lower();
    // At least as tall as the button needs, centred on the edge; no wider than its text.
    const QSize needed = radio->sizeHint();
    const int height = std::max(radioPlace.height(), needed.height());
    radio->setGeometry(radioPlace.x(), edge - height / 2,
                       std::min(radioPlace.width(), needed.width()), height);
    radio->setAutoFillBackground(true);
    radio->raise();
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
    // The template's places in dialog units, converted with the dialog font.
    const TemplateGeometry at(font());

    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    QLabel* nameLabel = plainLabel(texts::kEditorLabelName, this);
    nameLabel->setBuddy(name_);
    at.place(nameLabel, 15, 7, 50, 9);
    at.place(name_, 86, 7, 91, 12);
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

    // Address part: the automatic choice, then the group whose title is the fixed choice.
    autoAddress_ = radioButton(texts::kEditorAutoAddress, "autoAddress", this);
    at.place(autoAddress_, 13, 35, 84, 9);
    fixedAddress_ = radioButton(texts::kEditorFixedAddress, "fixedAddress", this);
    placeOnFrame(fixedAddress_, at.rect(13, 48, 73, 11), at.rect(7, 48, 180, 63));
    address_ = addressField("address", texts::kEditorLabelAddress, this);
    mask_ = addressField("mask", texts::kEditorLabelMask, this);
    gateway_ = addressField("gateway", texts::kEditorLabelGateway, this);
    at.place(plainLabel(texts::kEditorLabelAddress, this), 15, 61, 61, 11);
    at.place(address_, 86, 61, 91, 11);
    at.place(plainLabel(texts::kEditorLabelMask, this), 15, 75, 61, 11);
    at.place(mask_, 86, 75, 90, 11);
    at.place(plainLabel(texts::kEditorLabelGateway, this), 15, 90, 61, 11);
    at.place(gateway_, 86, 90, 90, 11);

    // DNS part, arranged the same way.
    autoDns_ = radioButton(texts::kEditorAutoDns, "autoDns", this);
    at.place(autoDns_, 13, 121, 107, 9);
    fixedDns_ = radioButton(texts::kEditorFixedDns, "fixedDns", this);
    placeOnFrame(fixedDns_, at.rect(13, 135, 97, 9), at.rect(7, 134, 180, 53));
    primaryDns_ = addressField("primaryDns", texts::kEditorLabelPrimaryDns, this);
    secondaryDns_ = addressField("secondaryDns", texts::kEditorLabelSecondaryDns, this);
    at.place(plainLabel(texts::kEditorLabelPrimaryDns, this), 15, 152, 70, 11);
    at.place(primaryDns_, 86, 152, 90, 11);
    at.place(plainLabel(texts::kEditorLabelSecondaryDns, this), 15, 167, 60, 11);
    at.place(secondaryDns_, 86, 167, 90, 11);

    ok_ = new QPushButton(qs(texts::kEditorOk), this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    at.place(ok_, 101, 194, 40, 14);
    cancel_ = new QPushButton(qs(texts::kEditorCancel), this);
    cancel_->setObjectName("cancel");
    at.place(cancel_, 147, 194, 40, 14);
    setFixedSize(at.across(kTemplateWidth), at.down(kTemplateHeight));

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
