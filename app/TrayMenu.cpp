#include "app/TrayMenu.h"

#include "base/TextFormat.h"
#include "resources/RecognitionTexts.h"

namespace quorrel {

std::vector<TrayMenuEntry> trayMenu(const ProfileList& profiles, const IpProfile* inUse,
                                    const std::optional<IpProfile>& adapter) {
    using Kind = TrayMenuEntry::Kind;
    std::vector<TrayMenuEntry> menu;
    menu.push_back({Kind::Adapter,
                    adapter ? fillFormat(texts::kTrayAdapterFormat, {adapter->connectionName})
                            : std::string(texts::kTrayNoAdapter),
                    false, false, nullptr});
    menu.push_back({});
    if (profiles.empty()) {
        menu.push_back({Kind::Profile, texts::kTrayNoProfiles, false, false, nullptr});
    }
    for (const IpProfile& profile : profiles) {
        menu.push_back(
            {Kind::Profile, profile.name, &profile == inUse, adapter.has_value(), &profile});
    }
    menu.push_back({});
    menu.push_back({Kind::OpenWindow, texts::kTrayOpenWindow, false, true, nullptr});
    menu.push_back({Kind::Exit, texts::kTrayExit, false, true, nullptr});
    return menu;
}

std::string trayTooltip(const IpProfile* inUse, const std::optional<IpProfile>& adapter) {
    const std::string profile = inUse != nullptr ? inUse->name : texts::kTrayNoProfileInUse;
    if (!adapter) {
        return fillFormat(texts::kTrayTooltipWithoutAdapterFormat,
                          {profile, texts::kTrayNoAdapter});
    }
    std::string address =
        adapter->ipAddress.empty() ? std::string(texts::kTrayNoAddress) : adapter->ipAddress;
    if (adapter->useDhcp != 0 && !adapter->ipAddress.empty()) {
        address = fillFormat(texts::kTrayDhcpAddressFormat, {address});
    }
    return fillFormat(texts::kTrayTooltipFormat, {profile, adapter->connectionName, address});
}

std::string trayResult(bool succeeded, const std::string& profileName) {
    return fillFormat(succeeded ? texts::kTrayAppliedFormat : texts::kTrayApplyFailedFormat,
                      {profileName});
}

}  // namespace quorrel
