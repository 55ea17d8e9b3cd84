#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProfileMatching.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;
using test::tableEntry;

class SilentPresenter final : public MessagePresenter {
public:
    MessageResult show(const Message&) override { return MessageResult::Ok; }
};

// An inventory built through the substitute platform, as the program builds it.
class StartupRules : public ::testing::Test {
protected:
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    SilentPresenter messages;
    AdapterInventory inventory{table, keys, messages};
    ProfileList list;

    void dhcpAdapter(const std::string& name, const std::string& ip,
                     const std::string& nameServer = "") {
        table.entries.push_back(tableEntry("{" + name + "}", 1, ip, "255.255.255.0", "10.1.1.1"));
        keys.add("{" + name + "}", name, nameServer);
    }
    void fixedAdapter(const std::string& name, const std::string& ip,
                      const std::string& nameServer = "168.126.63.1") {
        table.entries.push_back(
            tableEntry("{" + name + "}", 0, ip, "255.255.255.0", "192.168.0.1"));
        keys.add("{" + name + "}", name, nameServer);
    }
    void enumerate(const std::string& remembered = "") {
        ASSERT_EQ(inventory.enumerate(), 1);
        SelectStartupAdapter(inventory, remembered);
    }

    // The data start-up's last steps: clear the marks, adopt, build and mark; the start-up's
    // one walk (AdoptAndMarkAtStartUp) must leave the same list and mark.
    std::optional<IpProfile> startUp() {
        ProfileList inOneWalk = list;
        list.clearCurrentMarks();
        AdoptAdapterSettings(list, inventory);
        auto current = BuildCurrentSettings(inventory);
        MarkCurrentProfile(list, current);

        const IpProfile* mark = AdoptAndMarkAtStartUp(inOneWalk, inventory, current);
        EXPECT_EQ(texts(inOneWalk), texts(list));
        EXPECT_EQ(mark != nullptr ? mark->name : "(none)",
                  marked().empty() ? "(none)" : marked().front());
        return current;
    }
    // Every field of every record, marks included, in list order.
    static std::vector<std::string> texts(const ProfileList& profiles) {
        std::vector<std::string> result;
        for (const auto& p : profiles) {
            result.push_back(p.name + "|" + std::to_string(p.isCurrent) +
                             std::to_string(p.useDhcp) + std::to_string(p.dnsAuto) + "|" +
                             p.ipAddress + "|" + p.subnetMask + "|" + p.gateway + "|" +
                             p.primaryDns + "|" + p.secondaryDns);
        }
        return result;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& p : list) {
            result.push_back(p.name);
        }
        return result;
    }
    std::vector<std::string> marked() const {
        std::vector<std::string> result;
        for (const auto& p : list) {
            if (p.isCurrent == 1) {
                result.push_back(p.name);
            }
        }
        return result;
    }
};

TEST_F(StartupRules, SelectionTakesTheRememberedAdapterOrTheFirst) {
    fixedAdapter("eth0", "192.168.0.10");
    dhcpAdapter("wlan0", "10.1.1.20");
    enumerate("wlan0");
    EXPECT_EQ(inventory.selectedRecord()->connectionName, "wlan0");

    enumerate("");
    EXPECT_EQ(inventory.selectedName(), "eth0");
    EXPECT_EQ(inventory.selectedRecord()->connectionName, "eth0");
}

TEST_F(StartupRules, RememberedAdapterThatIsGoneStandsInWithTheFirst) {
    fixedAdapter("eth0", "192.168.0.10");
    dhcpAdapter("wlan0", "10.1.1.20");
    ASSERT_EQ(inventory.enumerate(), 1);
    inventory.setSelectedName("eth0");
    inventory.markSelected();
    SelectStartupAdapter(inventory, "usb0");
    EXPECT_EQ(inventory.selectedName(), "usb0");
    EXPECT_EQ(inventory.selectedRecord()->connectionName, "eth0");
    EXPECT_EQ(inventory.records().back().selected, 0);
}

