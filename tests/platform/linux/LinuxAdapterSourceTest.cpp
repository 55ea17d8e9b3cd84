#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "adapters/AdapterInventory.h"
#include "platform/linux/LinuxAdapterSource.h"
#include "platform/linux/NetworkState.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel {
namespace {

using platform::dhcpClientCommandNames;

TEST(ResolvConfServers, TakesIpv4NameserversInOrder) {
    const std::string text =
        "# generated\n"
        "search example.org\n"
        "nameserver 10.0.0.53\n"
        "  nameserver\t10.0.0.54  # second\n"
        "nameserver fd00::53\n"
        ";nameserver 10.0.0.99\n"
        "nameserver not-an-address\n"
        "nameserver 10.0.0.55";
    EXPECT_EQ(platform::resolvConfServers(text),
              (std::vector<std::string>{"10.0.0.53", "10.0.0.54", "10.0.0.55"}));
    EXPECT_TRUE(platform::resolvConfServers("").empty());
}

// The servers netsh wrote belong to the interfaces it set (each reads its own from its
// state); an interface netsh never set sees only the system's.
TEST(ResolvConfServers, LeavesOutTheLinesNetshWroteForItsInterfaces) {
    const std::string text = "search example.org\n" +
                             platform::resolvConfLineFor("10.0.0.53", "eth0") + "\n" +
                             platform::resolvConfLineFor("10.1.0.53", "eth1") +
                             "\n"
                             "nameserver 192.0.2.99\n"
                             "# DNS servers set by quorrel's netsh for eth2\n"
                             "nameserver 10.2.0.53\n"
                             "nameserver 10.2.0.54\n"
                             "options edns0\n"
                             "nameserver 192.0.2.98\n";
    EXPECT_EQ(platform::resolvConfServers(text),
              (std::vector<std::string>{"192.0.2.99", "192.0.2.98"}));
}

TEST(DhcpClientCommandLine, RecognisesTheInterfaceArgumentOfKnownClients) {
    EXPECT_TRUE(dhcpClientCommandNames({"/sbin/udhcpc", "-i", "eth0", "-f"}, "eth0"));
    EXPECT_TRUE(dhcpClientCommandNames({"udhcpc", "-ieth0"}, "eth0"));
    EXPECT_TRUE(dhcpClientCommandNames({"udhcpc", "--interface=eth0"}, "eth0"));
    EXPECT_TRUE(dhcpClientCommandNames({"busybox", "udhcpc", "-i", "eth0"}, "eth0"));
    EXPECT_TRUE(dhcpClientCommandNames({"/usr/sbin/dhclient", "-4", "eth0"}, "eth0"));
    EXPECT_TRUE(dhcpClientCommandNames({"dhcpcd", "eth0"}, "eth0"));

    EXPECT_FALSE(dhcpClientCommandNames({"udhcpc", "-i", "eth01"}, "eth0"));
    EXPECT_FALSE(dhcpClientCommandNames({"udhcpc", "-i", "eth1"}, "eth0"));
    EXPECT_FALSE(dhcpClientCommandNames({"ping", "eth0"}, "eth0"));
    EXPECT_FALSE(dhcpClientCommandNames({"busybox", "ping", "eth0"}, "eth0"));
    EXPECT_FALSE(dhcpClientCommandNames({"eth0"}, "eth0"));
    EXPECT_FALSE(dhcpClientCommandNames({}, "eth0"));
}

// A process table laid out in a folder: <pid>/cmdline and <pid>/ns/net, as under /proc.
class FakeProcessTable : public ::testing::Test {
protected:
    test::TempFolder root;

