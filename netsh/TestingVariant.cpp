// netsh-testing, the build the tests run as root inside network namespaces of their own:
// it takes the overrides (RunEnvironment.h) with rights too, so that a test can point it at
// a state folder and resolver file of its own. Never installed.
#include "netsh/RunEnvironment.h"

namespace quorrel::netsh {

bool overridesTakenWithRights() {
    return true;
}

}  // namespace quorrel::netsh