TEST_F(StartupRules, CurrentSettingsCopyTheSelectedAdapterAsItIs) {
    fixedAdapter("eth0", "192.168.0.10");
    dhcpAdapter("wlan0", "10.1.1.20", "1.1.1.1,2.2.2.2");
    enumerate("wlan0");
    const auto current = BuildCurrentSettings(inventory);
    ASSERT_TRUE(current.has_value());
    EXPECT_EQ(current->connectionName, "wlan0");
    EXPECT_EQ(current->macAddress, "00:0C:29:AB:CD:EF");
    EXPECT_EQ(current->useDhcp, 1);
    EXPECT_EQ(current->dnsAuto, 0);
    // A DHCP adapter's obtained addresses are kept, not emptied.
    EXPECT_EQ(current->ipAddress, "10.1.1.20");
    EXPECT_EQ(current->subnetMask, "255.255.255.0");
    EXPECT_EQ(current->gateway, "10.1.1.1");
    EXPECT_EQ(current->primaryDns, "1.1.1.1");
    EXPECT_EQ(current->secondaryDns, "2.2.2.2");
    EXPECT_EQ(current->isCurrent, 0);
    EXPECT_EQ(current->name, "");
}

TEST_F(StartupRules, NothingSelectedGivesNoSettingsAndNoMark) {
    list.append(dhcpProfile("자동"));
    EXPECT_FALSE(BuildCurrentSettings(inventory).has_value());
    EXPECT_FALSE(startUp().has_value());
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(MarkCurrentProfile(list, nullptr), 0);
    ProfileList empty;
    IpProfile s = dhcpProfile("");
    EXPECT_EQ(MarkCurrentProfile(empty, &s), 0);
}

TEST_F(StartupRules, FirstStartAdoptsOneProfilePerDistinctConfiguration) {
    fixedAdapter("eth0", "192.168.0.10");
    dhcpAdapter("wlan0", "10.1.1.20");
    fixedAdapter("eth1", "192.168.0.10");  // same settings as eth0
    dhcpAdapter("wlan1", "10.1.1.30");     // carried by the DHCP profile of wlan0
    fixedAdapter("eth2", "172.16.0.2", "172.16.0.53,172.16.0.54");
    enumerate("eth2");

    startUp();
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1]", "설정[2]", "설정[3]"}));
    const IpProfile& fixed = *list.findByName("설정[1]");
    EXPECT_EQ(fixed.useDhcp, 0);
    EXPECT_EQ(fixed.ipAddress, "192.168.0.10");
    EXPECT_EQ(fixed.primaryDns, "168.126.63.1");
    EXPECT_EQ(fixed.connectionName, "");
    EXPECT_EQ(fixed.macAddress, "");
    const IpProfile& dhcp = *list.findByName("설정[2]");
    EXPECT_EQ(dhcp.useDhcp, 1);
    EXPECT_EQ(dhcp.dnsAuto, 1);
    EXPECT_EQ(dhcp.ipAddress, "");  // the obtained address is not taken over
    EXPECT_EQ(dhcp.gateway, "");
    EXPECT_EQ(list.findByName("설정[3]")->secondaryDns, "172.16.0.54");
    EXPECT_EQ(marked(), (std::vector<std::string>{"설정[3]"}));
}

TEST_F(StartupRules, AdoptionNamesFillTheGaps) {
    list.append(fixedProfile("설정[1]", "192.168.0.1").gateway("192.168.0.1").dns("168.126.63.1"));
    list.append(fixedProfile("설정[3]", "192.168.0.3").gateway("192.168.0.1").dns("168.126.63.1"));
    fixedAdapter("eth0", "192.168.0.10");
    fixedAdapter("eth1", "192.168.0.11");
    enumerate();
    startUp();
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1]", "설정[3]", "설정[2]", "설정[4]"}));
}

TEST_F(StartupRules, DhcpWithAutomaticDnsIsCarriedByTheFirstFullyAutomaticProfile) {
    list.append(dhcpProfile("수동 DNS").dns("8.8.8.8", "8.8.4.4"));
    list.append(dhcpProfile("자동1"));
    list.append(dhcpProfile("자동2"));
    dhcpAdapter("wlan0", "10.1.1.20");
    enumerate();
    startUp();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(marked(), (std::vector<std::string>{"자동1"}));
}

