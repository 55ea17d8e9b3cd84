#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quorrel::test {

// What a command run inside a namespace printed and how it ended.
struct CommandOutput {
    int exitCode = -1;   // -1 when it could not be started, was killed or timed out
    std::string output;  // standard output and standard error, interleaved
};

// A DHCP server (dnsmasq) on the peer end of a veth pair.
struct DhcpServerOptions {
    std::string serverAddress;  // with its prefix, given to the peer end: "10.77.0.1/24"
    std::string rangeFirst;     // the addresses handed out, "10.77.0.50"
    std::string rangeLast;      // ... to "10.77.0.60"
    std::string mask = "255.255.255.0";
    std::string router;                   // router option; empty: none
    std::vector<std::string> dnsServers;  // DNS option, in order; empty: none
    int leaseSeconds = 3600;
};

// A network namespace of its own for one test, with everything it needs removed again
// when the object goes: the namespace, an optional peer namespace holding the other ends
// of veth pairs (and a DHCP server there), every process still running in either, and
// /etc/netns/<name>/. Nothing outside the two namespaces is touched: links are created
// inside them, never in the machine's own namespace.
//
// The namespace gets its own resolv.conf from the start, so that `ip netns exec` shows it
// as /etc/resolv.conf to every command run inside and nothing writes the machine's file.
//
//     if (auto why = NetworkNamespace::unavailableReason(); !why.empty()) GTEST_SKIP() << why;
//     NetworkNamespace ns;
//     ns.addVeth("eth0", "peer0");
//     ns.startDhcpServer("peer0", {"10.77.0.1/24", "10.77.0.50", "10.77.0.60"});
//     CommandOutput out = ns.run({"ip", "-4", "addr", "show", "dev", "eth0"});
//
// Failures to set up throw std::runtime_error with the command's output.
class NetworkNamespace {
public:
    // Empty when this process can create network namespaces; otherwise the reason why not,
    // for GTEST_SKIP (not root, no `ip`, or `ip netns add` fails here).
    static std::string unavailableReason();
    // Empty when a DHCP server can be started; otherwise why not (dnsmasq missing).
    static std::string dhcpServerUnavailableReason();

    NetworkNamespace();
    ~NetworkNamespace();
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    const std::string& name() const { return name_; }
    // The peer namespace; "" until the first veth pair creates it.
    const std::string& peerName() const { return peer_; }

    // A veth pair: `inner` inside this namespace, `outer` in the peer namespace. Both ends
    // are brought up; neither gets an address.
    void addVeth(const std::string& inner, const std::string& outer);

    // Gives `outer` (in the peer namespace) the server address and starts dnsmasq on it as
    // a DHCP server only (no DNS service). It is stopped by the destructor.
    void startDhcpServer(const std::string& outer, const DhcpServerOptions& options);

    // Runs argv inside this namespace (`ip netns exec`) without a shell and waits for it,
    // at most `timeoutSeconds`. `env` holds extra "NAME=value" entries on top of this
    // process's environment.
    CommandOutput run(const std::vector<std::string>& argv,
                      const std::vector<std::string>& env = {}, int timeoutSeconds = 60) const;
    // The same inside the peer namespace.
    CommandOutput runInPeer(const std::vector<std::string>& argv) const;

    // Starts argv inside this namespace without waiting, in a process group of its own
    // whose id is the returned process id; its output is thrown away. For tests that kill
    // a run midway: killGroup() ends it and every process it started in its group.
    pid_t start(const std::vector<std::string>& argv,
                const std::vector<std::string>& env = {}) const;

    // The namespace's own resolv.conf, as commands inside see /etc/resolv.conf.
    std::string resolvConf() const;
    void writeResolvConf(const std::string& text) const;

private:
    void createNamespace(const std::string& ns);
    void killEverythingIn(const std::string& ns);

    std::string name_;
    std::string peer_;
    std::vector<std::string> created_;
    pid_t dhcpServer_ = -1;
    std::string leaseFile_;
};

// Kills every process of the group `group` with SIGKILL, collects `group` itself (a child
// of this process) and waits, up to `timeoutSeconds`, until no other process of the group
// is left alive. False when some are still there at the deadline.
bool killGroup(pid_t group, int timeoutSeconds = 10);

// Runs argv (no shell) in this process's own namespace and collects its output. Used by
// the helper for `ip netns ...` management commands; exposed for tests that need it.
CommandOutput runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& env = {}, int timeoutSeconds = 60);

}  // namespace quorrel::test
