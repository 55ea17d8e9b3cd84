#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

#include "listview/ProfileEditor.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorrel {

class IpAddressEdit;
class MessagePresenter;
class Prompter;

// The dialog in which the user enters a new profile or changes one. It shows and forwards;
// ProfileEditor makes every decision (start-up, radio actions, the proposed mask, the
// checks of OK and the profile it hands back).
//
// Use: construct, for editing set editMode, profile and originalEntry, then DoModal (or
// OnInitDialog followed by running the dialog some other way). On OK `profile` holds the
// result; the caller takes it over before the dialog is destroyed.
class CProfileEditDlg final : public QDialog {
    Q_OBJECT
public:
    // DoModal's results.
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    // `profiles` is the main window's list (duplicate-name test); refused entries are
    // reported through `messages`.
    CProfileEditDlg(const ProfileList& profiles, const platform::TextCodec& codec,
                    MessagePresenter& messages, QWidget* parent = nullptr);
    ~CProfileEditDlg() override;

    // Set up the controls for the mode, then run the dialog through the prompter: IDOK or
    // IDCANCEL.
    int DoModal(Prompter& prompter);
    // Set-up of the controls from editMode and profile; DoModal calls it.
    void OnInitDialog();

    bool editMode = false;
    // Edit: the working copy handed in. After OK: the finished profile.
    std::optional<IpProfile> profile;
    // The list entry being edited; compared by identity only.
    const IpProfile* originalEntry = nullptr;
    // The name field's text (UTF-8), taken at OK; the stored name when the field still
    // shows it unchanged.
    std::string nameText;

    // The controls, by their ids.
    QLineEdit* nameField() const { return name_; }
    QRadioButton* radio(EditorControl id) const;
    IpAddressEdit* addressEdit(EditorControl id) const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QWidget* control(EditorControl id) const;

    const ProfileEditor& editor() const { return editor_; }

public slots:
    void accept() override;

private:
    void buildControls();
    // Shows the editor's state: checks, enabled states and field contents.
    void showEditorState();
    void moveFocus(std::optional<EditorControl> id);
    void nameEdited(const QString& text);
    void maskFocusGained();

    ProfileEditor editor_;
    const platform::TextCodec& codec_;
    MessagePresenter& messages_;
    QLineEdit* name_ = nullptr;
    QRadioButton* autoAddress_ = nullptr;
    QRadioButton* fixedAddress_ = nullptr;
    QRadioButton* autoDns_ = nullptr;
    QRadioButton* fixedDns_ = nullptr;
    IpAddressEdit* address_ = nullptr;
    IpAddressEdit* mask_ = nullptr;
    IpAddressEdit* gateway_ = nullptr;
    IpAddressEdit* primaryDns_ = nullptr;
    IpAddressEdit* secondaryDns_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    // The name as it stood before the last edit, to undo an edit that overflows the limit.
    QString acceptedName_;
    bool settingName_ = false;
    bool userEditPending_ = false;
    // The stored name and the text the field showed for it: a name left as shown keeps its
    // stored bytes, also bytes the field can only show as a replacement character.
    std::string storedName_;
    QString shownName_;
};

}  // namespace quorrel
