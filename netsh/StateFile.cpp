#include "netsh/StateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "netsh/CommandValidator.h"
#include "netsh/Ipv4.h"
#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

namespace {

constexpr off_t kStateFileLimit = 64 * 1024;

std::string checkServers(const std::vector<std::string>& servers, const char* key) {
    for (const auto& server : servers) {
        if (auto problem = checkDnsServer(server); !problem.empty()) {
            return std::string(key) + ": " + problem;
        }
    }
    return "";
}

std::string storedAddressProblem(const platform::InterfaceState& state) {
    if (auto problem = checkServers(state.dnsServers, "dns"); !problem.empty()) {
        return problem;
    }
    if (!state.lease) {
        return "";
    }
    const platform::DhcpLease& lease = *state.lease;
    // A fact the lease did not bring stays empty; one that is there must be an address.
    for (const auto& [key, value] :
         {std::pair{"lease-address", &lease.address}, std::pair{"lease-mask", &lease.mask},
          std::pair{"lease-router", &lease.router}, std::pair{"lease-server", &lease.server}}) {
        if (!value->empty() && !parseIpv4(*value)) {
            return std::string(key) + ": " + quoteForMessage(*value) +
                   " is not a valid IPv4 address";
        }
    }
    if (!lease.address.empty() && !lease.mask.empty()) {
        if (auto problem = checkFixedAddress(lease.address, lease.mask, lease.router);
            !problem.empty()) {
            return "lease: " + problem;
        }
    }
    return checkServers(lease.dnsServers, "lease-dns");
}

}  // namespace

Done checkStoredAddresses(const platform::InterfaceState& state) {
    return doneUnless(storedAddressProblem(state));
}

Expected<std::optional<platform::InterfaceState>> readStateFile(const std::string& folder,
                                                                const std::string& ifname,
                                                                uid_t owner) {
    const std::string path = platform::interfaceStatePath(folder, ifname);
    const auto refuse = [&path](const std::string& why) {
        return failure("the state file " + path + " is refused: " + why + "; nothing was changed");
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return std::optional<platform::InterfaceState>();
        }
        return refuse(errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
    }
    struct stat info {};
    std::string text;
    std::string why;
    if (::fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
    } else if (info.st_uid != 0 && info.st_uid != owner) {
        why = "it belongs to another user";
    } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        why = "others than its owner may write it";
    } else if (info.st_size > kStateFileLimit) {
        why = "it is larger than 64 KiB";
    } else {
        text.resize(static_cast<std::size_t>(info.st_size));
        const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
        if (n < 0) {
            why = std::strerror(errno);
        }
        text.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!why.empty()) {
        return refuse(why);
    }
    const platform::InterfaceState state = platform::parseInterfaceState(text);
    if (Done checked = checkStoredAddresses(state); !checked) {
        return refuse(checked.error());
    }
    return std::optional<platform::InterfaceState>(state);
}

}  // namespace quorrel::netsh
