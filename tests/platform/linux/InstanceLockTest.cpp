#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/InstanceLock.h"
#include "platform/linux/PosixInstanceLock.h"
#include "tests/platform/linux/ScratchUser.h"
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

TEST(PosixInstanceLock, NeverFollowsALinkPlantedAtTheLockFile) {
    test::TempFolder folder;
    std::filesystem::create_symlink(folder.file("elsewhere"), folder.file("Quorrel.lock"));
    PosixInstanceLock lock(folder.path());
    EXPECT_EQ(lock.acquire("Quorrel"), LockResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(folder.file("elsewhere")));
}

// A shared temporary folder like /tmp, and the user's cache folder beside it.
class RuntimeFolderChoice : public ::testing::Test {
protected:
    void SetUp() override { ::chmod(root.path().c_str(), 01777); }
    RuntimeFolderPlaces places() const { return {"", root.path(), root.file("cache")}; }
    std::string shared() const { return root.file("quorrel-" + std::to_string(::geteuid())); }
    std::string cached() const { return root.file("cache/quorrel-runtime/"); }

    test::TempFolder root;
};

TEST_F(RuntimeFolderChoice, TakesTheSharedFolderOnlyWhileItIsPrivatelyTheUsers) {
    EXPECT_EQ(chooseRuntimeFolder(places()), shared() + "/");  // made private
    struct stat info {};
    ASSERT_EQ(::lstat(shared().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());

    ::chmod(shared().c_str(), 0777);  // others may write into it: passed over
    EXPECT_EQ(chooseRuntimeFolder(places()), cached());
    ::chmod(shared().c_str(), 0750);
    EXPECT_EQ(chooseRuntimeFolder(places()), shared() + "/");

    // A link to a private folder is passed over as well: whoever made the link may change it.
    std::filesystem::remove(shared());
    std::filesystem::create_directory(root.file("mine"));
    ::chmod(root.file("mine").c_str(), 0700);
    std::filesystem::create_directory_symlink(root.file("mine"), shared());
    EXPECT_EQ(chooseRuntimeFolder(places()), cached());
    EXPECT_TRUE(isPrivateFolder(cached()));

    // The runtime folder of the session is the user's own.
    EXPECT_EQ(chooseRuntimeFolder({"/run/user/4242", root.path(), root.file("cache")}),
              "/run/user/4242/");
}

// Another local user prepares /tmp/quorrel-<uid> for a user who has never started the
// program: a folder anyone may write into, with a link where the lock file goes. The
// program must neither use that folder nor create the file the link names.
TEST(RuntimeFolderOfAnotherUser, IsNeverUsedAndItsLinkNeverFollowed) {
    test::ScratchUser user;
    test::ScratchUser other;
    if (!user.made() || !other.made()) {
        GTEST_SKIP() << user.whyNot() << other.whyNot();
    }
    const std::string prepared = "/tmp/quorrel-" + std::to_string(user.uid());
    const std::string victim = "/tmp/quorrel-victim-" + std::to_string(user.uid());
    std::filesystem::remove_all(prepared);
    std::filesystem::remove(victim);
    ASSERT_EQ(other.runAs([&] {
        if (::mkdir(prepared.c_str(), 0777) != 0 || ::chmod(prepared.c_str(), 0777) != 0) {
            return 1;
        }
        return ::symlink(victim.c_str(), (prepared + "/Quorrel.lock").c_str()) == 0 ? 0 : 2;
    }),
              0);
    test::TempFolder home;
    ASSERT_EQ(::chown(home.path().c_str(), user.uid(), user.gid()), 0);

    // The user starts: exit code 0 when the lock was taken away from the prepared folder.
    const int started = user.runAs([&] {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CACHE_HOME");
        ::setenv("HOME", home.path().c_str(), 1);
        const std::string folder = runtimeFolder();
        if (folder.rfind(prepared, 0) == 0) {
            return 3;
        }
        const auto lock = makeSystemInstanceLock();
        return lock->acquire("Quorrel") == LockResult::Acquired && isPrivateFolder(folder) ? 0 : 4;
    });
    EXPECT_EQ(started, 0);
    EXPECT_FALSE(std::filesystem::exists(victim));
    std::filesystem::remove_all(prepared);
    std::filesystem::remove(victim);
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
