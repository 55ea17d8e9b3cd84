#include "app/ProfileMatching.h"

#include <algorithm>
#include <vector>

#include "app/ProfileNames.h"

namespace quorrel {

namespace {

constexpr const char* kUnsetDns = "0.0.0.0";

}  // namespace

std::optional<IpProfile> BuildCurrentSettings(const AdapterInventory& inventory) {
    const AdapterInfo* record = inventory.selectedRecord();
    if (record == nullptr) {
        return std::nullopt;
    }
    IpProfile settings;
    settings.connectionName = record->connectionName;
    settings.macAddress = record->macAddress;
    settings.useDhcp = record->dhcpEnabled;
    settings.ipAddress = record->ipAddress;
    settings.subnetMask = record->subnetMask;
    settings.gateway = record->gateway;
    settings.dnsAuto = record->dnsAuto;
    settings.primaryDns = record->primaryDns;
    settings.secondaryDns = record->secondaryDns;
    return settings;
}

bool DescribesCurrentSettings(const IpProfile& p, const IpProfile& s) {
    const bool bothDhcp = p.useDhcp == 1 && s.useDhcp == 1;
    // Rule 1: both obtain address and DNS servers automatically.
    if (bothDhcp && p.dnsAuto == 1 && s.dnsAuto == 1) {
        return true;
    }
    // Rule 2: the profile sets DNS servers by hand and one of them agrees, or the
    // profile leaves one of them unset ("0.0.0.0").
    if (bothDhcp && p.dnsAuto == 0 &&
        (p.primaryDns == s.primaryDns ||
         (p.primaryDns == kUnsetDns && p.secondaryDns == s.secondaryDns) ||
         p.secondaryDns == kUnsetDns)) {
        return true;
    }
    // Rule 3: the five address texts agree, whatever the flags say.
    return p.ipAddress == s.ipAddress && p.subnetMask == s.subnetMask && p.gateway == s.gateway &&
           p.primaryDns == s.primaryDns && p.secondaryDns == s.secondaryDns;
}

int MarkCurrentProfile(ProfileList& list, const IpProfile* settings) {
    if (settings == nullptr || list.empty()) {
        return 0;
    }
    for (auto& profile : list) {
        if (DescribesCurrentSettings(profile, *settings)) {
            profile.isCurrent = 1;
            return 1;
        }
    }
    return 0;
}

int MarkCurrentProfile(ProfileList& list, const std::optional<IpProfile>& settings) {
    return MarkCurrentProfile(list, settings ? &*settings : nullptr);
}

bool CarriesAdapterSettings(const IpProfile& p, const AdapterInfo& a) {
    const bool bothDhcp = a.dhcpEnabled == 1 && p.useDhcp == 1;
    // Rule 1': both obtain address and DNS servers automatically.
    if (bothDhcp && a.dnsAuto == 1 && p.dnsAuto == 1) {
        return true;
    }
    // Rule 2': both set DNS servers by hand and they agree, or the adapter leaves one of
    // them unset ("0.0.0.0").
    if (bothDhcp && a.dnsAuto == 0 && p.dnsAuto == 0 &&
        (a.primaryDns == p.primaryDns ||
         (a.primaryDns == kUnsetDns && a.secondaryDns == p.secondaryDns) ||
         a.secondaryDns == kUnsetDns)) {
        return true;
    }
    // Rule 3': the five address texts agree.
    return a.ipAddress == p.ipAddress && a.subnetMask == p.subnetMask && a.gateway == p.gateway &&
           a.primaryDns == p.primaryDns && a.secondaryDns == p.secondaryDns;
}

IpProfile AdoptedProfile(const AdapterInfo& a) {
    IpProfile adopted;
    if (a.dhcpEnabled != 0) {
        adopted.useDhcp = 1;
    } else {
        adopted.ipAddress = a.ipAddress;
        adopted.subnetMask = a.subnetMask;
        adopted.gateway = a.gateway;
    }
    if (a.dnsAuto != 0) {
        adopted.dnsAuto = 1;
    } else {
        adopted.primaryDns = a.primaryDns;
        adopted.secondaryDns = a.secondaryDns;
    }
    return adopted;
}

void AdoptAdapterSettings(ProfileList& list, const AdapterInventory& inventory) {
    for (const AdapterInfo& adapter : inventory.records()) {
        bool carried = false;
        for (const IpProfile& profile : list) {
            if (CarriesAdapterSettings(profile, adapter)) {
                carried = true;
                break;
            }
        }
        if (carried) {
            continue;
        }

        IpProfile adopted = AdoptedProfile(adapter);
        adopted.name = NextFreeProfileName(list);
        list.append(adopted);
    }
}

const IpProfile* AdoptAndMarkAtStartUp(ProfileList& list, const AdapterInventory& inventory,
                                       const std::optional<IpProfile>& settings) {
    const std::list<AdapterInfo>& adapters = inventory.records();
    std::vector<bool> carried(adapters.size(), false);
    std::size_t stillToCarry = adapters.size();
    IpProfile* marked = nullptr;
    for (IpProfile& profile : list) {
        profile.isCurrent = 0;
        if (stillToCarry > 0) {
            std::size_t i = 0;
            for (const AdapterInfo& adapter : adapters) {
                if (!carried[i] && CarriesAdapterSettings(profile, adapter)) {
                    carried[i] = true;
                    --stillToCarry;
                }
                ++i;
            }
        }
        if (marked == nullptr && settings && DescribesCurrentSettings(profile, *settings)) {
            marked = &profile;
        }
    }
    // The adopted profiles come after every listed one, in inventory order; each may carry
    // the adapters after its own, and describe the settings when no listed profile does.
    std::vector<IpProfile*> adopted;
    std::size_t i = 0;
    for (const AdapterInfo& adapter : adapters) {
        const bool carriedByAdopted =
            std::any_of(adopted.begin(), adopted.end(),
                        [&](const IpProfile* p) { return CarriesAdapterSettings(*p, adapter); });
        if (!carried[i++] && !carriedByAdopted) {
            IpProfile profile = AdoptedProfile(adapter);
            profile.name = NextFreeProfileName(list);
            adopted.push_back(&list.append(std::move(profile)));
        }
    }
    for (IpProfile* profile : adopted) {
        if (marked == nullptr && settings && DescribesCurrentSettings(*profile, *settings)) {
            marked = profile;
        }
    }
    if (marked != nullptr) {
        marked->isCurrent = 1;
    }
    return marked;
}

void SelectStartupAdapter(AdapterInventory& inventory, const std::string& rememberedAdapter) {
    inventory.clearSelection();
    if (!rememberedAdapter.empty()) {
        inventory.setSelectedName(rememberedAdapter);
    } else {
        inventory.selectFirst();
    }
    inventory.markSelected();
}

}  // namespace quorrel
