// What the kernel does not say about an interface: whether its address comes from DHCP and
// which DNS servers were set for it by hand.

#include <arpa/inet.h>
#include <dirent.h>
#include <linux/if_addr.h>
#include <netinet/in.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/linux/LinuxAdapterSource.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::platform {

namespace {

constexpr std::uint32_t kForever = 0xFFFFFFFF;

// The stub listener of systemd-resolved; the real servers are then in its own file.
constexpr const char* kResolvedStub = "127.0.0.53";
constexpr const char* kResolvedServers = "/run/systemd/resolve/resolv.conf";

std::string stateFolderOf(const LinuxAdapterPaths& paths) {
    return paths.stateFolder.empty() ? networkStateFolder() : paths.stateFolder;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

bool dhcpClientCommandNames(const std::vector<std::string>& argv, const std::string& ifname) {
    if (argv.empty() || ifname.empty()) {
        return false;
    }
    const std::string program = baseName(argv[0]);
    std::size_t first = 1;
    if (program == "busybox" && argv.size() > 1 && argv[1] == "udhcpc") {
        first = 2;
    } else if (program != "udhcpc" && program != "dhclient" && program != "dhcpcd") {
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

bool dhcpClientProcessRunning(const std::string& procRoot, const std::string& ifname) {
    const std::string ownNamespace = readLink(procRoot + "/self/ns/net");
    DIR* folder = ::opendir(procRoot.c_str());
    if (folder == nullptr) {
        return false;
    }
    bool found = false;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string pid = entry->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string base = procRoot + "/" + pid;
        const auto cmdline = readFile(base + "/cmdline");
        if (!cmdline || !dhcpClientCommandNames(splitArguments(*cmdline), ifname)) {
            continue;
        }
        // A client for an interface of the same name in another namespace is not ours.
        if (!ownNamespace.empty() && readLink(base + "/ns/net") != ownNamespace) {
            continue;
        }
        found = true;
        break;
    }
    ::closedir(folder);
    return found;
}

bool linuxInterfaceUsesDhcp(const LinuxAdapterPaths& paths, const NetlinkSnapshot& snapshot,
                            const NetlinkLink& link) {
    if (paths.managedConfig) {
        if (const auto managed = paths.managedConfig(link.name)) {
            return managed->dhcp;
        }
    }
    const std::string folder = stateFolderOf(paths);
    if (const auto state = readInterfaceState(folder, link.name); state && state->dhcp) {
        return *state->dhcp;
    }
    if (dhcpClientRunning(folder, link.name) ||
        dhcpClientProcessRunning(paths.procRoot, link.name)) {
        return true;
    }
    const NetlinkAddress* address = snapshot.firstAddress(link.index);
    return address != nullptr &&
           ((address->flags & IFA_F_PERMANENT) == 0 || address->validLifetime != kForever);
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
    std::vector<std::string> servers = resolvConfServers(readFile(paths.resolvConf).value_or(""));
    if (servers.size() == 1 && servers.front() == kResolvedStub) {
        if (const auto resolved = readFile(kResolvedServers)) {
            servers = resolvConfServers(*resolved);
        }
    }
    return joinWithCommas(servers);
}

}  // namespace quorrel::platform
