#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorrel::platform {

// What an adapter carries at this moment, read without waiting. Addresses are dotted IPv4
// texts.
struct LinkReading {
    bool found = false;                   // an adapter of that connection name exists
    bool up = false;                      // switched on and with a working link (carrier)
    std::vector<std::string> addresses;   // its IPv4 addresses, in the system's order
    std::string gateway;                  // its first IPv4 default gateway; "" without one
    std::vector<std::string> dnsServers;  // the DNS servers it uses now, in order
};

// How a peer answered a probe.
struct ProbeAnswer {
    enum class Kind {
        Answered,     // it answered within the time given
        NoAnswer,     // nothing came back in time, or the peer refused the question
        NotPossible,  // the question could not be asked here (see `detail`)
    };
    Kind kind = Kind::NoAnswer;
    // How the answer came: "ARP", "ICMP" or "DNS"; empty without an answer.
    std::string method;
    // For the debugger output: why there was no answer or no question.
    std::string detail;

    static ProbeAnswer answeredBy(const char* how) { return {Kind::Answered, how, {}}; }
    static ProbeAnswer without(Kind kind, std::string why) { return {kind, {}, std::move(why)}; }
};

// The questions that tell whether the network works after a change, asked as the user
// (never with administrator rights). Each call returns by itself once its time is up and
// may be called from any thread.
class ConnectionProbe {
public:
    virtual ~ConnectionProbe() = default;

    virtual LinkReading readLink(const std::string& connectionName) = 0;

    // Whether `gateway` answers on the adapter: the system's own neighbour resolution (ARP)
    // or an echo request (ICMP), whichever it allows and answers first.
    virtual ProbeAnswer askGateway(const std::string& connectionName, const std::string& gateway,
                                   std::chrono::milliseconds limit) = 0;

    // Whether `server` answers a DNS question over UDP port 53. Any well-formed reply
    // counts, also one that knows no such name.
    virtual ProbeAnswer askDnsServer(const std::string& server,
                                     std::chrono::milliseconds limit) = 0;
};

std::unique_ptr<ConnectionProbe> makeSystemConnectionProbe();

}  // namespace quorrel::platform
