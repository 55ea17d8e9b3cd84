#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/InstanceLock.h"
#include "tests/platform/win32/RunSelf.h"

namespace quorrel::platform {
namespace {

// A name of this test run's own, so that parallel runs in one prefix never meet.
std::string uniqueName(const char* base) {
    return std::string(base) + "-" + std::to_string(::GetCurrentProcessId());
}

TEST(Win32InstanceLock, TheSecondTakerOfTheNamedMutexSeesThatItExists) {
    const std::string name = uniqueName("QuorrelLockTest");
    auto first = makeSystemInstanceLock();
    auto second = makeSystemInstanceLock();
    auto otherName = makeSystemInstanceLock();

    EXPECT_EQ(first->acquire(name), LockResult::Acquired);
    EXPECT_EQ(second->acquire(name), LockResult::AlreadyExists);
    EXPECT_EQ(otherName->acquire(name + "-other"), LockResult::Acquired);

    // Once every handle is gone the mutex is gone too, and the name is free again.
    first.reset();
    second.reset();
    auto third = makeSystemInstanceLock();
    EXPECT_EQ(third->acquire(name), LockResult::Acquired);
}

TEST(Win32InstanceLock, AnotherProcessSeesTheMutexThisOneHolds) {
    const std::string name = uniqueName("QuorrelLockTestProc");
    auto mine = makeSystemInstanceLock();
    ASSERT_EQ(mine->acquire(name), LockResult::Acquired);

    // The same test program, started again, asks for the mutex in a process of its own; its
    // test passes (exit code 0) only when it sees "already exists".
    EXPECT_EQ(test::runSelf("Win32InstanceLockChild.ReportsWhatItGets", "QUORREL_LOCK_CHILD_NAME",
                            name.c_str()),
              0);
}

// Runs only as the child of the test above; skipped in an ordinary run.
TEST(Win32InstanceLockChild, ReportsWhatItGets) {
    std::string name;
    if (!test::childValue("QUORREL_LOCK_CHILD_NAME", name)) {
        GTEST_SKIP() << "started only by Win32InstanceLock.AnotherProcessSeesTheMutexThisOneHolds";
    }
    auto lock = makeSystemInstanceLock();
    EXPECT_EQ(lock->acquire(name), LockResult::AlreadyExists);
}

}  // namespace
}  // namespace quorrel::platform