TEST_F(StartupRules, AnEarlierMarkGoesToTheFirstProfileThatDescribesTheAdapter) {
    list.append(dhcpProfile("자동1"));
    list.append(dhcpProfile("자동2"));
    list.append(fixedProfile("고정", "10.1.1.20").gateway("10.1.1.1"));
    std::next(list.begin(), 2)->isCurrent = 1;
    fixedAdapter("eth0", "10.1.1.20");
    dhcpAdapter("wlan0", "10.1.1.30", "");
    enumerate("wlan0");
    startUp();
    EXPECT_EQ(names(), (std::vector<std::string>{"자동1", "자동2", "고정", "설정[1]"}));
    EXPECT_EQ(marked(), (std::vector<std::string>{"자동1"}));
}

TEST_F(StartupRules, FixedProfileWithTheDhcpAdaptersAddressesGetsTheMark) {
    list.append(dhcpProfile("수동 DNS").dns("8.8.8.8", "8.8.4.4"));
    list.append(fixedProfile("고정", "10.1.1.20").gateway("10.1.1.1"));
    dhcpAdapter("wlan0", "10.1.1.20", "");  // DHCP, automatic DNS
    enumerate();
    const auto current = BuildCurrentSettings(inventory);
    list.clearCurrentMarks();
    EXPECT_EQ(MarkCurrentProfile(list, current), 1);
    EXPECT_EQ(marked(), (std::vector<std::string>{"고정"}));
}

TEST_F(StartupRules, InUseRuleTwoLooksAtTheProfilesUnsetServer) {
    // Selected DHCP adapter with hand-set DNS 1.1.1.1 and 2.2.2.2.
    list.append(dhcpProfile("반쪽").dns("9.9.9.9", "0.0.0.0"));
    dhcpAdapter("wlan0", "10.1.1.20", "1.1.1.1,2.2.2.2");
    enumerate();
    startUp();
    // Adoption compares the adapter's texts, so the profile does not carry it and a new one
    // is appended; the in-use mark compares the profile's texts and goes to the first.
    ASSERT_EQ(names(), (std::vector<std::string>{"반쪽", "설정[1]"}));
    const IpProfile& adopted = list.findByName("설정[1]")[0];
    EXPECT_EQ(adopted.useDhcp, 1);
    EXPECT_EQ(adopted.dnsAuto, 0);
    EXPECT_EQ(adopted.primaryDns, "1.1.1.1");
    EXPECT_EQ(adopted.secondaryDns, "2.2.2.2");
    EXPECT_EQ(marked(), (std::vector<std::string>{"반쪽"}));
}

TEST(InUseRules, EachBranchOfRuleTwo) {
    IpProfile s = dhcpProfile("").dns("1.1.1.1", "2.2.2.2");
    s.ipAddress = "10.1.1.20";
    EXPECT_TRUE(DescribesCurrentSettings(dhcpProfile("p").dns("1.1.1.1", "7.7.7.7"), s));
    EXPECT_TRUE(DescribesCurrentSettings(dhcpProfile("p").dns("0.0.0.0", "2.2.2.2"), s));
    EXPECT_FALSE(DescribesCurrentSettings(dhcpProfile("p").dns("0.0.0.0", "7.7.7.7"), s));
    EXPECT_TRUE(DescribesCurrentSettings(dhcpProfile("p").dns("7.7.7.7", "0.0.0.0"), s));
    EXPECT_FALSE(DescribesCurrentSettings(dhcpProfile("p").dns("2.2.2.2", "1.1.1.1"), s));

    // Only the profile's DNS flag is looked at: automatic DNS on the adapter's side still
    // matches a profile with an unset secondary server.
    IpProfile automatic = dhcpProfile("");
    automatic.ipAddress = "10.1.1.20";
    EXPECT_TRUE(DescribesCurrentSettings(dhcpProfile("p").dns("7.7.7.7", "0.0.0.0"), automatic));
    // A profile with automatic DNS never matches hand-set servers by rule 1 or 2.
    EXPECT_FALSE(DescribesCurrentSettings(dhcpProfile("p"), s));
    // A fixed-address adapter is never matched by rules 1 and 2.
    IpProfile fixed = s;
    fixed.useDhcp = 0;
    EXPECT_FALSE(DescribesCurrentSettings(dhcpProfile("p").dns("1.1.1.1", "2.2.2.2"), fixed));
    // Flags are compared with exactly 1.
    IpProfile odd = dhcpProfile("p");
    odd.useDhcp = 2;
    EXPECT_FALSE(DescribesCurrentSettings(odd, automatic));
}

