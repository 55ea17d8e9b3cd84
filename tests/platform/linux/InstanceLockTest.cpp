#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/InstanceLock.h"
#include "platform/linux/PosixInstanceLock.h"
#include "tests/support/TempFolder.h"

namespace quorrel::platform {
namespace {

TEST(PosixInstanceLock, OnlyTheFirstTakerHoldsTheNameUntilItLetsGo) {
    test::TempFolder folder;
    auto first = std::make_unique<PosixInstanceLock>(folder.path());
    PosixInstanceLock second(folder.path());
    PosixInstanceLock otherName(folder.path());

    EXPECT_EQ(first->acquire("Quorrel"), LockResult::Acquired);
    EXPECT_EQ(second.acquire("Quorrel"), LockResult::AlreadyExists);
    EXPECT_EQ(otherName.acquire("Tessup"), LockResult::Acquired) << "names are independent";
    EXPECT_EQ(second.acquire("Quorrel"), LockResult::AlreadyExists)
        << "asking again changes nothing";

    first.reset();
    EXPECT_EQ(second.acquire("Quorrel"), LockResult::Acquired);
}

TEST(PosixInstanceLock, AnotherProcessSeesTheLockAndItEndsWithItsHolder) {
    test::TempFolder folder;
    PosixInstanceLock mine(folder.path());
    ASSERT_EQ(mine.acquire("Quorrel"), LockResult::Acquired);

    // A child process asks for the same lock and reports what it got as its exit code.
    auto askInChild = [&] {
        const pid_t child = ::fork();
        if (child == 0) {
            PosixInstanceLock theirs(folder.path());
            ::_exit(static_cast<int>(theirs.acquire("Quorrel")));
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? static_cast<LockResult>(WEXITSTATUS(status))
                                 : LockResult::Failed;
    };
    EXPECT_EQ(askInChild(), LockResult::AlreadyExists);

    // A holder that dies without letting go releases the lock all the same.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        PosixInstanceLock held(folder.path());
        const char got = held.acquire("Other") == LockResult::Acquired ? '1' : '0';
        (void)!::write(ready[1], &got, 1);
        ::pause();
        ::_exit(0);
    }
    char got = 0;
    ASSERT_EQ(::read(ready[0], &got, 1), 1);
    EXPECT_EQ(got, '1');
    PosixInstanceLock waiting(folder.path());
    EXPECT_EQ(waiting.acquire("Other"), LockResult::AlreadyExists);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(waiting.acquire("Other"), LockResult::Acquired);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(PosixInstanceLock, AFolderThatCannotHoldTheLockFileFails) {
    test::TempFolder folder;
    PosixInstanceLock lock(folder.file("missing/"));
    EXPECT_EQ(lock.acquire("Quorrel"), LockResult::Failed);
}

class RuntimeFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            old_ = old;
        }
    }
    void TearDown() override {
        if (old_) {
            setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    std::optional<std::string> old_;
};

TEST_F(RuntimeFolder, IsTheUsersRuntimeFolderElseAPrivateOneInTmp) {
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(runtimeFolder(), "/run/user/4242/");

    setenv("XDG_RUNTIME_DIR", "relative/folder", 1);  // not a usable folder
    const std::string fallback = "/tmp/quorrel-" + std::to_string(::getuid()) + "/";
    EXPECT_EQ(runtimeFolder(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(runtimeFolder(), fallback);
    struct stat info {};
    ASSERT_EQ(::stat(fallback.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, ::getuid());
}

}  // namespace
}  // namespace quorrel::platform
