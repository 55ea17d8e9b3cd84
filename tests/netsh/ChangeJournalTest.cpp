#include "netsh/ChangeJournal.h"

#include <gtest/gtest.h>

#include "netsh/InterfaceAddressing.h"

namespace quorrel::netsh {
namespace {

TEST(InterfaceAddressing, ReadsWhatIpReports) {
    // As `ip -4 -o addr show dev a0` prints it.
    const std::string addresses =
        "3: a0    inet 10.60.0.5/24 scope global a0\\       valid_lft forever preferred_lft "
        "forever\n"
        "3: a0    inet 10.61.0.6/32 scope global dynamic a0\\       valid_lft 300sec "
        "preferred_lft 300sec\n"
        "3: a0    inet 10.60.0.6/24 brd 10.60.0.7 scope global secondary a0\\       valid_lft "
        "forever preferred_lft forever\n"
        "3: a0    inet 10.9.9.9 peer 10.9.9.1/32 scope global a0\n";
    EXPECT_EQ(parseAddressList(addresses),
              (std::vector<AddressEntry>{
                  {"10.60.0.5", 24, ""}, {"10.61.0.6", 32, ""}, {"10.60.0.6", 24, "10.60.0.7"}}));
    // As `ip -4 route show exact 0.0.0.0/0 dev a0` prints it.
    const std::string routes =
        "default via 10.60.0.9 onlink \n"
        "default via 10.60.0.1 metric 1 \n"
        "default scope link metric 5 \n"
        "default via 10.60.0.2 proto dhcp src 10.60.0.5 metric 1024 \n"
        "default proto static metric 20 \n\tnexthop via 10.60.0.3 dev a0 weight 1 \n"
        "default nhid 12 via 10.60.0.4 \n";
    EXPECT_EQ(parseDefaultRouteList(routes),
              (std::vector<DefaultRouteEntry>{{"10.60.0.9", std::nullopt, true},
                                              {"10.60.0.1", 1, false},
                                              {"", 5, false},
                                              {"10.60.0.2", 1024, false},
                                              {"", 20, false}}));
}

ChangeJournal sample() {
    ChangeJournal journal;
    journal.change = "set address static 10.0.0.5/24 gateway 10.0.0.1 metric 1";
    journal.found.addresses = {{"10.50.0.9", 16, "10.50.255.255"}, {"10.51.0.1", 32, ""}};
    journal.found.defaultRoutes = {
        {"10.50.0.1", 7, false}, {"", std::nullopt, false}, {"10.50.0.2", std::nullopt, true}};
    journal.dhcpClientRan = true;
    platform::InterfaceState state;
    state.dhcp = true;
    state.dnsAuto = false;
    state.dnsServers = {"192.0.2.53"};
    state.lease.emplace();
    state.lease->address = "10.50.0.9";
    state.lease->dnsServers = {"10.50.0.53"};
    journal.state = state;
    return journal;
}

TEST(InterfaceAddressing, DescribedForMessages) {
    EXPECT_EQ(describeAddressing(sample().found),
              "10.50.0.9/16, 10.51.0.1/32, default route via 10.50.0.1 metric 7, default route "
              "onto the link, default route via 10.50.0.2 onlink");
    EXPECT_EQ(describeAddressing({}), "no address");
}

TEST(ChangeJournal, WhatIsWrittenIsReadBack) {
    const ChangeJournal journal = sample();
    EXPECT_EQ(parseChangeJournal(formatChangeJournal(journal)), journal);
    ChangeJournal bare;
    bare.change = "set address dhcp";
    EXPECT_EQ(parseChangeJournal(formatChangeJournal(bare)), bare) << "never recorded";
}

// Read by a program with rights and turned into `ip` arguments: anything odd is refused.
TEST(ChangeJournal, ADamagedRecordIsNotRead) {
    const std::string good = formatChangeJournal(sample());
    EXPECT_FALSE(parseChangeJournal(""));
    for (const std::string bad :
         {"address=10.0.0.300/8\n", "address=10.0.0.3/33\n", "address=10.0.0.3/8 dev eth9\n",
          "route=via 10.0.0.1 metric x\n", "route=via 10.0.0.1; reboot\n", "dhcp-client=maybe\n",
          "colour=red\n", "no equals sign\n"}) {
        EXPECT_FALSE(parseChangeJournal(good + bad)) << bad;
    }
    std::string withoutClient = good;
    withoutClient.erase(withoutClient.find("dhcp-client=yes\n"), 16);
    EXPECT_FALSE(parseChangeJournal(withoutClient));
}

}  // namespace
}  // namespace quorrel::netsh
