#include "adapters/ui/CAdapterSelectDlg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/DialogPieces.h"
#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "platform/DebugTrace.h"
#include "resources/AdapterTexts.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

// The dialog is laid out in dialog units of its 9-point face: one unit is 1.5 pixels
// either way.
constexpr double kPixelsPerUnit = 1.5;
constexpr int kDialogFontPoints = 9;

int px(double units) {
    return static_cast<int>(std::lround(units * kPixelsPerUnit));
}

void place(QWidget* widget, double x, double y, double width, double height) {
    widget->setGeometry(px(x), px(y), px(width), px(height));
}

void placeAt(QWidget* widget, double x, double y) {
    widget->move(px(x), px(y));
}

// Rows of the details, 12 units apart; the value fields sit a unit higher than their
// labels, and the last one a unit higher still.
constexpr double kFirstRowY = 38;
constexpr double kRowStep = 12;
constexpr std::array<double, kDetailRows> kValueY = {37, 49, 61, 73, 85, 97, 109, 120};
constexpr double kBulletX = 99;
constexpr double kLabelX = 107;
// Wide enough for the padded caption and its ": ".
constexpr double kLabelWidth = 60;
constexpr double kValueX = 168;
constexpr double kValueWidth = 134;

// An entry of the adapter list, which keeps its entries in the list box's order.
class AdapterListEntry final : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override {
        return listBoxOrder(text().toStdString(), other.text().toStdString());
    }
};

void writeDebugLine(const std::string& line) {
    DebugTrace("%s", line.c_str());
}

}  // namespace

CAdapterSelectDlg::CAdapterSelectDlg(AdapterDialogServices services)
    : QDialog(nullptr),
      services_(std::move(services)),
      settings_(services_.registry, writeDebugLine),
      inventory_(services_.table, services_.keys, services_.messages),
      fonts_(makeDialogFonts()) {
    // The controls wait for the first showing: the frame makes this dialog at its start,
    // and most runs never open it.
    inventory_.enumerate();
    inventory_.setSelectedName("");
}

CAdapterSelectDlg::~CAdapterSelectDlg() {
    inventory_.clear();
}

void CAdapterSelectDlg::buildControls() {
    if (list_ != nullptr) {
        return;
    }
    setObjectName("CAdapterSelectDlg");
    setWindowTitle(qs(texts::kAdapterSelectCaption));
    setFixedSize(px(311), px(174));
    QFont dialogFont(qs(texts::kGulimChe));
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);

    placeAt(makeBullet(kHeadingBullet, this), 8, 6);
    listHeading_ = new QLabel(qs(texts::kAdapterListHeading), this);
    place(listHeading_, 18, 5, 83, 12);

    list_ = new QListWidget(this);
    list_->setObjectName("adapterList");
    list_->setSortingEnabled(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFrameShape(QFrame::StyledPanel);
    place(list_, 8, 22, 81, 109);

    placeAt(makeBullet(kDetailsBullet, this), 93, 23);
    detailsHeading_ = new QLabel(qs(texts::kCurrentSettingsHeading), this);
    place(detailsHeading_, 103, 23, 80, 9);

    for (std::size_t row = 0; row < kDetailRows; ++row) {
        const double y = kFirstRowY + kRowStep * static_cast<double>(row);
        placeAt(makeBullet(kRowBullet, this), kBulletX, y);
        labels_[row] = new QLabel(this);
        labels_[row]->setObjectName(QStringLiteral("detailLabel%1").arg(row));
        place(labels_[row], kLabelX, y, kLabelWidth, 8);
        values_[row] = makeValueField(this);
        values_[row]->setObjectName(QStringLiteral("detailValue%1").arg(row));
        place(values_[row], kValueX, kValueY[row], kValueWidth, 12);
    }

    hint_ = new QLabel(qs(texts::kAdapterSelectHint), this);
    place(hint_, 8, 138, 153, 9);

    ok_ = new BitmapButton(this);
    placeAt(ok_, 188, 153);
    cancel_ = new BitmapButton(this);
    placeAt(cancel_, 248, 153);

    hiddenDefault_ = new QPushButton(this);
    place(hiddenDefault_, 133, 157, 17, 14);
    hiddenDefault_->hide();

    autoConnect_ = new QCheckBox(qs(texts::kAutoConnectBox), this);
    autoConnect_->setObjectName("autoConnect");
    place(autoConnect_, 206, 1, 102, 10);
    autoConnect_->hide();

    listHeading_->setFont(fonts_.heading);
    detailsHeading_->setFont(fonts_.subheading);
    for (std::size_t row = 0; row < kDetailRows; ++row) {
        labels_[row]->setFont(fonts_.body);
        values_[row]->setFont(fonts_.body);
    }
    list_->setFont(fonts_.body);
    autoConnect_->setFont(fonts_.body);

    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { showDetails(selectedIndex()); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnOK(); });
    connect(ok_, &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(hiddenDefault_, &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { reject(); });
}

int CAdapterSelectDlg::DoModal(Prompter& prompter) {
    OnInitDialog();
    return prompter.runModal(*this) == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CAdapterSelectDlg::OnInitDialog() {
    buildControls();
    setResult(QDialog::Rejected);
    autoConnect_->setChecked(true);
    ok_->AutoLoad("ok");
    cancel_->AutoLoad("cancel");
    for (QLineEdit* field : values_) {
        field->setReadOnly(true);
        field->clear();
    }

    // A fresh list from the inventory as it is now; the list sorts what it is given.
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const AdapterInfo& record : inventory_.records()) {
        list_->addItem(new AdapterListEntry(QString::fromStdString(record.connectionName)));
    }
    std::vector<std::string> entries;
    for (int i = 0; i < list_->count(); ++i) {
        entries.push_back(list_->item(i)->text().toStdString());
    }
    const std::string current =
        services_.currentAdapterName ? services_.currentAdapterName() : std::string();
    const int found = findEntryIgnoringCase(entries, current, 0);
    if (found >= 0) {
        list_->setCurrentRow(found);
    }
    showDetails(found);
}

void CAdapterSelectDlg::showDetails(int index) {
    buildControls();
    const std::array<std::string, kDetailRows> captions = adapterDetailLabels();
    for (std::size_t row = 0; row < kDetailRows; ++row) {
        labels_[row]->setText(QString::fromStdString(captions[row]));
    }
    QString text;
    if (index >= 0 && index < list_->count()) {
        text = list_->item(index)->text();
    }
    const AdapterInfo* adapter = findAdapterByName(inventory_, text.toStdString());
    if (adapter == nullptr) {
        return;
    }
    const std::array<std::string, kDetailRows> shown = adapterDetailValues(*adapter);
    for (std::size_t row = 0; row < kDetailRows; ++row) {
        values_[row]->setText(QString::fromStdString(shown[row]));
        values_[row]->setCursorPosition(0);
    }
}

int CAdapterSelectDlg::selectedIndex() const {
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) {
            return i;
        }
    }
    return -1;
}

void CAdapterSelectDlg::OnOK() {
    const int index = selectedIndex();
    const std::string chosen =
        index >= 0 ? list_->item(index)->text().toStdString() : std::string();
    confirmAdapterChoice(inventory_, settings_, chosen, autoConnect_->isChecked());
    accept();
}

void CAdapterSelectDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Return presses the focused picture button, else the (hidden) default one.
        if (cancel_->hasFocus()) {
            cancel_->click();
        } else {
            OnOK();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quorrel
