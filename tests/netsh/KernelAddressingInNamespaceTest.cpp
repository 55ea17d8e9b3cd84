// netsh reads an interface's addresses and default routes over netlink instead of running
// `ip`: it must read exactly what it read from ip's output, which is what a failed change
// puts back.

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <thread>

#include "netsh/KernelAddressing.h"
#include "netsh/KernelChange.h"
#include "tests/netsh/NetshNamespaceFixture.h"

namespace quorrel::netsh {
namespace {

class KernelAddressingInNamespace : public NetshInNamespace {
protected:
    // Runs `step` on a thread that has entered the test's namespace.
    template <typename Step>
    void runInside(Step step) {
        std::thread worker([&] {
            const int fd = ::open(("/run/netns/" + ns_->name()).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0) {
                step();
            }
            if (fd >= 0) {
                ::close(fd);
            }
        });
        worker.join();
    }

    std::optional<KernelAddressing> readInside(const std::string& ifname) {
        std::optional<KernelAddressing> read;
        runInside([&] { read = readKernelAddressing(ifname); });
        return read;
    }

    // The interface's addresses and routes in ip's detailed words.
    std::string shownByIp() {
        return ns_->run({"ip", "-4", "-d", "addr", "show", "dev", "lan0"}).output +
               ns_->run({"ip", "-4", "-d", "route", "show", "table", "all"}).output;
    }

    InterfaceAddressing readByIp() {
        InterfaceAddressing addressing;
        addressing.addresses =
            parseAddressList(ns_->run({"ip", "-4", "-o", "addr", "show", "dev", "lan0"}).output);
        addressing.defaultRoutes = parseDefaultRouteList(
            ns_->run({"ip", "-4", "route", "show", "exact", "0.0.0.0/0", "dev", "lan0"}).output);
        return addressing;
    }

    void inside(const std::vector<std::string>& argv) {
        const CommandOutput out = ns_->run(argv);
        ASSERT_EQ(out.exitCode, 0) << out.output;
    }
};

TEST_F(KernelAddressingInNamespace, ReadsWhatIpReportsAndWhetherAChangeHasAnythingToDo) {
    auto kernel = readInside("lan0");
    ASSERT_TRUE(kernel);
    EXPECT_TRUE(kernel->up);
    EXPECT_FALSE(kernel->anyAddress);
    EXPECT_FALSE(kernel->anyDefaultRoute);
    EXPECT_EQ(kernel->addressing, InterfaceAddressing{});

    // Addresses with and without a broadcast address, a point-to-point one; default routes
    // with metrics, onlink, straight onto the link, and one in another table.
    inside({"ip", "addr", "add", "10.80.0.5/24", "broadcast", "+", "dev", "lan0"});
    inside({"ip", "addr", "add", "10.81.0.7/16", "dev", "lan0"});
    inside({"ip", "addr", "add", "10.80.0.9/24", "dev", "lan0"});
    inside({"ip", "addr", "add", "10.90.0.1", "peer", "10.90.0.2/32", "dev", "lan0"});
    inside({"ip", "route", "append", "default", "via", "10.80.0.1", "dev", "lan0"});
    inside({"ip", "route", "append", "default", "via", "10.81.0.1", "dev", "lan0", "metric", "7"});
    inside({"ip", "route", "append", "default", "via", "10.99.0.1", "dev", "lan0", "metric", "8",
            "onlink"});
    inside({"ip", "route", "append", "default", "dev", "lan0", "metric", "9"});
    inside({"ip", "route", "append", "default", "via", "10.80.0.2", "dev", "lan0", "table", "100"});

    const InterfaceAddressing byIp = readByIp();
    ASSERT_EQ(byIp.addresses.size(), 3u);
    ASSERT_EQ(byIp.defaultRoutes.size(), 4u);
    kernel = readInside("lan0");
    ASSERT_TRUE(kernel);
    EXPECT_TRUE(kernel->anyAddress);
    EXPECT_TRUE(kernel->anyDefaultRoute);
    EXPECT_EQ(kernel->addressing, byIp)
        << describeAddressing(kernel->addressing) << " / " << describeAddressing(byIp);

    // Only the point-to-point address left (the secondary goes before its primary, which
    // would take it along), and the link down: still something to remove.
    inside({"ip", "route", "flush", "exact", "0.0.0.0/0", "dev", "lan0"});
    for (const char* address : {"10.80.0.9/24", "10.80.0.5/24", "10.81.0.7/16"}) {
        inside({"ip", "addr", "del", address, "dev", "lan0"});
    }
    inside({"ip", "link", "set", "lan0", "down"});
    kernel = readInside("lan0");
    ASSERT_TRUE(kernel);
    EXPECT_FALSE(kernel->up);
    EXPECT_TRUE(kernel->anyAddress);
    EXPECT_FALSE(kernel->anyDefaultRoute);
    EXPECT_EQ(kernel->addressing, readByIp());

    EXPECT_FALSE(readInside("nosuch0"));
}

// A new address and default route sent over netlink leave the kernel as ip's commands do,
// and a refusal reads as ip's.
TEST_F(KernelAddressingInNamespace, ChangesOverNetlinkLeaveWhatIpLeaves) {
    inside({"ip", "-4", "addr", "add", "10.80.0.5/24", "broadcast", "+", "dev", "lan0"});
    inside({"ip", "-4", "route", "append", "default", "via", "10.80.0.1", "dev", "lan0", "metric",
            "7"});
    const std::string byIp = shownByIp();
    const CommandOutput again =
        ns_->run({"ip", "-4", "addr", "add", "10.80.0.5/24", "broadcast", "+", "dev", "lan0"});
    ASSERT_NE(again.exitCode, 0);
    inside({"ip", "-4", "addr", "flush", "dev", "lan0"});

    std::optional<Done> address, route, twice, host;
    runInside([&] {
        address = setAddressOverNetlink("lan0", "10.80.0.5", 24, false);
        route = appendDefaultRouteOverNetlink("lan0", "10.80.0.1", 7);
        twice = setAddressOverNetlink("lan0", "10.80.0.5", 24, false);
        host = setAddressOverNetlink("lan0", "10.80.0.6", 32, false);
    });
    ASSERT_TRUE(address && route && twice);
    EXPECT_TRUE(*address) << address->error();
    EXPECT_TRUE(*route) << route->error();
    EXPECT_EQ(shownByIp(), byIp);
    ASSERT_FALSE(*twice);
    EXPECT_EQ(twice->error() + "\n", again.output);
    EXPECT_FALSE(host) << "a /32 is left to ip";
}

}  // namespace
}  // namespace quorrel::netsh
