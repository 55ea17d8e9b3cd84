#pragma once

#include <QDialog>
#include <memory>

#include "system/OutputCapture.h"

class QLabel;
class QPlainTextEdit;

namespace quorrel {

class BitmapButton;
class MessagePresenter;
class Prompter;

// The adapter status view "현황보기": the operating system's report on every adapter (the
// output of "ipconfig /all", our ipconfig on Linux) in a read-only text field. The report
// is captured once while the dialog opens; a command that cannot be started is reported
// once and leaves the field empty.
class CAdapterStatusDlg final : public QDialog {
    Q_OBJECT
public:
    // `capture` runs the report command; none: the system's status report.
    explicit CAdapterStatusDlg(MessagePresenter& messages,
                               std::unique_ptr<system::OutputCapture> capture = nullptr,
                               QWidget* parent = nullptr);
    ~CAdapterStatusDlg() override;

    // Captures the report, then runs the dialog through the prompter.
    int DoModal(Prompter& prompter);
    // Captures the report into the field; DoModal calls it.
    void OnInitDialog();

    QLabel* heading() const { return heading_; }
    QPlainTextEdit* reportField() const { return report_; }
    BitmapButton* closeButton() const { return close_; }

private:
    MessagePresenter& messages_;
    std::unique_ptr<system::OutputCapture> capture_;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    BitmapButton* close_ = nullptr;
};

// The report's bytes as text: UTF-8 here, the system code page (CP949) on Windows. CR LF
// line ends become line breaks of the field; nothing else is changed.
QString statusReportText(const std::string& bytes);

}  // namespace quorrel
