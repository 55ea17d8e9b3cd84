// The network behind an adapter, seen in a namespace of the test's own: the gateway's link
// address, and another one after the link went down and came back with another gateway.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/NetworkSensor.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel {
namespace {

using namespace std::chrono_literals;
using test::NetworkNamespace;

// The sensor's look at `ifname`, from a thread that has entered the namespace `ns`.
platform::NetworkFingerprint lookInNamespace(const std::string& ns, const std::string& ifname) {
    platform::NetworkFingerprint seen{"setns failed", ""};
    std::thread inside([&] {
        const int fd = ::open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0) {
            seen = platform::makeSystemNetworkSensor()->look(ifname, 2000ms);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    });
    inside.join();
    return seen;
}

void mustRun(const test::CommandOutput& out) {
    ASSERT_EQ(out.exitCode, 0) << out.output;
}

TEST(NetworkSensorInNamespace, TheGatewaysLinkAddressTellsTheNetworksApart) {
    if (auto why = NetworkNamespace::unavailableReason(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    NetworkNamespace ns;
    ns.addVeth("eth0", "peer0");
    mustRun(ns.runInPeer({"ip", "link", "set", "peer0", "address", "02:00:00:00:a0:01"}));
    mustRun(ns.runInPeer({"ip", "addr", "add", "10.88.0.1/24", "dev", "peer0"}));
    mustRun(ns.run({"ip", "addr", "add", "10.88.0.2/24", "dev", "eth0"}));
    // Without a default gateway there is nothing to tell the network by.
    EXPECT_TRUE(lookInNamespace(ns.name(), "eth0").empty());

    mustRun(ns.run({"ip", "route", "add", "default", "via", "10.88.0.1", "dev", "eth0"}));
    EXPECT_EQ(lookInNamespace(ns.name(), "eth0").gatewayMac, "02:00:00:00:A0:01");

    // Plugged into another network with the same gateway address: the link goes down and
    // comes up behind another gateway.
    // The kernel forgets the link's neighbours once it has taken the lost carrier in (a
    // moment later), and the link's change shows once it has taken the new one in.
    mustRun(ns.runInPeer({"ip", "link", "set", "peer0", "down"}));
    ASSERT_TRUE(test::waitUntil([&] {
        return ns.run({"ip", "neigh", "show", "dev", "eth0"}).output.empty();
    }));
    mustRun(ns.runInPeer({"ip", "link", "set", "peer0", "address", "02:00:00:00:b0:02"}));
    mustRun(ns.runInPeer({"ip", "link", "set", "peer0", "up"}));
    ASSERT_TRUE(test::waitUntil([&] {
        return ns.run({"ip", "link", "show", "eth0"}).output.find("LOWER_UP") != std::string::npos;
    }));
    mustRun(ns.run({"ip", "route", "replace", "default", "via", "10.88.0.1", "dev", "eth0"}));
    EXPECT_EQ(lookInNamespace(ns.name(), "eth0").gatewayMac, "02:00:00:00:B0:02");

    // A gateway that never answers leaves the network unknown.
    mustRun(ns.run({"ip", "route", "replace", "default", "via", "10.88.0.9", "dev", "eth0"}));
    EXPECT_TRUE(lookInNamespace(ns.name(), "eth0").empty());
}

}  // namespace
}  // namespace quorrel
