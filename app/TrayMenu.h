#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// One line of the tray icon's menu.
struct TrayMenuEntry {
    enum class Kind { Adapter, Profile, Separator, OpenWindow, Exit };
    Kind kind = Kind::Separator;
    std::string text;
    bool checked = false;  // the profile in use
    bool enabled = true;
    // A Profile's record in the list (the one the entry applies).
    const IpProfile* profile = nullptr;
};

// The tray menu: the chosen adapter's name (not a command), the profiles in the list's
// order with the one in use (`inUse`, may be null) checked, then "창 열기" and "끝내기".
// Without an adapter the profiles are shown but cannot be chosen.
std::vector<TrayMenuEntry> trayMenu(const ProfileList& profiles, const IpProfile* inUse,
                                    const std::optional<IpProfile>& adapter);

// The tooltip: the profile in use (or that there is none), then the adapter with its
// address as its picture shows it.
std::string trayTooltip(const IpProfile* inUse, const std::optional<IpProfile>& adapter);

// The tray message after an apply of `profileName` from the tray menu.
std::string trayResult(bool succeeded, const std::string& profileName);

}  // namespace quorrel
