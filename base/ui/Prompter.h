#pragma once

#include <QString>
#include <optional>

#include "base/MessagePresenter.h"

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

}  // namespace quorrel
