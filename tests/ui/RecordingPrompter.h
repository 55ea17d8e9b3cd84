#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <vector>

#include "base/ui/Prompter.h"

namespace quorrel::test {

// Answers every message, dialog and folder prompt from a script and records what was
// asked, so that no test waits for a user. Without a scripted answer a message gets its
// first button (OK or Yes), a dialog is rejected and the folder prompt is cancelled.
class RecordingPrompter final : public Prompter {
public:
    std::vector<Message> messages;
    std::deque<MessageResult> answers;

    std::vector<QString> dialogTitles;
    // Called with the dialog instead of running it (fill in fields, press buttons); its
    // result is the dialog's result.
    std::function<int(QDialog&)> onDialog;

    std::vector<QString> folderPromptTitles;
    std::deque<QString> folders;  // an empty text answers as a cancel

    MessageResult show(const Message& message) override {
        messages.push_back(message);
        if (!answers.empty()) {
            const MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }

    // Runs while a box shown with showClosable() is open: the events that reach the
    // program meanwhile. The box counts as closed by its owner when the closer fires then.
    std::function<void()> whileBoxOpen;
    int boxesClosedByOwner = 0;

    MessageResult showClosable(const Message& message, MessageCloser& closer) override {
        if (closer.closed()) {
            return MessageResult::Cancel;
        }
        bool closedByOwner = false;
        closer.attach([&closedByOwner] { closedByOwner = true; });
        const MessageResult answer = show(message);
        if (whileBoxOpen) {
            whileBoxOpen();
        }
        closer.detach();
        if (closedByOwner) {
            ++boxesClosedByOwner;
            return MessageResult::Cancel;
        }
        return answer;
    }

    int runModal(QDialog& dialog) override {
        dialogTitles.push_back(dialog.windowTitle());
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }

    std::optional<QString> chooseFolder(const QString& title, const QString&) override {
        folderPromptTitles.push_back(title);
        if (folders.empty()) {
            return std::nullopt;
        }
        const QString folder = folders.front();
        folders.pop_front();
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return std::make_optional(folder);
    }
};

}  // namespace quorrel::test
