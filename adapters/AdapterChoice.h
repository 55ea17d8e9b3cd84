#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/AdapterInfo.h"
#include "adapters/AdapterInventory.h"
#include "profiles/Settings.h"

namespace quorrel {

// The decisions of the adapter selection dialog, kept apart from its widgets.

// Rows of the adapter details, in the order they are shown.
inline constexpr std::size_t kDetailRows = 8;

// The list's exact search: the index of the first entry equal to `text` without regard to
// ASCII case, searching from the entry after `startAfter` to the end and then from the
// first entry on (wrapping round). -1 when no entry matches.
int findEntryIgnoringCase(const std::vector<std::string>& entries, std::string_view text,
                          int startAfter);

// The order of the adapter list, which sorts itself as a sorted list box does: without
// regard to ASCII case ("a0" before "Wlan0"), otherwise by the bytes; names that differ
// only in case keep a fixed order among themselves (upper case first).
bool listBoxOrder(std::string_view a, std::string_view b);

// The first record whose connection name equals `connectionName` exactly, or nullptr.
const AdapterInfo* findAdapterByName(const AdapterInventory& inventory,
                                     std::string_view connectionName);

// The captions of the detail rows, each padded so that the colons line up.
std::array<std::string, kDetailRows> adapterDetailLabels();

// What the detail rows show for an adapter: connection name, MAC address, IP address,
// subnet mask, gateway, primary and secondary DNS server, and "TRUE" or "FALSE" for DHCP.
std::array<std::string, kDetailRows> adapterDetailValues(const AdapterInfo& adapter);

// The user confirmed `connectionName` (empty when no entry was selected): remembers it in
// the settings when `remember` is set, then makes it the inventory's choice (the record
// with that name, or the first record).
void confirmAdapterChoice(AdapterInventory& inventory, Settings& settings,
                          const std::string& connectionName, bool remember);

}  // namespace quorrel
