#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

#include "system/linux/OwnedFd.h"

namespace quorrel::netsh {

// Wakes a `set address dhcp` that waits for its lease as soon as something it waits for may
// have happened: the DHCP client's event script replaced the interface's state file (the
// kernel's folder notification), or the client ended (a process descriptor). Made before
// the state is first looked at, so that nothing in between is missed. Where the kernel
// offers neither, it wakes every 20 ms instead.
class LeaseWatch {
public:
    LeaseWatch(const std::string& stateFolder, const std::string& ifname, pid_t client);

    // Returns when the state file may have changed or the client may have ended (true), or
    // at the deadline (false).
    bool wait(std::chrono::steady_clock::time_point deadline);

private:
    bool stateFileReplaced();

    std::string stateName_;
    system::OwnedFd folderChanges_;
    system::OwnedFd client_;
};

}  // namespace quorrel::netsh
