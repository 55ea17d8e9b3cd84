#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "base/Expected.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

// An interface's state file as a netsh with rights takes it in (see
// platform/linux/NetworkState.h for the format). The file must be a regular file (not a
// link, not a FIFO) of `owner` or root that nobody else may write, of at most 64 KiB, and
// every address in it must pass the checks of the command line: each DNS server (dns=,
// lease-dns=) those of a DNS server, the lease's address, mask and router (those it has)
// those of a fixed address, its server a plain address. Otherwise whoever wrote it was not netsh,
// and the file is refused: the failure says why. Nothing (and no failure) when the
// interface has no state file.
Expected<std::optional<platform::InterfaceState>> readStateFile(const std::string& folder,
                                                                const std::string& ifname,
                                                                uid_t owner);

// "" when every stored address of the state passes those checks, else the first that fails.
Done checkStoredAddresses(const platform::InterfaceState& state);

}  // namespace quorrel::netsh
