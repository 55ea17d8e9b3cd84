#include "ipconfig/SystemFacts.h"

#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>

#include "ipconfig/PlatformFacts.h"
#include "platform/linux/LinuxAdapterSource.h"
#include "platform/linux/NetlinkSnapshot.h"

namespace quorrel::ipconfig {

namespace {

// The table can grow between learning its size and reading it; so many tries at most.
constexpr int kFetchAttempts = 4;

// The name of the driver behind the interface ("e1000e", "veth", "bridge"), as the kernel
// tells it for this network namespace; "" when it does not say.
std::string driverName(const std::string& ifname) {
    if (ifname.size() >= IFNAMSIZ) {
        return {};
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        ethtool_drvinfo info{};
        info.cmd = ETHTOOL_GDRVINFO;
        ifreq request{};
        std::memcpy(request.ifr_name, ifname.data(), ifname.size());
        request.ifr_data = reinterpret_cast<char*>(&info);
        const bool ok = ::ioctl(fd, SIOCETHTOOL, &request) == 0;
        ::close(fd);
        if (ok) {
            info.driver[sizeof info.driver - 1] = '\0';
            if (info.driver[0] != '\0') {
                return info.driver;
            }
        }
    }
    std::error_code ec;
    const auto driver =
        std::filesystem::read_symlink("/sys/class/net/" + ifname + "/device/driver", ec);
    return ec ? std::string() : driver.filename().string();
}

bool isWireless(const std::string& ifname) {
    std::error_code ec;
    const std::string base = "/sys/class/net/" + ifname;
    return std::filesystem::exists(base + "/wireless", ec) ||
           std::filesystem::exists(base + "/phy80211", ec);
}

AdapterKind kindOf(const platform::AdapterTableEntry& entry) {
    if (isWireless(entry.adapterId)) {
        return AdapterKind::Wireless;
    }
    return entry.address.size() == 6 ? AdapterKind::Ethernet : AdapterKind::Other;
}

bool readTable(std::vector<platform::AdapterTableEntry>& entries, std::string& error) {
    const auto table = platform::makeSystemAdapterTable();
    std::size_t size = table->probeSize();
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        switch (table->fetch(size, entries)) {
            case platform::AdapterFetch::Ok:
                return true;
            case platform::AdapterFetch::BufferTooSmall:
                continue;
            case platform::AdapterFetch::Failed:
                error = "the kernel's interface list cannot be read";
                return false;
        }
    }
    error = "the interface list kept changing while it was read";
    return false;
}

}  // namespace

std::string systemHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

Expected<ReportFacts> readSystemFacts() {
    std::vector<platform::AdapterTableEntry> entries;
    if (std::string error; !readTable(entries, error)) {
        return failure(std::move(error));
    }
    // Link flags for the media state; when they cannot be read, every link counts as up.
    const Expected<platform::NetlinkSnapshot> snapshot = platform::readNetlinkSnapshot();

    const platform::LinuxAdapterPaths paths;
    ReportFacts facts;
    facts.hostName = systemHostName();
    for (const auto& entry : entries) {
        const std::string& ifname = entry.adapterId;
        InterfaceExtras extras;
        extras.state = platform::readInterfaceState(ifname);
        extras.nameServerValue =
            platform::linuxNameServerValue(paths, ifname, entry.dhcpEnabled == 1);
        // Asked as for a fixed address, the key gives the resolver's servers wherever netsh
        // never set the interface's DNS, which is the only case they are used in.
        extras.resolverServers =
            splitNameServers(platform::linuxNameServerValue(paths, ifname, false));
        extras.kind = kindOf(entry);
        extras.description = driverName(ifname);
        if (snapshot) {
            if (const platform::NetlinkLink* link = snapshot->findLink(ifname)) {
                extras.mediaConnected =
                    (link->flags & IFF_UP) != 0 && (link->flags & IFF_RUNNING) != 0;
            }
        }
        facts.adapters.push_back(adapterFactsFrom(entry, extras));
    }
    return facts;
}

}  // namespace quorrel::ipconfig
