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

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> splitArguments(const std::string& cmdline) {
    std::vector<std::string> argv;
    std::size_t start = 0;
    while (start < cmdline.size()) {
        std::size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) {
            end = cmdline.size();
        }
        argv.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    return argv;
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

namespace {

// Where a client's own arguments start (after "busybox udhcpc", else after the program),
// or 0 when the command is no DHCP client.
std::size_t clientArgumentsStart(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return 0;
    }
    const std::string program = baseName(argv[0]);
    if (program == "busybox") {
        return argv.size() > 1 && argv[1] == "udhcpc" ? 2 : 0;
    }
    return program == "udhcpc" || program == "dhclient" || program == "dhcpcd" ? 1 : 0;
}

}  // namespace

bool dhcpClientCommandNames(const std::vector<std::string>& argv, const std::string& ifname) {
    const std::size_t first = clientArgumentsStart(argv);
    if (first == 0 || ifname.empty()) {
        return false;
    }
    for (std::size_t i = first; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg == ifname || arg == "-i" + ifname || arg == "--interface=" + ifname) {
            return true;
        }
    }
    return false;
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
        std::vector<std::string> argv = splitArguments(*cmdline);
        if (clientArgumentsStart(argv) == 0) {
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
