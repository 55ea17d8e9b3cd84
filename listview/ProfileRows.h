#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/ProfileList.h"

namespace quorrel {

inline constexpr int kListColumnCount = 6;

// The columns of a row, left to right.
inline constexpr int kNameColumn = 0;
inline constexpr int kIpAddressColumn = 1;
inline constexpr int kSubnetMaskColumn = 2;
inline constexpr int kGatewayColumn = 3;
inline constexpr int kPrimaryDnsColumn = 4;
inline constexpr int kSecondaryDnsColumn = 5;

// One column of the profile list: heading and width in pixels. Every column is
// left-aligned and sorts as text.
struct ListColumn {
    const char* heading;
    int width;
};

const std::array<ListColumn, kListColumnCount>& listColumns();

// The texts of one list row and whether it carries the in-use check mark. Rows hold no
// link to their profiles: the view keeps each row's position in the list beside them.
struct ProfileRow {
    std::array<std::string, kListColumnCount> cells;
    bool checked = false;
};

// The text of one cell of a profile's row, without a copy: what makeProfileRow puts there.
std::string_view profileCell(const IpProfile& profile, int column);

// The row of one profile: a DHCP profile shows "- DHCP -" in its address cells whatever
// it stores, a DNS-automatic one in its DNS cells.
ProfileRow makeProfileRow(const IpProfile& profile);

// The rows of the whole list, in list order.
std::vector<ProfileRow> makeProfileRows(const ProfileList& list);

// Reorders rows by the text of one column (byte-wise), keeping the order of equal texts.
// Returns, for every new position, the row's position before the sort.
std::vector<std::size_t> sortProfileRows(std::vector<ProfileRow>& rows, int column, bool ascending);

}  // namespace quorrel
