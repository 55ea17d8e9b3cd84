#include "listview/ProfileEditor.h"

#include "resources/ListTexts.h"

namespace quorrel {

namespace {

constexpr AddressValue kLowestAddress = makeAddress(1, 0, 0, 0);
constexpr AddressValue kHighestAddress = makeAddress(223, 255, 255, 255);

void blankAndDisable(AddressFieldModel& control) {
    control.clear();
    control.setEnabled(false);
}

void showStored(AddressFieldModel& control, const std::string& text) {
    control.setAddress(addressOrBlank(text));
}

// The mask of the classic address class: A below 128, B below 192, C above.
AddressValue classMask(AddressValue address) {
    if (address < makeAddress(128, 0, 0, 0)) {
        return makeAddress(255, 0, 0, 0);
    }
    if (address < makeAddress(192, 0, 0, 0)) {
        return makeAddress(255, 255, 0, 0);
    }
    return makeAddress(255, 255, 255, 0);
}

}  // namespace

bool profileNameFits(const platform::TextCodec& codec, std::string_view name) {
    return codec.encodedLength(name) <= kProfileNameByteLimit;
}

ProfileEditor::ProfileEditor(const ProfileList& profiles, const platform::TextCodec& codec)
    : profiles_(profiles), codec_(codec) {}

const char* ProfileEditor::caption() const {
    return editMode_ ? texts::kEditorCaptionEdit : texts::kEditorCaptionAdd;
}

AddressFieldModel* ProfileEditor::addressControl(EditorControl id) {
    switch (id) {
        case EditorControl::Address:
            return &controls_.address;
        case EditorControl::Mask:
            return &controls_.mask;
        case EditorControl::Gateway:
            return &controls_.gateway;
        case EditorControl::PrimaryDns:
            return &controls_.primaryDns;
        case EditorControl::SecondaryDns:
            return &controls_.secondaryDns;
        default:
            return nullptr;
    }
}

void ProfileEditor::limitFirstAndLastField(AddressFieldModel& control) {
    control.setRange(0, {1, 223});
    control.setRange(3, {1, 254});
}

EditorControl ProfileEditor::startAdd() {
    editMode_ = false;
    originalEntry_ = nullptr;
    profile_.reset();
    controls_ = ProfileEditorControls{};

    controls_.autoAddressChecked = true;
    controls_.fixedAddressChecked = false;
    runAutomaticAddress();
    controls_.autoDnsChecked = true;
    controls_.fixedDnsChecked = false;
    runAutomaticDns();

    controls_.address.clear();
    limitFirstAndLastField(controls_.address);
    controls_.mask.clear();
    for (AddressFieldModel* control :
         {&controls_.gateway, &controls_.primaryDns, &controls_.secondaryDns}) {
        control->clear();
        limitFirstAndLastField(*control);
    }
    return EditorControl::Name;
}

EditorControl ProfileEditor::startEdit(IpProfile workingCopy, const IpProfile* originalEntry) {
    editMode_ = true;
    originalEntry_ = originalEntry;
    profile_ = std::move(workingCopy);
    controls_ = ProfileEditorControls{};
    const IpProfile& stored = *profile_;

    controls_.nameText = stored.name;

    if (stored.useDhcp != 0) {
        controls_.autoAddressChecked = true;
        controls_.fixedAddressChecked = false;
        runAutomaticAddress();
    } else {
        controls_.autoAddressChecked = false;
        controls_.fixedAddressChecked = true;
        runFixedAddress();
        showStored(controls_.address, stored.ipAddress);
        showStored(controls_.mask, stored.subnetMask);
        if (!stored.gateway.empty()) {
            showStored(controls_.gateway, stored.gateway);
        }
    }

    if (stored.dnsAuto != 0) {
        controls_.autoDnsChecked = true;
        controls_.fixedDnsChecked = false;
        runAutomaticDns();
    } else {
        controls_.autoDnsChecked = false;
        controls_.fixedDnsChecked = true;
        runFixedDns();
        if (!stored.primaryDns.empty()) {
            showStored(controls_.primaryDns, stored.primaryDns);
        }
        if (!stored.secondaryDns.empty()) {
            showStored(controls_.secondaryDns, stored.secondaryDns);
        }
    }
    return EditorControl::Name;
}

// --- Radio actions

void ProfileEditor::runAutomaticAddress() {
    blankAndDisable(controls_.address);
    blankAndDisable(controls_.mask);
    blankAndDisable(controls_.gateway);
    controls_.autoDnsEnabled = true;
    runAutomaticDns();
    controls_.fixedDnsChecked = false;
    controls_.autoDnsChecked = true;
}

EditorControl ProfileEditor::runFixedAddress() {
    controls_.address.setEnabled(true);
    controls_.mask.setEnabled(true);
    controls_.gateway.setEnabled(true);
    // A fixed address always goes with fixed DNS servers.
    controls_.autoDnsEnabled = false;
    controls_.fixedDnsChecked = true;
    controls_.autoDnsChecked = false;
    runFixedDns();
    return EditorControl::Address;
}

void ProfileEditor::runAutomaticDns() {
    blankAndDisable(controls_.primaryDns);
    blankAndDisable(controls_.secondaryDns);
}

EditorControl ProfileEditor::runFixedDns() {
    controls_.primaryDns.setEnabled(true);
    controls_.secondaryDns.setEnabled(true);
    return EditorControl::PrimaryDns;
}

std::optional<EditorControl> ProfileEditor::clickAutomaticAddress() {
    controls_.autoAddressChecked = true;
    controls_.fixedAddressChecked = false;
    runAutomaticAddress();
    return std::nullopt;
}

std::optional<EditorControl> ProfileEditor::clickFixedAddress() {
    controls_.autoAddressChecked = false;
    controls_.fixedAddressChecked = true;
    return runFixedAddress();
}

std::optional<EditorControl> ProfileEditor::clickAutomaticDns() {
    if (!controls_.autoDnsEnabled) {
        return std::nullopt;
    }
    controls_.autoDnsChecked = true;
    controls_.fixedDnsChecked = false;
    runAutomaticDns();
    return std::nullopt;
}

std::optional<EditorControl> ProfileEditor::clickFixedDns() {
    controls_.autoDnsChecked = false;
    controls_.fixedDnsChecked = true;
    return runFixedDns();
}

bool ProfileEditor::maskFocusGained() {
    const AddressValue address = controls_.address.value();
    if (address == 0 || controls_.mask.value() != 0 || address < kLowestAddress ||
        address > kHighestAddress) {
        return false;
    }
    controls_.mask.setAddress(classMask(address));
    return true;
}

// --- OK

EditorOutcome ProfileEditor::refuse(EditorCheck check, const char* text,
                                    std::optional<EditorControl> focus) const {
    return EditorOutcome{check, standardMessage(text), focus};
}

EditorOutcome ProfileEditor::confirm() {
    const std::string nameText = controls_.nameText;

    // The field holds no more than the limit while typing; a longer stored name must be
    // shortened first. A name the code page cannot hold would lose characters in the data
    // file, so it is refused as well.
    if (!profileNameFits(codec_, nameText)) {
        return refuse(EditorCheck::NameTooLong, texts::kEditorNameTooLong, EditorControl::Name);
    }
    if (!codec_.canEncode(nameText)) {
        return refuse(EditorCheck::NameNotEncodable, texts::kEditorNameNotEncodable,
                      EditorControl::Name);
    }
    if (nameText.empty()) {
        return refuse(EditorCheck::NameMissing, texts::kEditorNameMissing);
    }
    if (nameText.find('|') != std::string::npos) {
        return refuse(EditorCheck::NameHasBar, texts::kEditorNameHasBar);
    }
    if (controls_.fixedAddressChecked) {
        const AddressValue address = controls_.address.value();
        if (address < kLowestAddress || address > kHighestAddress) {
            return refuse(EditorCheck::AddressOutOfRange, texts::kEditorAddressRange,
                          EditorControl::Address);
        }
        if (controls_.mask.value() == 0) {
            return refuse(EditorCheck::MaskMissing, texts::kEditorMaskMissing);
        }
    }
    const IpProfile* sameName = profiles_.findByName(nameText);
    if (sameName != nullptr && !(editMode_ && sameName == originalEntry_)) {
        return refuse(EditorCheck::DuplicateName, texts::kEditorNameDuplicate);
    }

    // Every check passed: only now is the profile written.
    if (!editMode_ || !profile_) {
        profile_ = IpProfile{};
    }
    IpProfile& result = *profile_;
    result.name = nameText;

    if (controls_.autoAddressChecked) {
        // The address texts stay: empty for a new profile, the old ones for an edited one.
        result.useDhcp = 1;
    } else {
        result.useDhcp = 0;
        result.ipAddress = formatAddress(controls_.address.value());
        result.subnetMask = formatAddress(controls_.mask.value());
        result.gateway = formatAddressOrBlank(controls_.gateway.value());
    }

    if (controls_.autoDnsChecked) {
        if (result.useDhcp == 1) {
            result.dnsAuto = 1;
        } else {
            result.dnsAuto = 0;
            result.primaryDns.clear();
            result.secondaryDns.clear();
        }
    } else {
        result.dnsAuto = 0;
        result.primaryDns = formatAddressOrBlank(controls_.primaryDns.value());
        result.secondaryDns = formatAddressOrBlank(controls_.secondaryDns.value());
        if (result.primaryDns.empty() && result.secondaryDns.empty()) {
            if (result.useDhcp == 1) {
                result.dnsAuto = 1;
            }
        } else if (result.primaryDns.empty()) {
            result.primaryDns = std::move(result.secondaryDns);
            result.secondaryDns.clear();
        }
    }
    return EditorOutcome{};
}

}  // namespace quorrel
