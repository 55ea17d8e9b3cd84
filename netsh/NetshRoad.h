#pragma once

#include <string>
#include <vector>

#include "base/Expected.h"
#include "netsh/NetshCommand.h"

namespace quorrel::netsh {

// One way of carrying out netsh's commands on an interface. The program chooses the road
// per interface after the command's values are checked; every road gives the same three
// command lines the same meaning, so the caller sees only the exit code and the message.
// An interface that NetworkManager manages takes the road through it
// (NetworkManagerRoad.h); one that nobody manages takes the direct road (DirectRoad.h); one
// that systemd-networkd manages is refused before any road is chosen.
class NetshRoad {
public:
    virtual ~NetshRoad() = default;

    // Carries out a command whose values are valid, on an interface that exists and is not
    // the loopback interface. Everything the road can check is checked before anything is
    // changed. Done once the change is in effect; otherwise what went wrong and what
    // became of the interface's settings.
    virtual Done carryOut(const NetshCommand& command) = 0;

    // What the run did besides the command and the user should hear of (an interrupted
    // earlier change undone), one line each.
    virtual std::vector<std::string> notes() const = 0;
};

}  // namespace quorrel::netsh
