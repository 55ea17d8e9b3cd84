#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "adapters/AdapterChoice.h"
#include "adapters/AdapterInventory.h"
#include "adapters/ui/DialogFonts.h"
#include "platform/RegistryStore.h"
#include "profiles/Settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorrel {

class BitmapButton;
class Prompter;

// What the adapter selection dialog works with; the owner keeps it alive.
struct AdapterDialogServices {
    platform::AdapterTable& table;
    platform::AdapterKeys& keys;
    // Messages of the inventory (no adapter, unreadable keys).
    MessagePresenter& messages;
    // Where the confirmed choice is remembered (AdapterName, AutoCheck).
    platform::RegistryStore& registry;
    // The connection name of the adapter in use now (the main frame's currentSettings),
    // asked each time the dialog opens; its entry is selected.
    std::function<std::string()> currentAdapterName;
};

// The adapter selection dialog and the owner of the run's adapter inventory. The main frame
// makes one at its construction (which enumerates the adapters; the controls are made at
// the first showing) and shows it as often as the user asks; every DoModal fills the list afresh
// from the inventory as it is then. Browsing the list only shows an adapter's settings; OK makes
// the selected entry the chosen adapter and remembers it, Cancel changes nothing.
class CAdapterSelectDlg final : public QDialog {
    Q_OBJECT
public:
    // DoModal's results.
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    explicit CAdapterSelectDlg(AdapterDialogServices services);
    ~CAdapterSelectDlg() override;

    // Fills the dialog and runs it through the prompter. IDOK after OK (the OK button, the
    // Return key or a double click on an entry), else IDCANCEL.
    int DoModal(Prompter& prompter);

    // Shows the labels and, when entry `index` names an adapter, its settings; with no such
    // adapter the value fields keep what they show.
    void showDetails(int index);

    AdapterInventory& inventory() { return inventory_; }
    const AdapterInventory& inventory() const { return inventory_; }

    // The controls, for the frame's tests: made by the first DoModal or showDetails.
    QListWidget* adapterList() const { return list_; }
    QLabel* detailLabel(std::size_t row) const { return labels_[row]; }
    QLineEdit* valueField(std::size_t row) const { return values_[row]; }
    BitmapButton* okButton() const { return ok_; }
    BitmapButton* cancelButton() const { return cancel_; }
    QCheckBox* autoConnectBox() const { return autoConnect_; }
    const DialogFonts& fonts() const { return fonts_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void OnInitDialog();
    void OnOK();
    int selectedIndex() const;

    AdapterDialogServices services_;
    Settings settings_;
    AdapterInventory inventory_;
    DialogFonts fonts_;

    QLabel* listHeading_ = nullptr;
    QLabel* detailsHeading_ = nullptr;
    QListWidget* list_ = nullptr;
    std::array<QLabel*, kDetailRows> labels_{};
    std::array<QLineEdit*, kDetailRows> values_{};
    QLabel* hint_ = nullptr;
    BitmapButton* ok_ = nullptr;
    BitmapButton* cancel_ = nullptr;
    QPushButton* hiddenDefault_ = nullptr;
    QCheckBox* autoConnect_ = nullptr;
};

}  // namespace quorrel
