#include "netsh/StateUpdate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace quorrel::netsh {

std::string updateInterfaceState(const std::string& folder, const std::string& ifname,
                                 const std::function<void(platform::InterfaceState&)>& change) {
    if (!platform::isValidInterfaceName(ifname)) {
        return "\"" + ifname + "\" is not an interface name";
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string lockPath = folder + "/" + ifname + ".lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0) {
        return "cannot open " + lockPath + ": " + std::strerror(errno);
    }
    while (::flock(lock, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const std::string why = std::strerror(errno);
            ::close(lock);
            return "cannot lock " + lockPath + ": " + why;
        }
    }
    platform::InterfaceState state =
        platform::readInterfaceState(folder, ifname).value_or(platform::InterfaceState{});
    change(state);
    std::string error;
    const bool written = platform::writeInterfaceState(folder, ifname, state, error);
    ::close(lock);  // releases the lock
    return written ? "" : error;
}

}  // namespace quorrel::netsh
