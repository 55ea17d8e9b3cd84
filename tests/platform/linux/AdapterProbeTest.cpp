#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/AdapterProbe.h"

namespace quorrel::platform {
namespace {

// Runs the probe in a child process inside a network namespace of its own, which goes
// away with the child; `prepare` runs first inside that namespace. Returns 1 when the
// probe found an adapter, 0 when not, -1 when the namespace could not be made.
int probeInFreshNamespace(const char* prepare) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNET) != 0) {
            ::_exit(3);
        }
        if (prepare != nullptr && std::system(prepare) != 0) {
            ::_exit(4);
        }
        ::_exit(makeSystemAdapterProbe()->hasAdapter() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(AdapterProbe, LoopbackAloneIsNoAdapterAndAnyOtherInterfaceIsOne) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a network namespace of its own";
    }
    const int empty = probeInFreshNamespace(nullptr);
    if (empty == -1) {
        GTEST_SKIP() << "network namespaces are not available here";
    }
    EXPECT_EQ(empty, 0) << "a new namespace holds only the loopback interface";
    // A veth pair that is down and has no address still counts.
    EXPECT_EQ(probeInFreshNamespace("ip link add qprobe0 type veth peer name qprobe1"), 1);
}

}  // namespace
}  // namespace quorrel::platform
