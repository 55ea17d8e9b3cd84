// The questions of the connection check on Windows, asked as the user: the adapter from
// GetAdaptersAddresses, the gateway by echo requests (IcmpSendEcho) and by ARP (SendARP),
// the DNS server by a query of our own over a Winsock datagram socket.

// winsock2.h before windows.h, which would otherwise bring the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h.
#include <windows.h>
// After windows.h: these rely on its types.
#include <iphlpapi.h>
// IPAddr and IP_OPTION_INFORMATION, which icmpapi.h uses without including them.
#include <ipexport.h>
// After ipexport.h.
#include <icmpapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "platform/DnsMessage.h"
#include "platform/win32/Win32ConnectionProbe.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kResendPeriod{500};
// The longest single echo request, so that the loop looks at the clock and at ARP often.
constexpr DWORD kEchoSliceMs = 250;

std::string errorText(const char* what, unsigned long code) {
    return std::string(what) + " failed, error " + std::to_string(code);
}

DWORD remainingMs(Clock::time_point deadline, milliseconds cap) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (left <= milliseconds::zero()) {
        return 0;
    }
    return static_cast<DWORD>(left < cap ? left.count() : cap.count());
}

bool parseAddress(const std::string& text, IN_ADDR& address) {
    return ::InetPtonA(AF_INET, text.c_str(), &address) == 1;
}

std::string dotted(const SOCKADDR* address) {
    if (address == nullptr || address->sa_family != AF_INET) {
        return {};
    }
    const auto* inet = reinterpret_cast<const SOCKADDR_IN*>(address);
    char text[INET_ADDRSTRLEN] = {};
    IN_ADDR copy = inet->sin_addr;
    return ::InetNtopA(AF_INET, &copy, text, sizeof text) != nullptr ? std::string(text)
                                                                     : std::string();
}

// Winsock for the life of one question.
class WinsockSession {
public:
    WinsockSession() {
        WSADATA data;
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession() {
        if (started_) {
            ::WSACleanup();
        }
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool started() const { return started_; }

private:
    bool started_ = false;
};

class UdpSocket {
public:
    UdpSocket() : socket_(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {}
    ~UdpSocket() {
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(socket_);
        }
    }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    SOCKET get() const { return socket_; }

private:
    SOCKET socket_;
};

// The adapter of that connection name in the system's address table, or nullptr.
const IP_ADAPTER_ADDRESSES* findAdapter(const std::vector<unsigned char>& table,
                                        const std::string& connectionName) {
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(table.data());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->FriendlyName != nullptr &&
            system::win32::wideToUtf8(adapter->FriendlyName) == connectionName) {
            return adapter;
        }
    }
    return nullptr;
}

// SendARP has no time limit of its own: it runs on a thread of its own, which ends by
// itself after the question has been given up. The result is shared with that thread, and
// `done` (an event) is set once it is there.
struct ArpQuestion {
    IPAddr target = 0;
    std::atomic<bool> answered{false};
    unsigned char mac[8] = {};
    ULONG length = 0;
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~ArpQuestion() {
        if (done != nullptr) {
            ::CloseHandle(done);
        }
    }
};

DWORD WINAPI askArp(LPVOID parameter) {
    // The thread's share of the question, handed over by startArp().
    std::unique_ptr<std::shared_ptr<ArpQuestion>> held(
        static_cast<std::shared_ptr<ArpQuestion>*>(parameter));
    ArpQuestion& question = **held;
    ULONG mac[2] = {};
    ULONG length = 6;
    if (::SendARP(question.target, 0, mac, &length) == NO_ERROR && length > 0 && length <= 8) {
        std::memcpy(question.mac, mac, length);
        question.length = length;
        question.answered = true;
    }
    if (question.done != nullptr) {
        ::SetEvent(question.done);
    }
    return 0;
}

