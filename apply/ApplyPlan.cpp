#include "apply/ApplyPlan.h"

#include "resources/ApplyTexts.h"

#include <initializer_list>

namespace quorrel {

namespace {

// `format` with each "%s" replaced, in order, by the next of `values`. Unlike printf this
// keeps every byte of the values, a "%" in a connection name included.
std::string fillLine(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string result;
    const auto* next = values.begin();
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t mark = format.find("%s", pos);
        if (mark == std::string_view::npos) {
            result.append(format.substr(pos));
            break;
        }
        result.append(format.substr(pos, mark - pos));
        if (next != values.end()) {
            result.append(*next++);
        }
        pos = mark + 2;
    }
    return result;
}

}  // namespace

ApplyPlan buildApplyPlan(const IpProfile& profile, const std::string& connectionName) {
    ApplyPlan plan;
    if (profile.useDhcp == 1) {
        plan.addressLine = fillLine(texts::kAddressDhcpFormat, {connectionName});
    } else if (profile.gateway.empty()) {
        plan.addressLine = fillLine(texts::kAddressStaticFormat,
                                    {connectionName, profile.ipAddress, profile.subnetMask});
    } else {
        plan.addressLine =
            fillLine(texts::kAddressStaticGatewayFormat,
                     {connectionName, profile.ipAddress, profile.subnetMask, profile.gateway});
    }

    if (profile.dnsAuto == 1) {
        plan.dnsLine = fillLine(texts::kDnsDhcpFormat, {connectionName});
    } else {
        plan.dnsLine = fillLine(texts::kDnsStaticFormat, {connectionName, profile.primaryDns});
        if (!profile.secondaryDns.empty()) {
            plan.secondDnsLine =
                fillLine(texts::kSecondDnsFormat, {connectionName, profile.secondaryDns});
        }
    }
    return plan;
}

std::string confirmationText(std::string_view columnText) {
    if (columnText == texts::kListDhcpText) {
        return texts::kConfirmDhcpText;
    }
    return std::string(columnText);
}

ConfirmationTexts makeConfirmationTexts(std::string adapterName, std::string_view ipColumn,
                                        std::string_view maskColumn,
                                        std::string_view gatewayColumn) {
    return ConfirmationTexts{std::move(adapterName), confirmationText(ipColumn),
                             confirmationText(maskColumn), confirmationText(gatewayColumn)};
}

}  // namespace quorrel
