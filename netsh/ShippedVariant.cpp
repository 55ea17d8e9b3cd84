// The installed netsh: with rights it takes nothing from its caller's environment.
#include "netsh/RunEnvironment.h"

namespace quorrel::netsh {

bool overridesTakenWithRights() {
    return false;
}

}  // namespace quorrel::netsh