bool startArp(const std::shared_ptr<ArpQuestion>& question) {
    auto* share = new std::shared_ptr<ArpQuestion>(question);
    HANDLE thread = ::CreateThread(nullptr, 0, askArp, share, 0, nullptr);
    if (thread == nullptr) {
        delete share;
        return false;
    }
    ::CloseHandle(thread);
    return true;
}

class Win32ConnectionProbe final : public ConnectionProbe {
public:
    LinkReading readLink(const std::string& connectionName) override {
        LinkReading reading;
        const ULONG flags =
            GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_ANYCAST;
        ULONG size = 16 * 1024;
        std::vector<unsigned char> table;
        ULONG result = ERROR_BUFFER_OVERFLOW;
        for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
            table.assign(size, 0);
            result = ::GetAdaptersAddresses(AF_INET, flags, nullptr,
                                            reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data()),
                                            &size);
        }
        if (result != NO_ERROR) {
            return reading;
        }
        const IP_ADAPTER_ADDRESSES* adapter = findAdapter(table, connectionName);
        if (adapter == nullptr) {
            return reading;
        }
        reading.found = true;
        reading.up = adapter->OperStatus == IfOperStatusUp;
        for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            if (std::string text = dotted(unicast->Address.lpSockaddr); !text.empty()) {
                reading.addresses.push_back(std::move(text));
            }
        }
        for (auto* gateway = adapter->FirstGatewayAddress; gateway != nullptr;
             gateway = gateway->Next) {
            if (std::string text = dotted(gateway->Address.lpSockaddr); !text.empty()) {
                reading.gateway = std::move(text);
                break;
            }
        }
        for (auto* server = adapter->FirstDnsServerAddress; server != nullptr;
             server = server->Next) {
            if (std::string text = dotted(server->Address.lpSockaddr); !text.empty()) {
                reading.dnsServers.push_back(std::move(text));
            }
        }
        return reading;
    }

    ProbeAnswer askGateway(const std::string&, const std::string& gateway,
                           milliseconds limit) override {
        const Clock::time_point deadline = Clock::now() + limit;
        WinsockSession winsock;  // for the address conversion
        IN_ADDR address{};
        if (!parseAddress(gateway, address)) {
            return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible,
                                        "not an IPv4 address: " + gateway);
        }
        auto arp = std::make_shared<ArpQuestion>();
        arp->target = address.S_un.S_addr;
        const bool arpAsked = startArp(arp);

        HANDLE icmp = ::IcmpCreateFile();
        std::string detail = "no reply";
        if (icmp == INVALID_HANDLE_VALUE) {
            detail = errorText("IcmpCreateFile", ::GetLastError());
        }
        if (!arpAsked && icmp == INVALID_HANDLE_VALUE) {
            return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible, detail);
        }
        char payload[8] = "quorrel";
        std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + sizeof payload + 8);
        ProbeAnswer result = ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, detail);
        for (;;) {
            if (arp->answered) {
                result = ProbeAnswer::answeredBy("ARP");
                break;
            }
            const DWORD slice = remainingMs(deadline, milliseconds(kEchoSliceMs));
            if (slice == 0) {
                break;
            }
            if (icmp != INVALID_HANDLE_VALUE) {
                const DWORD replies =
                    ::IcmpSendEcho(icmp, arp->target, payload, sizeof payload, nullptr,
                                   reply.data(), static_cast<DWORD>(reply.size()), slice);
                const auto* echo = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
                if (replies > 0 && echo->Status == IP_SUCCESS) {
                    result = ProbeAnswer::answeredBy("ICMP");
                    break;
                }
                if (replies == 0 && ::GetLastError() != IP_REQ_TIMED_OUT) {
                    // Echo requests are refused here; ARP alone decides.
                    result.detail = errorText("IcmpSendEcho", ::GetLastError());
                    ::IcmpCloseHandle(icmp);
                    icmp = INVALID_HANDLE_VALUE;
                }
            } else {
                ::Sleep(remainingMs(deadline, milliseconds(20)));
            }
        }
        if (icmp != INVALID_HANDLE_VALUE) {
            ::IcmpCloseHandle(icmp);
        }
        return result;
    }

    ProbeAnswer askDnsServer(const std::string& server, milliseconds limit) override {
        return win32AskDnsServerAt(server, kDnsPort, limit);
    }
};

}  // namespace

