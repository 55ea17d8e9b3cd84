// netsh never leaves an interface stranded and tells the truth: checks before changes,
// settings put back after a failure or a killed run, runs on one interface one after the
// other, DNS servers kept per interface. Real netsh runs in network namespaces (root only).

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "apply/ApplyPlan.h"
#include "platform/linux/LinuxAdapterSource.h"
#include "system/CommandLine.h"
#include "tests/netsh/NetshNamespaceFixture.h"

namespace quorrel::netsh {
namespace {

// One fixed configuration of lan0 and what the kernel then shows.
struct Fixed {
    std::string address;
    std::string gateway;
    std::string shownAddress;
    std::string shownRoute;

    std::vector<std::string> line() const {
        return {"interface",
                "ip",
                "set",
                "address",
                "lan0",
                "source=static",
                "addr=" + address,
                "mask=255.255.255.0",
                "gateway=" + gateway,
                "1"};
    }
};

const Fixed kFirst{"10.60.0.5", "10.60.0.1", "10.60.0.5/24",
                   "default via 10.60.0.1 dev lan0 metric 1"};
const Fixed kSecond{"10.61.0.5", "10.61.0.1", "10.61.0.5/24",
                    "default via 10.61.0.1 dev lan0 metric 1"};

class NetshSafety : public NetshInNamespace {
protected:
    // Addresses, default routes and resolv.conf: what must survive a failure unchanged.
    std::string picture() {
        return addresses() + " | " + defaultRoutes() + " | " + ns_->resolvConf();
    }

    void mustSucceed(const std::vector<std::string>& args) {
        const CommandOutput out = netsh(args);
        ASSERT_EQ(out.exitCode, 0) << out.output;
    }

    // A fixed address with gateway and one hand-set DNS server, as a fixed profile leaves it.
    void setUpFixedInterface() {
        ns_->writeResolvConf("search corp.test\nnameserver 192.0.2.99\n");
        mustSucceed({"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.50.0.9",
                     "mask=255.255.0.0", "gateway=10.50.0.1", "7"});
        mustSucceed({"interface", "ip", "set", "dns", "name=lan0", "source=static", "192.0.2.53",
                     "primary"});
        ASSERT_EQ(addresses(), "10.50.0.9/16");
        ASSERT_EQ(defaultRoutes(), "default via 10.50.0.1 dev lan0 metric 7");
    }

    bool journalLeft() {
        std::error_code ec;
        return std::filesystem::exists(platform::journalPath(state_.path(), "lan0"), ec);
    }
};

TEST_F(NetshSafety, TheLoopbackInterfaceIsRefused) {
    const std::string before = ns_->run({"ip", "-4", "-o", "addr", "show", "dev", "lo"}).output;
    ASSERT_NE(before.find("127.0.0.1/8"), std::string::npos) << before;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"interface", "ip", "set", "address", "lo", "source=static", "addr=10.0.0.5",
              "mask=255.0.0.0"},
             {"interface", "ip", "set", "address", "lo", "source=dhcp"},
             {"interface", "ip", "set", "dns", "name=lo", "source=static", "10.0.0.53",
              "primary"}}) {
        const CommandOutput out = netsh(args);
        EXPECT_EQ(out.exitCode, 1) << out.output;
        EXPECT_NE(out.output.find("loopback interface and cannot be configured"), std::string::npos)
            << out.output;
    }
    EXPECT_EQ(ns_->run({"ip", "-4", "-o", "addr", "show", "dev", "lo"}).output, before);
    EXPECT_FALSE(platform::readInterfaceState(state_.path(), "lo"));
}

