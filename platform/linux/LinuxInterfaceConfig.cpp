// What the kernel does not say about an interface: whether its address comes from DHCP and
// which DNS servers were set for it by hand.

#include <arpa/inet.h>
#include <dirent.h>
#include <linux/if_addr.h>
#include <netinet/in.h>
#include <unistd.h>

#include <sstream>

#include "platform/linux/LinuxAdapterSource.h"
#include "platform/linux/NetworkState.h"
#include "system/linux/FileRead.h"

namespace quorrel::platform {

namespace {

constexpr std::uint32_t kForever = 0xFFFFFFFF;

// The stub listener of systemd-resolved; the real servers are then in its own file.
constexpr const char* kResolvedStub = "127.0.0.53";
constexpr const char* kResolvedServers = "/run/systemd/resolve/resolv.conf";

std::string stateFolderOf(const LinuxAdapterPaths& paths) {
    return paths.stateFolder.empty() ? networkStateFolder() : paths.stateFolder;
}

std::string readLink(const std::string& path) {
    char target[256];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::string joinWithCommas(const std::vector<std::string>& parts) {
    std::string joined;
    for (const auto& part : parts) {
        if (!joined.empty()) {
            joined += ',';
        }
        joined += part;
    }
    return joined;
}

}  // namespace

std::vector<std::string> resolvConfServers(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    // The lines netsh wrote belong to the interfaces it set, each recorded in its state.
    const std::vector<bool> netshLine = netshResolvConfLines(lines);
    std::vector<std::string> servers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (netshLine[i]) {
            continue;
        }
        std::istringstream words(lines[i]);
        std::string keyword;
        std::string address;
        if (!(words >> keyword >> address) || keyword != "nameserver") {
            continue;
        }
        in_addr parsed{};
        if (::inet_pton(AF_INET, address.c_str(), &parsed) == 1) {
            servers.push_back(address);
        }
    }
    return servers;
}

DhcpClientProcesses::DhcpClientProcesses(std::string procRoot) : procRoot_(std::move(procRoot)) {}

bool DhcpClientProcesses::runFor(const std::string& ifname) {
    if (!clients_) {
        clients_ = scan();
    }
    for (const auto& argv : *clients_) {
        if (dhcpClientCommandNames(argv, ifname)) {
            return true;
        }
    }
    return false;
}

std::vector<std::vector<std::string>> DhcpClientProcesses::scan() const {
    std::vector<std::vector<std::string>> clients;
    const std::string ownNamespace = readLink(procRoot_ + "/self/ns/net");
    DIR* folder = ::opendir(procRoot_.c_str());
    if (folder == nullptr) {
        return clients;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string pid = entry->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string base = procRoot_ + "/" + pid;
        const auto cmdline = system::readWholeFile(base + "/cmdline");
        if (!cmdline || cmdline->empty()) {
            continue;  // gone, or a kernel thread
        }
        std::vector<std::string> argv = commandLineArguments(*cmdline);
        if (dhcpClientArgumentsStart(argv) == 0) {
            continue;
        }
        // A client for an interface of the same name in another namespace is not ours.
        if (!ownNamespace.empty() && readLink(base + "/ns/net") != ownNamespace) {
            continue;
        }
        clients.push_back(std::move(argv));
    }
    ::closedir(folder);
    return clients;
}

bool dhcpClientProcessRunning(const std::string& procRoot, const std::string& ifname) {
    return DhcpClientProcesses(procRoot).runFor(ifname);
}

bool linuxInterfaceUsesDhcp(const LinuxAdapterPaths& paths, const NetlinkSnapshot& snapshot,
                            const NetlinkLink& link) {
    DhcpClientProcesses clients(paths.procRoot);
    return linuxInterfaceUsesDhcp(paths, snapshot, link, clients);
}

bool linuxInterfaceUsesDhcp(const LinuxAdapterPaths& paths, const NetlinkSnapshot& snapshot,
                            const NetlinkLink& link, DhcpClientProcesses& clients) {
    if (paths.managedConfig) {
        if (const auto managed = paths.managedConfig(link.name)) {
            return managed->dhcp;
        }
    }
    const std::string folder = stateFolderOf(paths);
    if (const auto state = readInterfaceState(folder, link.name); state && state->dhcp) {
        return *state->dhcp;
    }
    // A dynamic first address answers without the process table, the costliest look.
    const NetlinkAddress* address = snapshot.firstAddress(link.index);
    if (address != nullptr &&
        ((address->flags & IFA_F_PERMANENT) == 0 || address->validLifetime != kForever)) {
        return true;
    }
    return dhcpClientRunning(folder, link.name) || clients.runFor(link.name);
}

std::string linuxNameServerValue(const LinuxAdapterPaths& paths, const std::string& ifname,
                                 bool usesDhcp) {
    if (paths.managedConfig) {
        if (const auto managed = paths.managedConfig(ifname)) {
            return joinWithCommas(managed->dnsServers);
        }
    }
    if (const auto state = readInterfaceState(stateFolderOf(paths), ifname);
        state && state->dnsAuto) {
        return *state->dnsAuto ? std::string() : nameServerValue(*state);
    }
    if (usesDhcp) {
        return {};
    }
    std::vector<std::string> servers =
        resolvConfServers(system::readWholeFile(paths.resolvConf).value_or(""));
    if (servers.size() == 1 && servers.front() == kResolvedStub) {
        if (const auto resolved = system::readWholeFile(kResolvedServers)) {
            servers = resolvConfServers(*resolved);
        }
    }
    return joinWithCommas(servers);
}

}  // namespace quorrel::platform