std::string win32GatewayLinkAddress(const std::string& gateway, milliseconds limit) {
    WinsockSession winsock;  // for the address conversion
    IN_ADDR address{};
    if (!parseAddress(gateway, address)) {
        return {};
    }
    auto arp = std::make_shared<ArpQuestion>();
    arp->target = address.S_un.S_addr;
    if (arp->done == nullptr || !startArp(arp) ||
        ::WaitForSingleObject(arp->done, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0 ||
        !arp->answered || arp->length != 6 ||
        std::all_of(arp->mac, arp->mac + 6, [](unsigned char byte) { return byte == 0; })) {
        return {};
    }
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (ULONG i = 0; i < arp->length; ++i) {
        if (i > 0) {
            text += ':';
        }
        text += digits[arp->mac[i] >> 4];
        text += digits[arp->mac[i] & 0x0F];
    }
    return text;
}

ProbeAnswer win32AskDnsServerAt(const std::string& server, std::uint16_t port, milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    WinsockSession winsock;
    if (!winsock.started()) {
        return ProbeAnswer::without(
            ProbeAnswer::Kind::NotPossible,
            errorText("WSAStartup", static_cast<unsigned long>(::WSAGetLastError())));
    }
    IN_ADDR address{};
    if (!parseAddress(server, address)) {
        return ProbeAnswer::without(ProbeAnswer::Kind::NotPossible,
                                    "not an IPv4 address: " + server);
    }
    UdpSocket socket;
    if (socket.get() == INVALID_SOCKET) {
        return ProbeAnswer::without(
            ProbeAnswer::Kind::NotPossible,
            errorText("socket", static_cast<unsigned long>(::WSAGetLastError())));
    }
    SOCKADDR_IN to{};
    to.sin_family = AF_INET;
    to.sin_addr = address;
    to.sin_port = ::htons(port);
    // Connected, so that only the server's replies arrive and a refusal is reported.
    if (::connect(socket.get(), reinterpret_cast<const SOCKADDR*>(&to), sizeof to) != 0) {
        return ProbeAnswer::without(
            ProbeAnswer::Kind::NoAnswer,
            errorText("connect", static_cast<unsigned long>(::WSAGetLastError())));
    }
    std::random_device device;
    const std::vector<std::uint8_t> query =
        makeDnsQuery(static_cast<std::uint16_t>(device() & 0xFFFF), ".", kDnsTypeNs);

    Clock::time_point nextSend = Clock::now();
    while (Clock::now() < deadline) {
        if (Clock::now() >= nextSend) {
            ::send(socket.get(), reinterpret_cast<const char*>(query.data()),
                   static_cast<int>(query.size()), 0);
            nextSend = Clock::now() + kResendPeriod;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket.get(), &readable);
        const DWORD waitMs = remainingMs(deadline, kResendPeriod);
        timeval wait{static_cast<long>(waitMs / 1000), static_cast<long>((waitMs % 1000) * 1000)};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
        std::uint8_t replyBytes[1500];
        const int got =
            ::recv(socket.get(), reinterpret_cast<char*>(replyBytes), sizeof replyBytes, 0);
        if (got == SOCKET_ERROR) {
            // A port unreachable reply: the host is there, but nothing serves DNS on it.
            if (::WSAGetLastError() == WSAECONNRESET) {
                return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, "refused");
            }
            continue;
        }
        if (isDnsReplyTo(replyBytes, static_cast<std::size_t>(got), query)) {
            return ProbeAnswer::answeredBy("DNS");
        }
    }
    return ProbeAnswer::without(ProbeAnswer::Kind::NoAnswer, "no reply");
}

std::unique_ptr<ConnectionProbe> makeSystemConnectionProbe() {
    return std::make_unique<Win32ConnectionProbe>();
}

}  // namespace quorrel::platform
