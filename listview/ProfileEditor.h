#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/MessagePresenter.h"
#include "listview/AddressFieldModel.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// Controls of the profile editor dialog, by their dialog ids.
enum class EditorControl : int {
    Ok = 1,
    Cancel = 2,
    AutoAddress = 1000,
    FixedAddress = 1001,
    AutoDns = 1002,
    FixedDns = 1003,
    Name = 1004,
    Address = 1005,
    Mask = 1006,
    Gateway = 1007,
    PrimaryDns = 1008,
    SecondaryDns = 1009,
};

// A profile name holds at most this many bytes of the Korean code page.
inline constexpr std::size_t kProfileNameByteLimit = 20;

// Whether the name field may hold this text while the user types (the field takes no
// more than the limit).
bool profileNameFits(const platform::TextCodec& codec, std::string_view name);

// Everything the dialog shows: the name field, the four radio buttons and the five
// address controls (which carry their own enabled state).
struct ProfileEditorControls {
    std::string nameText;
    bool autoAddressChecked = false;
    bool fixedAddressChecked = false;
    bool autoDnsChecked = false;
    bool fixedDnsChecked = false;
    // The automatic-DNS radio can be clicked only while the address is automatic.
    bool autoDnsEnabled = true;
    AddressFieldModel address;
    AddressFieldModel mask;
    AddressFieldModel gateway;
    AddressFieldModel primaryDns;
    AddressFieldModel secondaryDns;
};

// Why OK was refused, in the order the checks run.
enum class EditorCheck {
    Accepted,
    NameTooLong,
    NameNotEncodable,
    NameMissing,
    NameHasBar,
    AddressOutOfRange,
    MaskMissing,
    DuplicateName,
};

// What the dialog does after OK: close, or show `message` and move the focus to `focus`
// when there is one. A refused OK changes no field and no profile.
struct EditorOutcome {
    EditorCheck check = EditorCheck::Accepted;
    std::optional<Message> message;
    std::optional<EditorControl> focus;

    bool accepted() const { return check == EditorCheck::Accepted; }
};

// The decisions of the profile editor dialog. The dialog forwards clicks, focus changes
// and OK here and shows controls() as they are afterwards. Where an operation returns a
// control, the dialog moves the input focus to it.
class ProfileEditor {
public:
    // `profiles` is the main window's list, read for the duplicate-name test.
    ProfileEditor(const ProfileList& profiles, const platform::TextCodec& codec);

    // Start-up for a new profile. Returns the control that gets the focus (the name).
    EditorControl startAdd();
    // Start-up for changing a profile: `workingCopy` becomes profile() and receives the
    // changes at OK; `originalEntry` is the list entry being edited, compared by identity.
    EditorControl startEdit(IpProfile workingCopy, const IpProfile* originalEntry);

    bool editMode() const { return editMode_; }
    const char* caption() const;

    ProfileEditorControls& controls() { return controls_; }
    const ProfileEditorControls& controls() const { return controls_; }
    // The address control of one of the ids Address to SecondaryDns, or nullptr.
    AddressFieldModel* addressControl(EditorControl id);

    // Radio button clicks. A click on a disabled button does nothing.
    std::optional<EditorControl> clickAutomaticAddress();
    std::optional<EditorControl> clickFixedAddress();
    std::optional<EditorControl> clickAutomaticDns();
    std::optional<EditorControl> clickFixedDns();

    // The subnet mask control gained the focus: proposes the mask of the address's class
    // when the mask is blank. Returns whether the mask was filled.
    bool maskFocusGained();

    // OK: runs the checks and, when they pass, writes profile().
    EditorOutcome confirm();

    // The profile the dialog hands back: the changed working copy (edit), the new profile
    // after an accepted OK (add), or nothing.
    const std::optional<IpProfile>& profile() const { return profile_; }

private:
    void runAutomaticAddress();
    EditorControl runFixedAddress();
    void runAutomaticDns();
    EditorControl runFixedDns();
    void limitFirstAndLastField(AddressFieldModel& control);
    EditorOutcome refuse(EditorCheck check, const char* text,
                         std::optional<EditorControl> focus = std::nullopt) const;

    const ProfileList& profiles_;
    const platform::TextCodec& codec_;
    ProfileEditorControls controls_;
    std::optional<IpProfile> profile_;
    const IpProfile* originalEntry_ = nullptr;
    bool editMode_ = false;
};

}  // namespace quorrel