// The DHCP line of a profile on a machine without a DHCP client, then its DNS line, as the
// apply runs them one after the other: neither may take the interface off the network.
TEST_F(NetshSafety, WithoutADhcpClientTheDhcpLinesChangeNothing) {
    setUpFixedInterface();
    const std::string before = picture();
    const auto withoutClient = [this](const std::vector<std::string>& args) {
        // A mount namespace of the run's own, in which every DHCP client file is /dev/null.
        std::vector<std::string> argv = {
            "unshare",
            "--mount",
            "--propagation",
            "private",
            "sh",
            "-c",
            "for p in /usr/sbin/udhcpc /usr/bin/udhcpc /usr/local/sbin/udhcpc "
            "/usr/local/bin/udhcpc /usr/sbin/dhclient /usr/bin/dhclient /sbin/dhclient; do "
            "if [ -e \"$p\" ]; then mount --bind /dev/null \"$p\" || exit 99; fi; done; "
            "exec \"$0\" \"$@\"",
            QUORREL_NETSH_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        auto env = netshEnvironment();
        env.push_back("PATH=/usr/sbin:/usr/bin:/sbin:/bin");
        return ns_->run(argv, env);
    };

    const CommandOutput address =
        withoutClient({"interface", "ip", "set", "address", "lan0", "source=dhcp"});
    ASSERT_NE(address.exitCode, 99) << "cannot hide the DHCP client: " << address.output;
    EXPECT_EQ(address.exitCode, 1) << address.output;
    EXPECT_NE(address.output.find("no DHCP client is installed"), std::string::npos)
        << address.output;
    EXPECT_EQ(picture(), before);

    const CommandOutput dns =
        withoutClient({"interface", "ip", "set", "dns", "name=lan0", "source=dhcp"});
    EXPECT_EQ(dns.exitCode, 1) << dns.output;
    EXPECT_NE(dns.output.find("cannot come from DHCP"), std::string::npos) << dns.output;
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(recorded().dhcp, false);
    EXPECT_EQ(recorded().dnsServers, std::vector<std::string>{"192.0.2.53"});
}

TEST_F(NetshSafety, ARouteThatCannotBeAddedPutsTheOldSettingsBack) {
    setUpFixedInterface();
    const std::string before = picture();
    // The kernel refuses any route through a gateway that a policy rule makes unreachable.
    ASSERT_EQ(ns_->run({"ip", "rule", "add", "to", "10.60.0.1/32", "prohibit"}).exitCode, 0);

    const CommandOutput out = netsh(kFirst.line());
    EXPECT_EQ(out.exitCode, 1) << out.output;
    EXPECT_NE(out.output.find("cannot set the default gateway 10.60.0.1 on lan0"),
              std::string::npos)
        << out.output;
    EXPECT_NE(out.output.find("the previous settings of lan0 were put back (10.50.0.9/16, "
                              "default route via 10.50.0.1 metric 7)"),
              std::string::npos)
        << out.output;
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(recorded().dhcp, false);
    EXPECT_FALSE(journalLeft());
}

// A run killed at a random moment, then any later run: the interface ends with either the
// settings it had or the new ones, never without an address. (The delays pick the moment
// of the kill; nothing waits on them.)
TEST_F(NetshSafety, ARunKilledMidwayIsPutBackByTheNextRun) {
    // Without ARP on the link netsh takes a fixed address without probing for it first, so
    // the change itself fills the run and the kills land in it, not in the second of probing.
    ASSERT_EQ(ns_->run({"ip", "link", "set", "lan0", "arp", "off"}).exitCode, 0);
    mustSucceed(kFirst.line());
    auto started = std::chrono::steady_clock::now();
    mustSucceed(kSecond.line());
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    // The later run of each round sets what is already there: resolv.conf stays as it is.
    mustSucceed(
        {"interface", "ip", "set", "dns", "name=lan0", "source=static", "192.0.2.53", "primary"});
    const std::string resolvConf = ns_->resolvConf();

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> delay(0, runTime.count() * 6 / 5);
    const Fixed* current = &kSecond;
    int midway = 0;
    int strandedUntilNextRun = 0;
    int undone = 0;
    int finished = 0;
    int wrong = 0;
    constexpr int kRuns = 50;
    for (int i = 0; i < kRuns; ++i) {
        const Fixed* target = current == &kFirst ? &kSecond : &kFirst;
        std::vector<std::string> argv = target->line();
        argv.insert(argv.begin(), QUORREL_NETSH_PATH);
        const pid_t run = ns_->start(argv, netshEnvironment());
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_TRUE(test::killGroup(run));
        midway += journalLeft() ? 1 : 0;
        strandedUntilNextRun += addresses().empty() ? 1 : 0;

        const CommandOutput later =
            netsh({"interface", "ip", "add", "dns", "name=lan0", "addr=192.0.2.53", "index=1"});
        ASSERT_EQ(later.exitCode, 0) << later.output;
        const std::string address = addresses();
        const std::string route = defaultRoutes();
        if (address == current->shownAddress && route == current->shownRoute) {
            ++undone;
        } else if (address == target->shownAddress && route == target->shownRoute) {
            ++finished;
            current = target;
        } else {
            ++wrong;
            ADD_FAILURE() << "run " << i << ": " << address << " | " << route;
            mustSucceed(current->line());
        }
        EXPECT_FALSE(journalLeft());
    }
    std::cout << "[ killed runs ] " << kRuns << " kills, " << midway << " midway ("
              << strandedUntilNextRun
              << " without an address until the next run); next run: " << undone << " as before, "
              << finished << " as asked, " << wrong << " other\n";
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(midway, 0) << "no kill came while a change was under way";
    EXPECT_EQ(ns_->resolvConf(), resolvConf);
}

TEST_F(NetshSafety, TwoFixedAddressesAtOnceLeaveOneOfThem) {
    // No ARP on the link, so no probe: 50 rounds of changes rather than of waiting.
    ASSERT_EQ(ns_->run({"ip", "link", "set", "lan0", "arp", "off"}).exitCode, 0);
    constexpr int kRounds = 50;
    int doubled = 0;
    int mismatched = 0;
    for (int i = 0; i < kRounds; ++i) {
        CommandOutput first;
        CommandOutput second;
        std::thread a([&] { first = netsh(kFirst.line()); });
        std::thread b([&] { second = netsh(kSecond.line()); });
        a.join();
        b.join();
        ASSERT_EQ(first.exitCode, 0) << first.output;
        ASSERT_EQ(second.exitCode, 0) << second.output;
        const std::string address = addresses();
        const std::string route = defaultRoutes();
        if (address.find(' ') != std::string::npos) {
            ++doubled;
        } else if (!(address == kFirst.shownAddress && route == kFirst.shownRoute) &&
                   !(address == kSecond.shownAddress && route == kSecond.shownRoute)) {
            ++mismatched;
        }
    }
    std::cout << "[ concurrent set address ] " << kRounds << " rounds, " << doubled
              << " with both addresses, " << mismatched << " with a route of the other\n";
    EXPECT_EQ(doubled, 0);
    EXPECT_EQ(mismatched, 0);
}

TEST_F(NetshSafety, TwoAddDnsAtOnceKeepBothServers) {
    constexpr int kRounds = 50;
    int lost = 0;
    for (int i = 0; i < kRounds; ++i) {
        mustSucceed({"interface", "ip", "set", "dns", "name=lan0", "source=static", "192.0.2.1",
                     "primary"});
        CommandOutput first;
        CommandOutput second;
        std::thread a([&] {
            first =
                netsh({"interface", "ip", "add", "dns", "name=lan0", "addr=192.0.2.2", "index=2"});
        });
        std::thread b([&] {
            second =
                netsh({"interface", "ip", "add", "dns", "name=lan0", "addr=192.0.2.3", "index=2"});
        });
        a.join();
        b.join();
        ASSERT_EQ(first.exitCode, 0) << first.output;
        ASSERT_EQ(second.exitCode, 0) << second.output;
        auto listed = nameservers(ns_->resolvConf());
        auto kept = recorded().dnsServers;
        std::sort(listed.begin(), listed.end());
        std::sort(kept.begin(), kept.end());
        const std::vector<std::string> all = {"192.0.2.1", "192.0.2.2", "192.0.2.3"};
        if (listed != all || kept != all) {
            ++lost;
        }
    }
    std::cout << "[ concurrent add dns ] " << kRounds << " rounds, " << lost
              << " with a server lost\n";
    EXPECT_EQ(lost, 0);
}

TEST_F(NetshSafety, EachAdapterKeepsItsOwnDnsServersBesideTheSystems) {
    ns_->addVeth("lan1", "peer1");
    ns_->addVeth("lan2", "peer2");
    ns_->writeResolvConf("search corp.test\nnameserver 192.0.2.99\n");
    mustSucceed(
        {"interface", "ip", "set", "dns", "name=lan0", "source=static", "10.0.0.53", "primary"});
    mustSucceed({"interface", "ip", "add", "dns", "name=lan0", "addr=10.0.0.54", "index=2"});
    mustSucceed(
        {"interface", "ip", "set", "dns", "name=lan1", "source=static", "10.1.0.53", "primary"});
    std::string conf = ns_->resolvConf();
    EXPECT_EQ(nameservers(conf),
              (std::vector<std::string>{"10.0.0.53", "10.0.0.54", "10.1.0.53", "192.0.2.99"}));
    EXPECT_EQ(conf.rfind("search corp.test\n", 0), 0u) << conf;

    // What the adapter inventory reads: each adapter its own servers, one that netsh never
    // set the system's.
    platform::LinuxAdapterPaths paths;
    paths.stateFolder = state_.path();
    paths.resolvConf = "/etc/netns/" + ns_->name() + "/resolv.conf";
    EXPECT_EQ(platform::linuxNameServerValue(paths, "lan0", false), "10.0.0.53,10.0.0.54");
    EXPECT_EQ(platform::linuxNameServerValue(paths, "lan1", false), "10.1.0.53");
    EXPECT_EQ(platform::linuxNameServerValue(paths, "lan2", false), "192.0.2.99");

    // Clearing one adapter's servers leaves the other's and the system's.
    mustSucceed({"interface", "ip", "set", "dns", "name=lan0", "source=static", "primary"});
    conf = ns_->resolvConf();
    EXPECT_EQ(nameservers(conf), (std::vector<std::string>{"10.1.0.53", "192.0.2.99"}));
    EXPECT_EQ(platform::linuxNameServerValue(paths, "lan0", false), "");
    EXPECT_EQ(platform::linuxNameServerValue(paths, "lan1", false), "10.1.0.53");
}

// The three lines the apply builds for a profile whose secondary DNS server equals its
// primary: each ends with exit code 0, so the apply reports success.
TEST_F(NetshSafety, AProfileWithTheSameServerTwiceAppliesWithoutAFailure) {
    IpProfile profile;
    profile.ipAddress = "10.60.0.5";
    profile.subnetMask = "255.255.255.0";
    profile.gateway = "10.60.0.1";
    profile.primaryDns = "168.126.63.1";
    profile.secondaryDns = "168.126.63.1";
    const ApplyPlan plan = buildApplyPlan(profile, "lan0");
    ASSERT_FALSE(plan.secondDnsLine.empty());
    for (const std::string& line : {plan.addressLine, plan.dnsLine, plan.secondDnsLine}) {
        std::vector<std::string> args = system::splitCommandLine(line);
        args.erase(args.begin());  // netsh.exe
        const CommandOutput out = netsh(args);
        EXPECT_EQ(out.exitCode, 0) << line << "\n" << out.output;
    }
    EXPECT_EQ(nameservers(ns_->resolvConf()), std::vector<std::string>{"168.126.63.1"});
    EXPECT_EQ(recorded().dnsServers, std::vector<std::string>{"168.126.63.1"});
}

}  // namespace
}  // namespace quorrel::netsh
