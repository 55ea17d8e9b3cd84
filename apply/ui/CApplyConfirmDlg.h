#pragma once

#include <QDialog>
#include <QFont>

#include "apply/ApplyPlan.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorrel {

// "IP 설정 변경 확인": shows the adapter and the address settings an apply is about to set
// and asks yes or no. "예" accepts; "아니오", Esc and the close box reject.
class CApplyConfirmDlg final : public QDialog {
    Q_OBJECT
public:
    // Control identifiers of the dialog's template.
    static constexpr int IDC_ADAPTER_NAME = 1058;
    static constexpr int IDC_IP_TEXT = 1062;
    static constexpr int IDC_MASK_TEXT = 1063;
    static constexpr int IDC_GATEWAY_TEXT = 1064;

    explicit CApplyConfirmDlg(ConfirmationTexts texts, QWidget* parent = nullptr);
    ~CApplyConfirmDlg() override;

    QLineEdit* adapterName() const { return adapterName_; }
    QLabel* ipText() const { return ipText_; }
    QLabel* maskText() const { return maskText_; }
    QLabel* gatewayText() const { return gatewayText_; }
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }
    // The font of the adapter name and the three values.
    const QFont& valueFont() const { return valueFont_; }

private:
    void OnInitDialog();

    ConfirmationTexts texts_;
    QFont valueFont_;
    QLineEdit* adapterName_ = nullptr;
    QLabel* ipText_ = nullptr;
    QLabel* maskText_ = nullptr;
    QLabel* gatewayText_ = nullptr;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
};

}  // namespace quorrel
