#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdlib>

#include "app/ui/QtPrompter.h"
#include "base/ui/QtText.h"
#include "platform/DebugTrace.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// A box's text may name its buttons ("[아니오]를 누르면..."): the yes and no buttons carry
// our own words, which differ from Qt's Korean ones.
void nameAnswerButtons(QMessageBox& box) {
    if (QAbstractButton* yes = box.button(QMessageBox::Yes)) {
        yes->setText(qs(texts::kMessageBoxYes));
    }
    if (QAbstractButton* no = box.button(QMessageBox::No)) {
        no->setText(qs(texts::kMessageBoxNo));
    }
}

MessageResult firstButton(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
}

}  // namespace

QtPrompter::QtPrompter() {
    const char* unattended = std::getenv("QUORREL_UNATTENDED");
    unattended_ = unattended != nullptr && *unattended != '\0';
}

MessageResult QtPrompter::show(const Message& message) {
    return runBox(message, nullptr);
}

MessageResult QtPrompter::showClosable(const Message& message, MessageCloser& closer) {
    if (closer.closed()) {
        return MessageResult::Cancel;
    }
    return runBox(message, &closer);
}

MessageResult QtPrompter::runBox(const Message& message, MessageCloser* closer) {
    if (unattended_) {
        DebugTrace("message: %s", message.text.c_str());
        if (!message.details.empty()) {
            DebugTrace("details: %s", message.details.c_str());
        }
        return firstButton(message.buttons);
    }
    QMessageBox box(boxIcon(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), boxButtons(message.buttons), parent_);
    nameAnswerButtons(box);
    if (!message.details.empty()) {
        // The box's "Show Details..." part: the text stays as it is, the reason beneath.
        box.setDetailedText(QString::fromStdString(message.details));
    }
    if (closer != nullptr) {
        // Closed from an event that the box's own loop delivers (the progress dialog
        // giving up), so the box and its loop end together.
        closer->attach([&box] { box.done(QMessageBox::Cancel); });
    }
    const int answer = box.exec();
    if (closer != nullptr) {
        closer->detach();
        if (closer->closed()) {
            return MessageResult::Cancel;
        }
    }
    switch (answer) {
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            break;
    }
    // Closing a Yes/No box by its close button is not an answer of Yes.
    return message.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

int QtPrompter::runModal(QDialog& dialog) {
    if (unattended_) {
        DebugTrace("dialog: %s", dialog.windowTitle().toStdString().c_str());
        return QDialog::Rejected;
    }
    return dialog.exec();
}

std::optional<QString> QtPrompter::chooseFolder(const QString& title, const QString& start) {
    if (unattended_) {
        DebugTrace("folder prompt: %s", title.toStdString().c_str());
        return std::nullopt;
    }
    const QString folder = QFileDialog::getExistingDirectory(parent_, title, start);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace quorrel
