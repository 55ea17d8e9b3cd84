// The duplicate address check of the real netsh program, inside network namespaces that
// each test creates and removes (root only): lan0 inside, its peer end peer0 in the peer
// namespace, where a host of the link holds addresses.

#include <algorithm>
#include <cctype>

#include "tests/netsh/NetshNamespaceFixture.h"

namespace quorrel::netsh {
namespace {

class AddressConflictInNamespace : public NetshInNamespace {
protected:
    // The peer end's hardware address as netsh names it: "0A:1B:...".
    std::string peerMac() {
        std::istringstream in(ns_->runInPeer({"ip", "-o", "link", "show", "peer0"}).output);
        for (std::string word; in >> word;) {
            if (word == "link/ether" && in >> word) {
                std::transform(word.begin(), word.end(), word.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
                return word;
            }
        }
        return "";
    }

    CommandOutput setFixed(const std::string& address) {
        return netsh({"interface", "ip", "set", "address", "lan0", "source=static",
                      "addr=" + address, "mask=255.255.255.0", "gateway=10.60.0.1", "1"});
    }
};

TEST_F(AddressConflictInNamespace, AnAddressAnotherHostHoldsIsRefusedAndNothingChanges) {
    ASSERT_EQ(ns_->runInPeer({"ip", "addr", "add", "10.60.0.5/24", "dev", "peer0"}).exitCode, 0);
    ns_->run({"ip", "addr", "add", "10.50.0.9/16", "dev", "lan0"});
    const std::string mac = peerMac();
    ASSERT_FALSE(mac.empty());

    const CommandOutput out = setFixed("10.60.0.5");
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_NE(out.output.find("netsh: 10.60.0.5 is already in use on the network of lan0: the "
                              "host with MAC address " +
                              mac + " answered for it; nothing was changed"),
              std::string::npos)
        << out.output;
    EXPECT_EQ(addresses(), "10.50.0.9/16");
    EXPECT_EQ(defaultRoutes(), "");
    EXPECT_FALSE(platform::readInterfaceState(state_.path(), "lan0"));

    // A free address of the same network is taken.
    const CommandOutput free = setFixed("10.60.0.6");
    ASSERT_EQ(free.exitCode, 0) << free.output;
    EXPECT_EQ(addresses(), "10.60.0.6/24");
}

TEST_F(AddressConflictInNamespace, NoProbeForTheAddressTheInterfaceHasOrOnALinkThatIsDown) {
    ASSERT_EQ(ns_->runInPeer({"ip", "addr", "add", "10.60.0.5/24", "dev", "peer0"}).exitCode, 0);

    // The interface holds the address already (say, the same profile applied again): no
    // probe, so the other holder is not asked.
    ns_->run({"ip", "addr", "add", "10.60.0.5/24", "dev", "lan0"});
    CommandOutput out = setFixed("10.60.0.5");
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(addresses(), "10.60.0.5/24");

    // Switched off: there is nobody to ask, and a probe could not even be sent. The apply
    // switches it on with the address.
    ns_->run({"ip", "addr", "flush", "dev", "lan0"});
    ns_->run({"ip", "link", "set", "lan0", "down"});
    out = setFixed("10.60.0.5");
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(addresses(), "10.60.0.5/24");
}

TEST_F(AddressConflictInNamespace, WithoutTheRightToProbeTheAddressIsTakenWithANote) {
    ASSERT_EQ(ns_->runInPeer({"ip", "addr", "add", "10.60.0.5/24", "dev", "peer0"}).exitCode, 0);
    // netsh with CAP_NET_ADMIN but not CAP_NET_RAW, as a set-up that grants only the former.
    const CommandOutput out =
        ns_->run({"setpriv", "--bounding-set=-net_raw", "--inh-caps=-net_raw", QUORREL_NETSH_PATH,
                  "interface", "ip", "set", "address", "lan0", "source=static", "addr=10.60.0.5",
                  "mask=255.255.255.0", "gateway=10.60.0.1", "1"},
                 netshEnvironment(10000));
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_NE(out.output.find("netsh: did not check whether 10.60.0.5 is already in use on lan0"),
              std::string::npos)
        << out.output;
    EXPECT_NE(out.output.find("CAP_NET_RAW"), std::string::npos) << out.output;
    EXPECT_EQ(addresses(), "10.60.0.5/24");
}

}  // namespace
}  // namespace quorrel::netsh
