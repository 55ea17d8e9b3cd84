#include "platform/linux/NetworkState.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <system_error>

#include "platform/linux/DhcpClientCommand.h"
#include "platform/linux/PosixFileStore.h"
#include "system/linux/AtomicFile.h"
#include "system/linux/FileRead.h"

namespace quorrel::platform {

namespace {

constexpr const char* kDefaultFolder = "/var/lib/quorrel/netstate";

// The comment after each nameserver line that netsh writes, followed by the interface name.
constexpr const char* kResolvConfTag = " # set by quorrel's netsh for ";
// What earlier versions wrote in front of their nameserver lines.
constexpr const char* kOldResolvConfMarker = "# DNS servers set by quorrel's netsh for ";

std::optional<std::int64_t> parseSeconds(const std::string& text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseSource(const std::string& text) {
    if (text == "dhcp") {
        return true;
    }
    if (text == "static") {
        return false;
    }
    return std::nullopt;
}

const char* sourceText(bool dhcp) {
    return dhcp ? "dhcp" : "static";
}

Failure notAnInterfaceName(const std::string& ifname) {
    return failure("\"" + ifname + "\" is not an interface name");
}

}  // namespace

std::string networkStateFolder() {
    const char* env = std::getenv("QUORREL_NETSTATE_DIR");
    std::string folder = (env != nullptr && *env != '\0') ? env : kDefaultFolder;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

bool isValidInterfaceName(const std::string& ifname) {
    if (ifname.empty() || ifname.size() > 15 || ifname == "." || ifname == "..") {
        return false;
    }
    for (const char c : ifname) {
        if (c == '/' || c == ':' || c == '\0' || std::isspace(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

std::string interfaceStatePath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".state";
}

std::string dhcpPidPath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".dhcp.pid";
}

std::string dhcpLogPath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".dhcp.log";
}

std::string journalPath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".journal";
}

std::string runLockPath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".run-lock";
}

std::string stateLockPath(const std::string& folder, const std::string& ifname) {
    return folder + "/" + ifname + ".lock";
}

std::string dnsLockPath(const std::string& folder) {
    return folder + "/dns servers.lock";
}

std::string resolvConfLineFor(const std::string& server, const std::string& ifname) {
    return "nameserver " + server + kResolvConfTag + ifname;
}

bool isNameserverLine(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    return line.compare(i, 10, "nameserver") == 0 &&
           (line.size() == i + 10 || line[i + 10] == ' ' || line[i + 10] == '\t');
}

std::vector<bool> netshResolvConfLines(const std::vector<std::string>& lines) {
    std::vector<bool> ours(lines.size(), false);
    bool inOldBlock = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind(kOldResolvConfMarker, 0) == 0) {
            ours[i] = true;
            inOldBlock = true;
            continue;
        }
        const bool nameserver = isNameserverLine(line);
        ours[i] = nameserver && (inOldBlock || line.find(kResolvConfTag) != std::string::npos);
        inOldBlock = inOldBlock && nameserver;
    }
    return ours;
}

std::vector<std::string> effectiveDnsServers(const InterfaceState& state) {
    if (state.dnsAuto.value_or(false)) {
        return state.lease ? state.lease->dnsServers : std::vector<std::string>{};
    }
    return state.dnsServers;
}

std::string formatInterfaceState(const InterfaceState& state) {
    std::string text = "# Network settings of this interface, kept by quorrel's netsh\n";
    if (state.dhcp) {
        text += std::string("address-source=") + sourceText(*state.dhcp) + "\n";
    }
    if (state.dnsAuto) {
        text += std::string("dns-source=") + sourceText(*state.dnsAuto) + "\n";
    }
    for (const auto& server : state.dnsServers) {
        text += "dns=" + server + "\n";
    }
    if (state.lease) {
        const DhcpLease& lease = *state.lease;
        text += "lease-server=" + lease.server + "\n";
        text += "lease-address=" + lease.address + "\n";
        text += "lease-mask=" + lease.mask + "\n";
        text += "lease-router=" + lease.router + "\n";
        text += "lease-obtained=" + std::to_string(lease.obtained) + "\n";
        text += "lease-expires=" + std::to_string(lease.expires) + "\n";
        for (const auto& server : lease.dnsServers) {
            text += "lease-dns=" + server + "\n";
        }
    }
    if (!state.refusedLease.empty()) {
        std::string why = state.refusedLease;
        std::replace(why.begin(), why.end(), '\n', ' ');
        text += "lease-refused=" + why + "\n";
    }
    return text;
}

