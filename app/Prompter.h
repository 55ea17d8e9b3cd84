#pragma once

#include <QString>
#include <optional>

#include "app/MessagePresenter.h"

class QDialog;
class QWidget;

namespace quorrel {

// Every message box, modal dialog and folder prompt of the program goes through one
// Prompter, so that tests answer them with a recording fake instead of a user.
class Prompter : public MessagePresenter {
public:
    // Runs the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int runModal(QDialog& dialog) = 0;

    // The folder prompt: the chosen folder, or nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& start) = 0;
};

// The real one: QMessageBox, QDialog::exec and the toolkit's folder dialog, over the main
// window when there is one.
//
// With the environment variable QUORREL_UNATTENDED set to a non-empty value the program
// runs without a user: each message goes to the debugger output and is answered with its
// first button (OK, or Yes), dialogs are cancelled and the folder prompt is cancelled.
class QtPrompter final : public Prompter {
public:
    QtPrompter();

    MessageResult show(const Message& message) override;
    MessageResult showClosable(const Message& message, MessageCloser& closer) override;
    int runModal(QDialog& dialog) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& start) override;

    // Boxes and prompts are shown over this window (the main window once it exists).
    void setParentWindow(QWidget* window) { parent_ = window; }

private:
    MessageResult runBox(const Message& message, MessageCloser* closer);

    QWidget* parent_ = nullptr;
    bool unattended_ = false;
};

}  // namespace quorrel
