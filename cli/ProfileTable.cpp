#include "cli/ProfileTable.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/TextCodec.h"
#include "resources/CliTexts.h"

namespace quorrel {

namespace {

constexpr std::size_t kColumns = 6;  // mark, name, IP, mask, gateway, DNS
using Row = std::array<std::string, kColumns>;

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string orNone(const std::string& text) {
    return text.empty() ? std::string(texts::kCliNone) : text;
}

std::string dnsText(bool automatic, const std::string& primary, const std::string& secondary) {
    if (automatic) {
        return texts::kCliAutomaticDns;
    }
    if (primary.empty() && secondary.empty()) {
        return texts::kCliNone;
    }
    if (secondary.empty()) {
        return primary;
    }
    return orNone(primary) + ", " + secondary;
}

Row profileRow(const IpProfile& profile) {
    const bool dhcp = profile.useDhcp != 0;
    return {profile.isCurrent == 1 ? texts::kCliInUseMark : "",
            platform::readableText(profile.name),
            dhcp ? std::string(texts::kCliDhcp) : orNone(profile.ipAddress),
            dhcp ? std::string(texts::kCliNone) : orNone(profile.subnetMask),
            dhcp ? std::string(texts::kCliNone) : orNone(profile.gateway),
            dnsText(profile.dnsAuto != 0, profile.primaryDns, profile.secondaryDns)};
}

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80u ? 1 : lead < 0xE0u ? 2 : lead < 0xF0u ? 3 : 4;
        const unsigned leadBits[] = {0x7Fu, 0x1Fu, 0x0Fu, 0x07u};
        char32_t c = lead & leadBits[length - 1];
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        width += isWide(c) ? std::size_t{2} : std::size_t{1};
        i += length;
    }
    return width;
}

std::string formatProfileTable(const ProfileList& profiles) {
    std::vector<Row> rows;
    rows.push_back({"", texts::kCliColumnName, texts::kCliColumnIp, texts::kCliColumnMask,
                    texts::kCliColumnGateway, texts::kCliColumnDns});
    for (const IpProfile& profile : profiles) {
        rows.push_back(profileRow(profile));
    }
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < kColumns; ++c) {
            widths[c] = std::max(widths[c], displayWidth(row[c]));
        }
    }
    widths[0] = 1;

    std::string table;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < kColumns; ++c) {
            line += row[c];
            // Two blanks between columns; nothing after the last.
            if (c + 1 < kColumns) {
                line.append(widths[c] - displayWidth(row[c]) + (c == 0 ? 1 : 2), ' ');
            }
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        table += line + "\n";
    }
    return table;
}

std::string describeAdapterSettings(const AdapterInfo& adapter) {
    std::string text =
        adapter.dhcpEnabled == 1 ? std::string(texts::kCliDhcp) + ", " : std::string();
    text += std::string(texts::kCliColumnIp) + " " + orNone(adapter.ipAddress) + ", " +
            texts::kCliColumnMask + " " + orNone(adapter.subnetMask) + ", " +
            texts::kCliColumnGateway + " " + orNone(adapter.gateway) + ", " + texts::kCliColumnDns +
            " " + dnsText(adapter.dnsAuto == 1, adapter.primaryDns, adapter.secondaryDns);
    return text;
}

}  // namespace quorrel
