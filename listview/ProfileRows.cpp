#include "listview/ProfileRows.h"

#include <algorithm>

#include "resources/ListViewTexts.h"

namespace quorrel {

const std::array<ListColumn, kListColumnCount>& listColumns() {
    static const std::array<ListColumn, kListColumnCount> columns = {{
        {texts::kColumnName, 170},
        {texts::kColumnIpAddress, 110},
        {texts::kColumnSubnetMask, 110},
        {texts::kColumnGateway, 110},
        {texts::kColumnPrimaryDns, 110},
        {texts::kColumnSecondaryDns, 110},
    }};
    return columns;
}

std::string_view profileCell(const IpProfile& profile, int column) {
    const std::string_view dhcpCell = texts::kDhcpCell;
    const bool dhcp = profile.useDhcp != 0;
    const bool dnsAuto = profile.dnsAuto != 0;
    switch (column) {
        case kNameColumn:
            return profile.name.view();
        case kIpAddressColumn:
            return dhcp ? dhcpCell : profile.ipAddress.view();
        case kSubnetMaskColumn:
            return dhcp ? dhcpCell : profile.subnetMask.view();
        case kGatewayColumn:
            return dhcp ? dhcpCell : profile.gateway.view();
        case kPrimaryDnsColumn:
            return dnsAuto ? dhcpCell : profile.primaryDns.view();
        case kSecondaryDnsColumn:
            return dnsAuto ? dhcpCell : profile.secondaryDns.view();
        default:
            return {};
    }
}

ProfileRow makeProfileRow(const IpProfile& profile) {
    ProfileRow row;
    row.checked = profile.isCurrent != 0;
    for (int column = 0; column < kListColumnCount; ++column) {
        row.cells[static_cast<std::size_t>(column)] = profileCell(profile, column);
    }
    return row;
}

std::vector<ProfileRow> makeProfileRows(const ProfileList& list) {
    std::vector<ProfileRow> rows;
    rows.reserve(list.size());
    for (const auto& profile : list) {
        rows.push_back(makeProfileRow(profile));
    }
    return rows;
}

std::vector<std::size_t> sortProfileRows(std::vector<ProfileRow>& rows, int column,
                                         bool ascending) {
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    if (column < 0 || column >= kListColumnCount) {
        return order;
    }
    const auto index = static_cast<std::size_t>(column);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::string& left = rows[a].cells[index];
        const std::string& right = rows[b].cells[index];
        return ascending ? left < right : right < left;
    });
    // Rows move into place along the cycles of the order, without a second copy of the
    // rows: with many profiles that copy was the largest block of memory of a refill.
    std::vector<bool> placed(rows.size(), false);
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (placed[start] || order[start] == start) {
            continue;
        }
        ProfileRow held = std::move(rows[start]);
        std::size_t to = start;
        while (order[to] != start) {
            rows[to] = std::move(rows[order[to]]);
            placed[to] = true;
            to = order[to];
        }
        rows[to] = std::move(held);
        placed[to] = true;
    }
    return order;
}

}  // namespace quorrel
