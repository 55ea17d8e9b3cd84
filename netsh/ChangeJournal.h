#pragma once

#include <optional>
#include <string>

#include "netsh/InterfaceAddressing.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

// What a netsh run writes down before it changes an interface's address, so that the
// change can be undone: by the run itself when a step fails, and by the next run on the
// interface when this one was killed half way. The run removes it once the change is
// complete or undone. It lives in the state folder as "<ifname>.journal":
//
//   change=set address static 10.0.0.5/24 gateway 10.0.0.1   what the run set out to do
//   address=10.50.0.9/16 brd 10.50.255.255                    the addresses it found
//   route=via 10.50.0.1 metric 7                              the default routes it found
//   dhcp-client=yes                                           a DHCP client of ours ran
//   recorded=yes                                              a state file existed, and
//   state.address-source=dhcp                                 its lines, each after "state."
struct ChangeJournal {
    std::string change;
    InterfaceAddressing found;
    bool dhcpClientRan = false;
    std::optional<platform::InterfaceState> state;  // nothing: never recorded

    bool operator==(const ChangeJournal&) const = default;
};

std::string formatChangeJournal(const ChangeJournal& journal);
// Nothing when the text is not a journal or any value in it is not valid.
std::optional<ChangeJournal> parseChangeJournal(const std::string& text);

// The journal files of one interface in the state folder.
Done writeChangeJournal(const std::string& folder, const std::string& ifname,
                        const ChangeJournal& journal);
Done removeChangeJournal(const std::string& folder, const std::string& ifname);

enum class JournalRead { None, Found, Unreadable };
JournalRead readChangeJournal(const std::string& folder, const std::string& ifname,
                              ChangeJournal& journal);

}  // namespace quorrel::netsh