InterfaceState parseInterfaceState(const std::string& text) {
    InterfaceState state;
    std::istringstream in(text);
    std::string line;
    auto lease = [&state]() -> DhcpLease& {
        if (!state.lease) {
            state.lease.emplace();
        }
        return *state.lease;
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "address-source") {
            state.dhcp = parseSource(value);
        } else if (key == "dns-source") {
            state.dnsAuto = parseSource(value);
        } else if (key == "dns") {
            if (!value.empty()) {
                state.dnsServers.push_back(value);
            }
        } else if (key == "lease-server") {
            lease().server = value;
        } else if (key == "lease-address") {
            lease().address = value;
        } else if (key == "lease-mask") {
            lease().mask = value;
        } else if (key == "lease-router") {
            lease().router = value;
        } else if (key == "lease-obtained") {
            lease().obtained = parseSeconds(value).value_or(0);
        } else if (key == "lease-expires") {
            lease().expires = parseSeconds(value).value_or(0);
        } else if (key == "lease-refused") {
            state.refusedLease = value;
        } else if (key == "lease-dns") {
            if (!value.empty()) {
                lease().dnsServers.push_back(value);
            }
        }
    }
    return state;
}

std::optional<InterfaceState> readInterfaceState(const std::string& folder,
                                                 const std::string& ifname) {
    if (!isValidInterfaceName(ifname)) {
        return std::nullopt;
    }
    PosixFileStore files;
    const auto text = files.readAll(interfaceStatePath(folder, ifname));
    if (!text) {
        return std::nullopt;
    }
    return parseInterfaceState(*text);
}

std::optional<InterfaceState> readInterfaceState(const std::string& ifname) {
    return readInterfaceState(networkStateFolder(), ifname);
}

Done writeInterfaceState(const std::string& folder, const std::string& ifname,
                         const InterfaceState& state, StateDurability durability) {
    if (!isValidInterfaceName(ifname)) {
        return notAnInterfaceName(ifname);
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return failure("cannot create the state folder " + folder + ": " + ec.message());
    }
    // The file is netsh's own: a link in its place is replaced, never written through.
    const std::string path = interfaceStatePath(folder, ifname);
    if (const Done written = system::replaceFileAtomically(
            path, formatInterfaceState(state),
            system::noLinkFollowed(durability == StateDurability::OnDisk));
        !written) {
        return failure("cannot write " + path + ": " + written.error());
    }
    return {};
}

Done flushInterfaceState(const std::string& folder, const std::string& ifname) {
    if (!isValidInterfaceName(ifname)) {
        return notAnInterfaceName(ifname);
    }
    if (Done flushed = system::flushFileAndFolder(interfaceStatePath(folder, ifname)); !flushed) {
        return failure("cannot flush " + interfaceStatePath(folder, ifname) +
                       " to disk: " + flushed.error());
    }
    return {};
}

Done removeInterfaceState(const std::string& folder, const std::string& ifname) {
    if (!isValidInterfaceName(ifname)) {
        return notAnInterfaceName(ifname);
    }
    std::error_code ec;
    std::filesystem::remove(interfaceStatePath(folder, ifname), ec);
    if (ec) {
        return failure("cannot remove " + interfaceStatePath(folder, ifname) + ": " + ec.message());
    }
    return {};
}

std::vector<std::string> recordedInterfaces(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string file = it->path().filename().string();
        constexpr std::string_view kSuffix = ".state";
        if (file.size() > kSuffix.size() &&
            file.compare(file.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
            std::string name = file.substr(0, file.size() - kSuffix.size());
            if (isValidInterfaceName(name)) {
                names.push_back(std::move(name));
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

Done writeInterfaceState(const std::string& ifname, const InterfaceState& state) {
    return writeInterfaceState(networkStateFolder(), ifname, state);
}

std::string nameServerValue(const InterfaceState& state) {
    std::string value;
    for (const auto& server : state.dnsServers) {
        value += (value.empty() ? "" : ",") + server;
    }
    return value;
}

bool dhcpClientRunning(const std::string& folder, const std::string& ifname) {
    if (!isValidInterfaceName(ifname)) {
        return false;
    }
    std::string pidText = system::readWholeFile(dhcpPidPath(folder, ifname)).value_or("");
    while (!pidText.empty() && std::isspace(static_cast<unsigned char>(pidText.back()))) {
        pidText.pop_back();
    }
    const auto pid = parseSeconds(pidText);
    if (!pid || *pid <= 1) {
        return false;
    }
    // A pid file can outlive its process and the number be reused: the process must be a
    // DHCP client working on this interface.
    const std::string cmdline =
        system::readWholeFile("/proc/" + std::to_string(*pid) + "/cmdline").value_or("");
    return dhcpClientCommandNames(commandLineArguments(cmdline), ifname);
}

bool dhcpClientRunning(const std::string& ifname) {
    return dhcpClientRunning(networkStateFolder(), ifname);
}

}  // namespace quorrel::platform