    void process(const std::string& pid, const std::vector<std::string>& argv,
                 const std::string& netNamespace) {
        namespace fs = std::filesystem;
        fs::create_directories(root.path() + pid + "/ns");
        std::string cmdline;
        for (const auto& arg : argv) {
            cmdline += arg;
            cmdline += '\0';
        }
        test::writeFileBytes(root.path() + pid + "/cmdline", cmdline);
        fs::create_symlink(netNamespace, root.path() + pid + "/ns/net");
    }
    void self(const std::string& netNamespace) {
        namespace fs = std::filesystem;
        fs::create_directories(root.path() + "self/ns");
        fs::create_symlink(netNamespace, root.path() + "self/ns/net");
    }
    bool running(const std::string& ifname) {
        std::string folder = root.path();
        folder.pop_back();
        return platform::dhcpClientProcessRunning(folder, ifname);
    }
};

TEST_F(FakeProcessTable, OnlyClientsInTheCallersNetworkNamespaceCount) {
    self("net:[4026531840]");
    process("17", {"udhcpc", "-i", "eth0"}, "net:[4026532001]");
    process("18", {"dhclient", "eth1"}, "net:[4026531840]");
    process("19", {"sleep", "eth2"}, "net:[4026531840]");
    EXPECT_FALSE(running("eth0"));  // same name, another namespace
    EXPECT_TRUE(running("eth1"));
    EXPECT_FALSE(running("eth2"));

    process("20", {"udhcpc", "-i", "eth0"}, "net:[4026531840]");
    EXPECT_TRUE(running("eth0"));
}

// --- The real kernel, inside a namespace of the test's own ---

class RecordingPresenter final : public MessagePresenter {
public:
    std::vector<std::string> texts;
    MessageResult show(const Message& message) override {
        texts.push_back(message.text);
        return MessageResult::Ok;
    }
};

// Enumerates the adapters inside network namespace `ns` in a forked child (setns), and
// returns one tab-separated line per record, or "MSG\t<text>" per message shown.
std::string enumerateInNamespace(const std::string& ns, const platform::LinuxAdapterPaths& paths) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return "pipe failed";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string out;
        const int nsFd = ::open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
        if (nsFd < 0 || ::setns(nsFd, CLONE_NEWNET) != 0) {
            out = "setns failed";
        } else {
            platform::LinuxAdapterTable table(paths);
            platform::LinuxAdapterKeys keys(paths);
            RecordingPresenter messages;
            AdapterInventory inventory(table, keys, messages);
            out = "enumerate=" + std::to_string(inventory.enumerate()) + "\n";
            for (const auto& m : messages.texts) {
                out += "MSG\t" + m + "\n";
            }
            for (const auto& r : inventory.records()) {
                out += r.connectionName + "\t" + r.adapterId + "\t" + r.macAddress + "\t" +
                       r.ipAddress + "\t" + r.subnetMask + "\t" + r.gateway + "\t" +
                       std::to_string(r.dhcpEnabled) + "\t" + r.primaryDns + "\t" + r.secondaryDns +
                       "\t" + std::to_string(r.dnsAuto) + "\n";
            }
        }
        std::size_t written = 0;
        while (written < out.size()) {
            const ssize_t n = ::write(pipeEnds[1], out.data() + written, out.size() - written);
            if (n <= 0) {
                break;
            }
            written += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return result;
}

std::string hostLinks() {
    return test::runCommand({"ip", "-o", "link", "show"}).output;
}

class LinuxAdapterSourceInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = test::NetworkNamespace::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        hostBefore = hostLinks();
        ns = std::make_unique<test::NetworkNamespace>();
        ns->addVeth("eth0", "peer0");
        ns->addVeth("eth1", "peer1");
        mustRun({"ip", "addr", "add", "10.77.1.2/24", "dev", "eth0"});
        mustRun({"ip", "addr", "add", "10.77.1.3/24", "dev", "eth0"});
        mustRun({"ip", "route", "add", "default", "via", "10.77.1.1", "dev", "eth0"});
        ns->writeResolvConf("nameserver 10.77.1.53\nnameserver 10.77.1.54\n");
        paths.stateFolder = state.path();
        paths.resolvConf = "/etc/netns/" + ns->name() + "/resolv.conf";
        // No NetworkManager of the machine's may answer here.
        paths.managedConfig = nullptr;
    }
    void TearDown() override {
        if (ns) {
            ns.reset();
            EXPECT_EQ(hostLinks(), hostBefore);
        }
    }

    void mustRun(const std::vector<std::string>& argv) {
        const test::CommandOutput out = ns->run(argv);
        ASSERT_EQ(out.exitCode, 0) << out.output;
    }
    std::string mac(const std::string& ifname) {
        std::string text = ns->run({"cat", "/sys/class/net/" + ifname + "/address"}).output;
        for (char& c : text) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return text.substr(0, text.find('\n'));
    }

    std::unique_ptr<test::NetworkNamespace> ns;
    std::string hostBefore;
    test::TempFolder state;
    platform::LinuxAdapterPaths paths;
};

