#pragma once

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <functional>
#include <string>

class QPushButton;

namespace quorrel {

class CMainFrame;

// A static text that reports clicks on it, as the link texts of the about dialog do.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// The about dialog "Quorrel 정보": banner, program icon, version, the product's and the
// maker's home pages as blue underlined link texts, the free-of-charge line and 확인.
// A click on a link opens its page through `openUrl` and leaves the dialog open.
class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    // Control identifiers of the dialog's template.
    static constexpr int IDC_BANNER = 1007;
    static constexpr int IDC_PRODUCT_LINK = 1065;
    static constexpr int IDC_MAKER_LINK = 1066;

    explicit CAboutDlg(std::function<void(const std::string&)> openUrl, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    QLabel* banner() const { return banner_; }
    ClickableLabel* productLink() const { return productLink_; }
    ClickableLabel* makerLink() const { return makerLink_; }
    QLabel* versionText() const { return version_; }
    QLabel* separatorText() const { return separator_; }
    QLabel* freeOfChargeText() const { return freeOfCharge_; }
    QPushButton* okButton() const { return ok_; }

private:
    void OnInitDialog();

    std::function<void(const std::string&)> openUrl_;
    // The font of the two link texts, made when the dialog is set up.
    QFont linkFont_;
    QLabel* banner_ = nullptr;
    QLabel* icon_ = nullptr;
    QLabel* version_ = nullptr;
    ClickableLabel* productLink_ = nullptr;
    QLabel* separator_ = nullptr;
    ClickableLabel* makerLink_ = nullptr;
    QLabel* freeOfCharge_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The about command (ID_APP_ABOUT): the about dialog without a parent window, run modally through
// the frame's prompter; its links open through the frame's OpenUrl. The result is ignored.
void OnAppAbout(CMainFrame& frame);

}  // namespace quorrel
