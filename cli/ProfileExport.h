#pragma once

#include <optional>
#include <string>

#include "profiles/IpProfile.h"

namespace quorrel {

// A profile written for the tools that configure many machines at once: a NetworkManager
// keyfile (a wired connection bound to the interface, with a UUID made from the profile's
// name and the interface, so that a second export replaces the first) or a netplan file.
// Only the IPv4 settings of the profile are written; everything else stays the tool's
// default. Texts are UTF-8, as both tools read them.
enum class ExportFormat { NetworkManagerKeyfile, Netplan };

// "keyfile" (also "nm") and "netplan"; nothing for another word.
std::optional<ExportFormat> exportFormatNamed(const std::string& word);

// The file's text, or nothing when the profile's addresses cannot be written (a fixed
// profile whose address or mask is not one; a mask whose bits do not run together).
std::optional<std::string> exportProfile(const IpProfile& profile, const std::string& ifname,
                                         ExportFormat format);

}  // namespace quorrel
