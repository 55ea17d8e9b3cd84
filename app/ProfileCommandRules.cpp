#include "app/ProfileCommandRules.h"

#include "app/ProfileNames.h"

namespace quorrel {

namespace {

void copySettings(IpProfile& to, const IpProfile& from) {
    to.useDhcp = from.useDhcp;
    to.dnsAuto = from.dnsAuto;
    to.ipAddress = from.ipAddress;
    to.subnetMask = from.subnetMask;
    to.gateway = from.gateway;
    to.primaryDns = from.primaryDns;
    to.secondaryDns = from.secondaryDns;
}

}  // namespace

IpProfile makeProfileCopy(const IpProfile& source, const ProfileList& list) {
    IpProfile copy;
    copySettings(copy, source);
    copy.name = CopyProfileName(list, source.name);
    return copy;
}

IpProfile makeEditCopy(const IpProfile& source) {
    IpProfile copy;
    copy.name = source.name;
    copySettings(copy, source);
    return copy;
}

EditOutcome decideEdit(const IpProfile& listed, const IpProfile& edited, bool wasApplied) {
    const bool settingsEqual =
        listed.useDhcp == edited.useDhcp && listed.dnsAuto == edited.dnsAuto &&
        listed.ipAddress == edited.ipAddress && listed.subnetMask == edited.subnetMask &&
        listed.gateway == edited.gateway && listed.primaryDns == edited.primaryDns &&
        listed.secondaryDns == edited.secondaryDns;
    const bool nameEqual = listed.name == edited.name;
    EditOutcome outcome;
    if (settingsEqual && nameEqual) {
        return outcome;
    }
    outcome.changed = true;
    if (wasApplied && settingsEqual) {
        outcome.renameOnly = true;
        return outcome;
    }
    outcome.reapply = wasApplied;
    return outcome;
}

void takeOverEdit(IpProfile& listed, const IpProfile& edited) {
    listed.name = edited.name;
    copySettings(listed, edited);
}

}  // namespace quorrel
