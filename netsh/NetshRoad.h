#pragma once

#include <string>
#include <vector>

#include "netsh/NetshCommand.h"

namespace quorrel::netsh {

// One way of carrying out netsh's commands on an interface. The program chooses the road
// per interface after the command's values are checked; every road gives the same three
// command lines the same meaning, so the caller sees only the exit code and the message.
// Today every interface takes the direct road (DirectRoad.h); a road through a network
// manager that owns an interface would stand beside it.
class NetshRoad {
public:
    virtual ~NetshRoad() = default;

    // Carries out a command whose values are valid, on an interface that exists and is not
    // the loopback interface. Everything the road can check is checked before anything is
    // changed. Returns "" once the change is in effect; otherwise what went wrong and what
    // became of the interface's settings.
    virtual std::string carryOut(const NetshCommand& command) = 0;

    // What the run did besides the command and the user should hear of (an interrupted
    // earlier change undone), one line each.
    virtual std::vector<std::string> notes() const = 0;
};

}  // namespace quorrel::netsh
