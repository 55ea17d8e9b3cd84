#pragma once

#include "base/ui/Prompter.h"

namespace quorrel {

// The prompter of the running program: QMessageBox, QDialog::exec and the toolkit's folder dialog,
// over the main window when there is one.
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
