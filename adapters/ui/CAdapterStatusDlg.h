#pragma once

#include <QDialog>
#include <chrono>
#include <memory>

#include "system/OutputCapture.h"

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace quorrel {

class BitmapButton;
class MessagePresenter;
class Prompter;
class StatusReportReader;

// The adapter status view "현황보기": the operating system's report on every adapter (the
// output of "ipconfig /all", our ipconfig on Linux) in a read-only text field. The command
// is started once as the dialog opens; a command that cannot be started is reported once
// and leaves the field empty.
//
// The report is read on a thread of its own while the dialog is open, so the window never
// freezes: the field shows what has arrived so far. A command that has not closed its
// output within kReadLimit is given up; the field keeps what it sent until then.
class CAdapterStatusDlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kReadLimit{10000};

    // `capture` runs the report command; none: the system's status report.
    explicit CAdapterStatusDlg(MessagePresenter& messages,
                               std::unique_ptr<system::OutputCapture> capture = nullptr,
                               QWidget* parent = nullptr);
    ~CAdapterStatusDlg() override;

    // Starts the report, then runs the dialog through the prompter.
    int DoModal(Prompter& prompter);
    // Starts the report command and its reading; DoModal calls it.
    void OnInitDialog();

    // True from the start of the reading until its end has reached the field.
    bool reading() const { return reading_; }
    // The read deadline's timer, started with the reading.
    QTimer* readDeadline() const { return deadline_; }
    // The deadline has passed: the reading stops, the field keeps what arrived.
    void OnReadDeadline();

    QLabel* heading() const { return heading_; }
    QPlainTextEdit* reportField() const { return report_; }
    BitmapButton* closeButton() const { return close_; }

private:
    void showReport(const std::string& bytes);
    void readingEnded(bool complete);

    MessagePresenter& messages_;
    std::unique_ptr<system::OutputCapture> capture_;
    std::unique_ptr<StatusReportReader> reader_;
    bool reading_ = false;
    QTimer* deadline_ = nullptr;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    BitmapButton* close_ = nullptr;
};

// The report's bytes as text: UTF-8 here, the system code page (CP949) on Windows. CR LF
// line ends become line breaks of the field; nothing else is changed.
QString statusReportText(const std::string& bytes);

}  // namespace quorrel