TEST_F(LinuxAdapterSourceInNamespace, ReportsEveryInterfaceInIndexOrderWithItsSettings) {
    // eth1 holds an address with a lifetime, as a DHCP client leaves it.
    mustRun({"ip", "addr", "add", "10.78.0.9/16", "dev", "eth1", "valid_lft", "3600",
             "preferred_lft", "3600"});

    const std::string expected =
        "enumerate=1\n"
        "eth0\teth0\t" +
        mac("eth0") +
        "\t10.77.1.2\t255.255.255.0\t10.77.1.1\t0\t10.77.1.53\t"
        "10.77.1.54\t0\n"
        "eth1\teth1\t" +
        mac("eth1") + "\t10.78.0.9\t255.255.0.0\t\t1\t\t\t1\n";
    EXPECT_EQ(enumerateInNamespace(ns->name(), paths), expected);
}

TEST_F(LinuxAdapterSourceInNamespace, WhatNetshRecordedOverridesTheKernelsHints) {
    mustRun({"ip", "addr", "add", "10.78.0.9/16", "dev", "eth1", "valid_lft", "3600",
             "preferred_lft", "3600"});
    platform::InterfaceState eth0;
    eth0.dhcp = true;
    eth0.dnsAuto = false;
    eth0.dnsServers = {"10.9.9.9", "10.9.9.8", "10.9.9.7"};
    platform::InterfaceState eth1;
    eth1.dhcp = false;
    eth1.dnsAuto = false;
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(state.path(), "eth0", eth0)));
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(state.path(), "eth1", eth1)));

    const std::string expected =
        "enumerate=1\n"
        "eth0\teth0\t" +
        mac("eth0") +
        "\t10.77.1.2\t255.255.255.0\t10.77.1.1\t1\t10.9.9.9\t"
        "10.9.9.8,10.9.9.7\t0\n"
        "eth1\teth1\t" +
        mac("eth1") + "\t10.78.0.9\t255.255.0.0\t\t0\t\t\t0\n";
    EXPECT_EQ(enumerateInNamespace(ns->name(), paths), expected);
}

TEST_F(LinuxAdapterSourceInNamespace, NetworkManagersConfigurationComesBeforeNetshsRecords) {
    platform::InterfaceState eth0;
    eth0.dhcp = false;
    eth0.dnsAuto = false;
    eth0.dnsServers = {"10.9.9.9"};
    ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(state.path(), "eth0", eth0)));
    // NetworkManager manages eth0 only: DHCP with hand-set DNS servers.
    paths.managedConfig =
        [](const std::string& ifname) -> std::optional<platform::ManagedInterfaceConfig> {
        if (ifname != "eth0") {
            return std::nullopt;
        }
        return platform::ManagedInterfaceConfig{true, {"10.8.8.8", "10.8.8.7"}};
    };

    const std::string expected =
        "enumerate=1\n"
        "eth0\teth0\t" +
        mac("eth0") +
        "\t10.77.1.2\t255.255.255.0\t10.77.1.1\t1\t10.8.8.8\t"
        "10.8.8.7\t0\n"
        "eth1\teth1\t" +
        mac("eth1") + "\t\t\t\t0\t10.77.1.53\t10.77.1.54\t0\n";
    EXPECT_EQ(enumerateInNamespace(ns->name(), paths), expected);
}

TEST_F(LinuxAdapterSourceInNamespace, InterfacesWithoutAddressAreListedToo) {
    const std::string expected =
        "enumerate=1\n"
        "eth0\teth0\t" +
        mac("eth0") +
        "\t10.77.1.2\t255.255.255.0\t10.77.1.1\t0\t10.77.1.53\t"
        "10.77.1.54\t0\n"
        "eth1\teth1\t" +
        mac("eth1") + "\t\t\t\t0\t10.77.1.53\t10.77.1.54\t0\n";
    EXPECT_EQ(enumerateInNamespace(ns->name(), paths), expected);
}

}  // namespace
}  // namespace quorrel
