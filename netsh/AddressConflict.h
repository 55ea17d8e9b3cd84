#pragma once

#include <string>

namespace quorrel::netsh {

// Before a fixed address is set on `ifname`: asks the link whether another host already
// uses `address` (ARP probes, ArpProbe.h; 190 ms, less when a host answers).
// Returns "" when the address may be taken, and also without asking when the interface
// has the address already or its link is down (nothing there to answer; an interface
// without ARP counts as down). Otherwise the message for the user, ending in "nothing was
// changed": the address is in use (named with the hardware address that answered), or
// the link could not be asked.
//
// Asking needs the right to open packet sockets (CAP_NET_RAW). A netsh given only
// CAP_NET_ADMIN, as set-ups before this check were told to do, still takes the address:
// then `note` says that it was not checked and why.
std::string checkAddressFree(const std::string& ifname, const std::string& address,
                             std::string& note);

}  // namespace quorrel::netsh
