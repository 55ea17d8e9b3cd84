// The duplicate address check of the real netsh program, inside network namespaces that
// each test creates and removes (root only): lan0 inside, its peer end peer0 in the peer
// namespace, where a host of the link holds addresses.

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>

#include "tests/netsh/NetshNamespaceFixture.h"
#include "tests/support/WaitUntil.h"

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

    test::TempFolder scratch_;
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

// A holder that answers at once, 50 ms or 150 ms after each probe: the address is refused
// however late it comes within the probe, and a silent link lets it be taken.
TEST_F(AddressConflictInNamespace, AHolderThatAnswersLateIsStillHeard) {
    ASSERT_EQ(ns_->runInPeer({"ip", "addr", "add", "10.60.0.1/24", "dev", "peer0"}).exitCode, 0);
    const std::string mac = peerMac();
    ASSERT_FALSE(mac.empty());
    for (const int delayMs : {0, 50, 150}) {
        SCOPED_TRACE(std::to_string(delayMs) + " ms late");
        const std::string address = "10.60.0." + std::to_string(100 + delayMs / 10);
        const std::string ready = scratch_.path() + "/ready-" + std::to_string(delayMs);
        // The responder holds the address without the peer's kernel answering for it.
        const pid_t holder =
            ns_->start({"ip", "netns", "exec", ns_->peerName(), QUORREL_LATE_ARP_RESPONDER_PATH,
                        "peer0", address, std::to_string(delayMs), ready});
        ASSERT_TRUE(test::waitUntil([&] { return std::filesystem::exists(ready); }));

        const auto start = std::chrono::steady_clock::now();
        const CommandOutput out = setFixed(address);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(out.exitCode, 1) << out.output;
        EXPECT_NE(out.output.find(address +
                                  " is already in use on the network of lan0: the "
                                  "host with MAC address " +
                                  mac),
                  std::string::npos)
            << out.output;
        EXPECT_GE(took, std::chrono::milliseconds(delayMs));
        EXPECT_EQ(addresses(), "");
        EXPECT_TRUE(test::killGroup(holder));
    }
    // Nobody holds this one: taken after the probe's silence.
    const CommandOutput free = setFixed("10.60.0.99");
    ASSERT_EQ(free.exitCode, 0) << free.output;
    EXPECT_EQ(addresses(), "10.60.0.99/24");
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
