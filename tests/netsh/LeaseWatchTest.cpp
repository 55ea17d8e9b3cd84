#include "netsh/LeaseWatch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "system/linux/AtomicFile.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel::netsh {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A child that waits until it is killed, standing in for the DHCP client.
class WaitingChild {
public:
    WaitingChild() : pid_(::fork()) {
        if (pid_ == 0) {
            ::pause();
            ::_exit(0);
        }
    }
    ~WaitingChild() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_;
};

void replace(const std::string& path) {
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(path, "address-source=dhcp\n")));
}

// The wait ends at once on what it waits for, and only at its deadline otherwise.
TEST(LeaseWatch, WakesOnTheStateFileOrTheClientsEndAndOtherwiseAtTheDeadline) {
    test::TempFolder folder;
    WaitingChild client;
    ASSERT_GT(client.pid(), 0);
    LeaseWatch watch(folder.path(), "eth0", client.pid());

    // Another interface's state and the client's log are not what it waits for.
    replace(folder.file("eth1.state"));
    test::writeFileBytes(folder.file("eth0.dhcp.log"), "udhcpc: sending discover\n");
    auto start = Clock::now();
    EXPECT_FALSE(watch.wait(start + 100ms));
    EXPECT_GE(Clock::now() - start, 100ms);

    replace(folder.file("eth0.state"));
    start = Clock::now();
    EXPECT_TRUE(watch.wait(start + 10s));
    EXPECT_LT(Clock::now() - start, 5s);

    ::kill(client.pid(), SIGTERM);
    start = Clock::now();
    EXPECT_TRUE(watch.wait(start + 10s));
    EXPECT_LT(Clock::now() - start, 5s);
}

}  // namespace
}  // namespace quorrel::netsh
