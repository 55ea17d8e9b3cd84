#include <gtest/gtest.h>

#include "profiles/ProfileList.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::fixedProfile;

std::vector<std::string> names(const ProfileList& list) {
    std::vector<std::string> result;
    for (const auto& p : list) {
        result.push_back(p.name);
    }
    return result;
}

TEST(ProfileListAppend, NormalisesACopyAndLeavesTheSourceAlone) {
    ProfileList list;
    IpProfile source = fixedProfile("집", "10.0.0.5").dns("10.0.0.53");
    source.useDhcp = 1;
    source.dnsAuto = 1;
    source.secondaryDns = "10.0.0.54";
    source.connectionName = "eth0";
    source.macAddress = "00:0C:29:AB:CD:EF";
    source.isCurrent = 1;

    const IpProfile& stored = list.append(source);

    EXPECT_EQ(stored.name, "집");
    EXPECT_EQ(stored.isCurrent, 1);
    EXPECT_EQ(stored.useDhcp, 1);
    EXPECT_EQ(stored.dnsAuto, 1);
    EXPECT_EQ(stored.ipAddress, "");
    EXPECT_EQ(stored.subnetMask, "");
    EXPECT_EQ(stored.gateway, "");
    EXPECT_EQ(stored.primaryDns, "");
    EXPECT_EQ(stored.secondaryDns, "");
    EXPECT_EQ(stored.connectionName, "");
    EXPECT_EQ(stored.macAddress, "");
    EXPECT_EQ(source.ipAddress, "10.0.0.5");
    EXPECT_EQ(source.primaryDns, "10.0.0.53");
}

TEST(ProfileListAppend, FixedProfileKeepsAddressesAndManualDns) {
    ProfileList list;
    const IpProfile& stored =
        list.append(fixedProfile("사무실", "192.168.0.10").gateway("10.0.0.1").dns("10.0.0.53"));
    EXPECT_EQ(stored.useDhcp, 0);
    EXPECT_EQ(stored.dnsAuto, 0);
    EXPECT_EQ(stored.ipAddress, "192.168.0.10");
    EXPECT_EQ(stored.gateway, "10.0.0.1");
    EXPECT_EQ(stored.primaryDns, "10.0.0.53");
}

TEST(ProfileListRemove, RemovesFirstRecordEqualInNameAndAddressesIgnoringFlags) {
    ProfileList list;
    list.append(fixedProfile("a", "10.0.0.1"));
    list.append(fixedProfile("b", "10.0.0.2"));
    list.append(fixedProfile("b", "10.0.0.2"));
    IpProfile probe = fixedProfile("b", "10.0.0.2");
    probe.useDhcp = 0;
    probe.isCurrent = 1;
    // Differs in the flag only: still a match, and only the first equal record goes.
    probe.dnsAuto = 0;
    list.begin()->useDhcp = 0;
    std::next(list.begin())->useDhcp = 0;

    EXPECT_TRUE(list.removeMatching(probe));
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "b"}));

    EXPECT_FALSE(list.removeMatching(fixedProfile("b", "10.0.0.99")));
    EXPECT_EQ(list.size(), 2u);
}

TEST(ProfileListRemove, DifferentUseDhcpStillMatches) {
    ProfileList list;
    list.append(fixedProfile("a", "10.0.0.1"));
    IpProfile probe = fixedProfile("a", "10.0.0.1");
    probe.useDhcp = 1;  // the stored record is fixed; useDhcp is not compared
    EXPECT_TRUE(list.removeMatching(probe));
    EXPECT_TRUE(list.empty());
}

TEST(ProfileListRemove, EmptiedListAndRemovedTailStayUsable) {
    ProfileList list;
    list.append(fixedProfile("a", "10.0.0.1"));
    list.append(fixedProfile("b", "10.0.0.2"));
    ASSERT_TRUE(list.removeMatching(fixedProfile("b", "10.0.0.2")));
    list.append(fixedProfile("c", "10.0.0.3"));
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "c"}));

    ASSERT_TRUE(list.removeMatching(fixedProfile("a", "10.0.0.1")));
    ASSERT_TRUE(list.removeMatching(fixedProfile("c", "10.0.0.3")));
    EXPECT_TRUE(list.empty());
    list.append(fixedProfile("d", "10.0.0.4"));
    EXPECT_EQ(names(list), (std::vector<std::string>{"d"}));
}

TEST(ProfileListFind, ExactCaseSensitiveFirstMatchAndStableAddresses) {
    ProfileList list;
    IpProfile& first = list.append(fixedProfile("Home", "10.0.0.1"));
    list.append(fixedProfile("Home", "10.0.0.2"));
    list.append(fixedProfile("home", "10.0.0.3"));

    EXPECT_EQ(list.findByName("Home"), &first);
    EXPECT_EQ(list.findByName("home")->ipAddress, "10.0.0.3");
    EXPECT_EQ(list.findByName("Home "), nullptr);
    EXPECT_EQ(list.findByName("HOME"), nullptr);

    // Adding and removing other records keeps the address of a record valid.
    list.append(fixedProfile("x", "10.0.0.9"));
    list.removeMatching(fixedProfile("home", "10.0.0.3"));
    EXPECT_EQ(list.findByName("Home"), &first);
}

TEST(ProfileListRecords, RemoveTakesThatVeryRecordAndAtCountsInListOrder) {
    ProfileList list;
    IpProfile& first = list.append(fixedProfile("Home", "10.0.0.1"));
    IpProfile& second = list.append(fixedProfile("Home", "10.0.0.1"));
    second.isCurrent = 1;
    list.append(fixedProfile("x", "10.0.0.9"));
    EXPECT_EQ(list.at(0), &first);
    EXPECT_EQ(list.at(1), &second);
    EXPECT_EQ(list.at(2)->name, "x");
    EXPECT_EQ(list.at(3), nullptr);

    // Of two equal records the second one goes, not the first match.
    ASSERT_TRUE(list.remove(&second));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.at(0), &first);
    EXPECT_EQ(list.at(0)->isCurrent, 0);
    const IpProfile stranger = fixedProfile("Home", "10.0.0.1");
    EXPECT_FALSE(list.remove(&stranger));  // equal, but not in the list
    EXPECT_EQ(list.size(), 2u);
}

TEST(ProfileListMarks, ClearCurrentMarksClearsEveryRecord) {
    ProfileList list;
    list.append(fixedProfile("a", "10.0.0.1")).isCurrent = 1;
    list.append(fixedProfile("b", "10.0.0.2")).isCurrent = 1;
    list.clearCurrentMarks();
    for (const auto& p : list) {
        EXPECT_EQ(p.isCurrent, 0);
    }
}

}  // namespace
}  // namespace quorrel
