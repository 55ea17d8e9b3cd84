#pragma once

#include <string>
#include <string_view>

#include "profiles/IpProfile.h"

namespace quorrel {

// The netsh command lines that switch one adapter to one profile, run in this order.
// secondDnsLine is empty when the profile needs no secondary server; an empty line is not
// run.
struct ApplyPlan {
    std::string addressLine;
    std::string dnsLine;
    std::string secondDnsLine;
};

// Builds the lines for `profile` on the adapter known to netsh as `connectionName`. The
// name goes between double quotes and every text is inserted unchanged: nothing is
// escaped or checked here.
ApplyPlan buildApplyPlan(const IpProfile& profile, const std::string& connectionName);

// What the confirmation asks about: the adapter and the address columns of the selected
// row, where a DHCP profile's "- DHCP -" reads "DHCP".
struct ConfirmationTexts {
    std::string adapterName;
    std::string ipText;
    std::string maskText;
    std::string gatewayText;
};

std::string confirmationText(std::string_view columnText);

ConfirmationTexts makeConfirmationTexts(std::string adapterName, std::string_view ipColumn,
                                        std::string_view maskColumn,
                                        std::string_view gatewayColumn);

}  // namespace quorrel