TEST(InUseRules, RuleThreeComparesTheFiveTextsExactly) {
    const IpProfile s =
        fixedProfile("", "192.168.0.10").gateway("192.168.0.1").dns("168.126.63.1", "168.126.63.2");
    IpProfile p = s;
    p.useDhcp = 1;  // flags are ignored by this rule
    p.dnsAuto = 1;
    EXPECT_TRUE(DescribesCurrentSettings(p, s));
    for (CompactText IpProfile::*field :
         {&IpProfile::ipAddress, &IpProfile::subnetMask, &IpProfile::gateway,
          &IpProfile::primaryDns, &IpProfile::secondaryDns}) {
        IpProfile differs = s;
        differs.*field = differs.*field + " ";
        EXPECT_FALSE(DescribesCurrentSettings(differs, s));
    }
}

TEST_F(StartupRules, AdapterWithUnsetDnsIsCarriedByDhcpProfilesWithManualDns) {
    dhcpAdapter("wlan0", "10.1.1.20", "0.0.0.0");
    enumerate();
    const AdapterInfo& a = inventory.records().front();
    EXPECT_EQ(a.primaryDns, "0.0.0.0");
    EXPECT_EQ(a.secondaryDns, "");
    EXPECT_EQ(a.dnsAuto, 0);

    EXPECT_TRUE(CarriesAdapterSettings(dhcpProfile("p").dns("8.8.8.8"), a));
    EXPECT_TRUE(CarriesAdapterSettings(dhcpProfile("p").dns("0.0.0.0", "8.8.4.4"), a));
    EXPECT_FALSE(CarriesAdapterSettings(dhcpProfile("p").dns("8.8.8.8", "8.8.4.4"), a));
    EXPECT_FALSE(CarriesAdapterSettings(dhcpProfile("p"), a));  // both must be manual
    IpProfile fixedManual = fixedProfile("p", "10.1.1.20").gateway("192.168.0.1").dns("8.8.8.8");
    EXPECT_FALSE(CarriesAdapterSettings(fixedManual, a));

    list.append(dhcpProfile("수동").dns("8.8.8.8", "8.8.4.4"));
    list.append(dhcpProfile("반쪽").dns("8.8.8.8"));
    startUp();
    EXPECT_EQ(list.size(), 2u);
}

TEST(AdoptionRules, UnsetSecondaryOnTheAdapterSideAndRuleThree) {
    AdapterInfo a;
    a.dhcpEnabled = 1;
    a.primaryDns = "1.1.1.1";
    a.secondaryDns = "0.0.0.0";
    EXPECT_TRUE(CarriesAdapterSettings(dhcpProfile("p").dns("9.9.9.9", "9.9.9.8"), a));
    // The profile's "0.0.0.0" does not count during adoption.
    a.secondaryDns = "2.2.2.2";
    EXPECT_FALSE(CarriesAdapterSettings(dhcpProfile("p").dns("9.9.9.9", "0.0.0.0"), a));
    EXPECT_FALSE(CarriesAdapterSettings(dhcpProfile("p").dns("0.0.0.0", "2.2.2.2"), a));

    AdapterInfo fixed;
    fixed.ipAddress = "192.168.0.10";
    fixed.subnetMask = "255.255.255.0";
    fixed.gateway = "192.168.0.1";
    fixed.primaryDns = "168.126.63.1";
    EXPECT_TRUE(CarriesAdapterSettings(
        fixedProfile("p", "192.168.0.10").gateway("192.168.0.1").dns("168.126.63.1"), fixed));
    fixed.gateway = "192.168.0.254";
    EXPECT_FALSE(CarriesAdapterSettings(
        fixedProfile("p", "192.168.0.10").gateway("192.168.0.1").dns("168.126.63.1"), fixed));
}

TEST_F(StartupRules, AdoptionWalksEveryRecordWhateverItsMark) {
    fixedAdapter("eth0", "192.168.0.10");
    fixedAdapter("eth1", "192.168.0.11");
    enumerate("eth1");
    inventory.clearSelection();
    AdoptAdapterSettings(list, inventory);
    EXPECT_EQ(names(), (std::vector<std::string>{"설정[1]", "설정[2]"}));
    for (const auto& p : list) {
        EXPECT_EQ(p.isCurrent, 0);
    }
}

}  // namespace
}  // namespace quorrel
