#include "netsh/InterfaceOwner.h"

#include <net/if.h>

#include <fstream>
#include <sstream>

namespace quorrel::netsh {

namespace {

struct NetworkdLink {
    std::string adminState;
    std::string networkFile;
};

std::optional<NetworkdLink> readNetworkdLink(const std::string& folder, unsigned index) {
    std::ifstream in(folder + "/links/" + std::to_string(index));
    if (!in) {
        return std::nullopt;
    }
    NetworkdLink link;
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, eq);
        if (key == "ADMIN_STATE") {
            link.adminState = line.substr(eq + 1);
        } else if (key == "NETWORK_FILE") {
            link.networkFile = line.substr(eq + 1);
        }
    }
    return link;
}

}  // namespace

Expected<OwnerFinding> findInterfaceOwner(const std::string& ifname, platform::NetworkManager* nm,
                                          const std::string& networkdFolder) {
    OwnerFinding finding;
    if (nm != nullptr) {
        Expected<std::optional<platform::NmDevice>> found = nm->device(ifname);
        if (!found) {
            return failure(found.error());
        }
        std::optional<platform::NmDevice>& device = *found;
        if (device && device->managed && device->state != platform::kNmDeviceUnmanaged) {
            finding.owner = InterfaceOwner::NetworkManager;
            finding.device = std::move(device);
            return finding;
        }
    }
    if (const unsigned index = ::if_nametoindex(ifname.c_str()); index != 0) {
        if (const auto link = readNetworkdLink(networkdFolder, index)) {
            const std::string& state = link->adminState;
            if (!link->networkFile.empty() || state == "configuring" || state == "configured" ||
                state == "failed") {
                finding.owner = InterfaceOwner::SystemdNetworkd;
                finding.networkFile = link->networkFile;
            }
        }
    }
    return finding;
}

std::string networkdRefusal(const std::string& ifname, const std::string& networkFile) {
    return ifname + " is managed by systemd-networkd" +
           (networkFile.empty() ? "" : " (" + networkFile + ")") +
           ", which would undo any change made here; set its address in its .network file "
           "and run \"networkctl reload\", or leave the interface to NetworkManager or to "
           "nobody; nothing was changed";
}

}  // namespace quorrel::netsh
