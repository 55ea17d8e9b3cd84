#pragma once

#include <functional>
#include <string>
#include <vector>

#include "netsh/ChangeJournal.h"
#include "netsh/CommandRunner.h"
#include "netsh/DhcpClient.h"
#include "netsh/NetshRoad.h"
#include "netsh/StateKeeper.h"

namespace quorrel::netsh {

// The road for an interface that nobody else manages: netsh changes it itself, with
// iproute2, a DHCP client of its own and the resolver configuration, and records what the
// kernel does not keep in the state folder. Needs administrator rights.
//
// A run holds the interface's run lock from its checks to its end, so two runs on one
// interface never interleave. Before it changes an address it writes down what the
// interface had (ChangeJournal.h); when a step fails it puts that back and says so, and
// when it was killed half way the next run on the interface puts it back first.
//
//   set address static   the address in place of all IPv4 addresses of the interface and
//                        the default route via the gateway (with the metric) in place of
//                        its default routes; our DHCP client of the interface is stopped
//   set address dhcp     the interface cleared and a DHCP client started, waiting for a
//                        lease; without one in time the client keeps trying, DHCP stays on
//   set dns static       the one server (or none) becomes the interface's DNS server list
//   set dns dhcp         the DNS servers of the current lease, now and at every renewal;
//                        refused while the interface has a fixed address
//   add dns              puts a server at `index` (1 = first) of the hand-set list; a server
//                        already in the list moves there, so it is never listed twice
class DirectRoad final : public NetshRoad {
public:
    // Asked before a fixed address is set, among the checks: "" when the interface may
    // take the address, otherwise why not (another host on the link uses it). `note`
    // receives what the user should know when the address is taken unchecked.
    using AddressCheck = std::function<std::string(const std::string& ifname,
                                                   const std::string& address, std::string& note)>;

    DirectRoad(CommandRunner& runner, DhcpClient& dhcp, StateKeeper& states,
               std::function<bool()> hasAdminRights, AddressCheck checkAddress = {})
        : runner_(runner),
          dhcp_(dhcp),
          states_(states),
          hasAdminRights_(std::move(hasAdminRights)),
          checkAddress_(std::move(checkAddress)) {}

    Done carryOut(const NetshCommand& command) override;
    std::vector<std::string> notes() const override { return notes_; }

private:
    Done check(const NetshCommand& command);
    void finishEarlierChange(const std::string& ifname);

    Done setStaticAddress(const NetshCommand& command);
    Done setDhcpAddress(const NetshCommand& command);
    Done setDns(const NetshCommand& command);
    Done addDns(const NetshCommand& command);

    // Writes down what the interface has before its address changes, on disk before
    // anything is changed: what the next run puts back should this one be killed or the
    // power fail half way.
    Done begin(const std::string& ifname, const std::string& change, ChangeJournal& journal);
    // Puts what the run recorded on disk, then removes the journal.
    Done end(const std::string& ifname);
    // The interface's new address source, without a lease (nor a refused one); on disk by
    // end(), the journal covering it until then.
    Done recordAddressSource(const std::string& ifname, bool dhcp);
    // Puts back what the journal found, as far as it can; returns what could not be ("" when
    // everything was).
    Done putBack(const std::string& ifname, const ChangeJournal& journal);
    // The failure `error`, with what became of the interface after putting back.
    Failure undo(const std::string& ifname, const ChangeJournal& journal, const std::string& error);

    CommandRunner& runner_;
    DhcpClient& dhcp_;
    StateKeeper& states_;
    std::function<bool()> hasAdminRights_;
    AddressCheck checkAddress_;
    std::vector<std::string> notes_;
};

// The change a command makes, in words ("set address static 10.0.0.5/24 gateway 10.0.0.1").
std::string describeCommand(const NetshCommand& command);

}  // namespace quorrel::netsh
