#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "platform/linux/PosixFileStore.h"
#include "system/linux/AtomicFile.h"
#include "tests/platform/linux/ScratchUser.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Every write that would take a file past `bytes` fails with EFBIG while it lasts, as a full
// disk stops a save midway.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = std::min(bytes, saved_.rlim_max);
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    sighandler_t handler_;
    rlimit saved_{};
};

// A piece that cannot be written stops the source there and fails the save with the
// write's reason; the old file stays and no temporary file is left, whether the pieces go
// to an unnamed file first or to a named one from the start.
TEST(AtomicSave, APieceThatCannotBeWrittenStopsTheSourceAndLeavesTheOldFile) {
    const std::string piece(64 * 1024, 'p');
    for (const bool unnamedFirst : {true, false}) {
        SCOPED_TRACE(unnamedFirst ? "unnamed file first" : "named file from the start");
        test::TempFolder folder;
        const std::string path = folder.file("quorrel.dat");
        test::writeFileBytes(path, "old contents\r\n");
        system::AtomicWriteOptions options;
        options.unnamedFirst = unnamedFirst;
        int offered = 0;
        const ByteSource fourPieces = [&](const ByteSink& sink) {
            for (int i = 0; i < 4; ++i) {
                ++offered;
                if (!sink(piece)) {
                    return;
                }
            }
        };
        Done replaced;
        {
            // Room for one piece and a half: the second piece fails.
            const FileSizeLimit limit(piece.size() + piece.size() / 2);
            replaced = system::replaceFileAtomicallyFrom(path, fourPieces, options);
        }
        EXPECT_FALSE(replaced);
        EXPECT_EQ(replaced.error(), std::strerror(EFBIG));
        EXPECT_EQ(offered, 2);
        EXPECT_EQ(test::readFileBytes(path), "old contents\r\n");
        EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"quorrel.dat"});
    }
}

TEST(AtomicSave, ACrashBetweenWriteAndRenameLeavesTheOldFile) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    test::writeFileBytes(path, "old contents\r\n");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::PosixFileStore store;
        // Die the hard way once the new bytes are on disk but before they replace the file.
        store.setBeforeRename([](const std::string&) { ::_exit(3); });
        (void)store.writeAtomically(path, std::string(100000, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 3);

    EXPECT_EQ(test::readFileBytes(path), "old contents\r\n");
    // The next save clears away what the dead writer left.
    platform::PosixFileStore store;
    ASSERT_TRUE(test::succeeded(store.writeAtomically(path, "new")));
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"quorrel.dat"});
}

TEST(AtomicSave, ReplacesTheFileAndLeavesNoTemporaryFileBehind) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    test::writeFileBytes(path, "old");
    platform::PosixFileStore store;
    ASSERT_TRUE(test::succeeded(store.writeAtomically(path, "new")));
    EXPECT_EQ(test::readFileBytes(path), "new");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"quorrel.dat"});
}

// The backup copy: whole and atomic wherever the source lies, also where the kernel cannot
// copy between the two (another file system; a file of /proc, whose size reads as 0).
TEST(AtomicSave, ACopyIsWholeFromAnyFileSystem) {
    test::TempFolder folder;
    std::string big(3 * 1024 * 1024 + 17, '\0');
    std::mt19937 random(7);
    std::generate(big.begin(), big.end(), [&] { return static_cast<char>(random()); });
    const std::string here = folder.file("source.dat");
    test::writeFileBytes(here, big);
    const std::string shm = "/dev/shm/quorrel-copy-test-" + std::to_string(::getpid());
    test::writeFileBytes(shm, big);
    const std::string version = test::readFileBytes("/proc/version");
    ASSERT_FALSE(version.empty());
    struct Case {
        const char* what;
        std::string from;
        std::string expected;
    };
    const Case cases[] = {
        {"the same folder", here, big},
        {"another file system", shm, big},
        {"a file of /proc", "/proc/version", version},
    };
    platform::PosixFileStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string to = folder.file("quorrel.bak");
        test::writeFileBytes(to, "an older backup that is longer than the file of /proc");
        EXPECT_TRUE(store.copyFile(c.from, to));
        EXPECT_EQ(test::readFileBytes(to), c.expected);
        EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"quorrel.bak", "source.dat"}));
    }
    fs::remove(shm);
    EXPECT_FALSE(store.copyFile(folder.file("missing.dat"), folder.file("quorrel.bak")));
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.bak")), version);
}

// A writer that saves over and over is killed at a random point of a save, again and again;
// the file always holds one whole version, and the next save leaves no temporary file.
TEST(AtomicSave, WritersKilledMidSaveLeaveOneWholeVersionAndNoTemporaryFiles) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    const std::string versionA(1 << 20, 'a');
    const std::string versionB(1 << 20, 'b');
    test::writeFileBytes(path, versionA);

    std::mt19937 random(20240611);
    constexpr int kKills = 200;
    int leftBeforeSweep = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            platform::PosixFileStore store;
            for (int save = 0;; ++save) {
                // One byte before each save tells the parent how far the writer got.
                if (::write(progress[1], "s", 1) != 1) {
                    ::_exit(2);
                }
                if (!store.writeAtomically(path, save % 2 ? versionA : versionB)) {
                    ::_exit(1);
                }
            }
        }
        ::close(progress[1]);
        // Let the writer begin one to three saves, then kill it wherever it is.
        const int saves = 1 + static_cast<int>(random() % 3);
        char byte = 0;
        for (int seen = 0; seen < saves; ++seen) {
            ASSERT_EQ(::read(progress[0], &byte, 1), 1) << "the writer ended by itself";
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
        ::close(progress[0]);

        const std::string now = test::readFileBytes(path);
        ASSERT_TRUE(now == versionA || now == versionB)
            << "a mixed or short file after kill " << kill << ": " << now.size() << " bytes";
        leftBeforeSweep = static_cast<int>(namesIn(folder.path()).size()) - 1;
    }
    platform::PosixFileStore store;
    ASSERT_TRUE(test::succeeded(store.writeAtomically(path, "last")));
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"quorrel.dat"})
        << leftBeforeSweep << " temporary files were there before the last save";
    EXPECT_EQ(test::readFileBytes(path), "last");
}

// The same with the named temporary file that holds the bytes from the start, as on a file
// system without unnamed files: the kills leave such files, and the next save sweeps them.
TEST(AtomicSave, WritersKilledWhileWritingANamedTemporaryFileLeaveNothingAfterTheNextSave) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    const std::string versionA(1 << 20, 'a');
    const std::string versionB(1 << 20, 'b');
    test::writeFileBytes(path, versionA);
    system::AtomicWriteOptions named;
    named.unnamedFirst = false;
    int leftBehind = 0;
    for (int kill = 0; kill < 50; ++kill) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            for (int save = 0;; ++save) {
                if (::write(progress[1], "s", 1) != 1 ||
                    !system::replaceFileAtomically(path, save % 2 ? versionA : versionB, named)) {
                    ::_exit(1);
                }
            }
        }
        ::close(progress[1]);
        char byte = 0;
        for (int seen = 0; seen < 1 + kill % 3; ++seen) {
            ASSERT_EQ(::read(progress[0], &byte, 1), 1) << "the writer ended by itself";
        }
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ::close(progress[0]);
        const std::string now = test::readFileBytes(path);
        ASSERT_TRUE(now == versionA || now == versionB) << "after kill " << kill;
        leftBehind = std::max(leftBehind, static_cast<int>(namesIn(folder.path()).size()) - 1);
    }
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(path, "last", named)));
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"quorrel.dat"});
    EXPECT_LE(leftBehind, 1) << "each save sweeps what the writer before it left";
}

TEST(AtomicSave, TheSweepSparesWritersAtWorkAndOtherFiles) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    const std::vector<std::string> others = {
        ".quorrel.dat.tmp-",      // no random part
        "quorrel.dat.tmp-abc",    // not hidden
        ".quorrel.bak.tmp-abc",   // another file's
        "quorrel.dat.Xy12Ab",     // an old-style temporary name: not ours to judge
        ".quorrel.dat.tmp-link",  // a link is never followed nor removed
    };
    for (const std::string& name : others) {
        if (name == ".quorrel.dat.tmp-link") {
            fs::create_symlink(folder.file("elsewhere"), folder.file(name));
        } else {
            test::writeFileBytes(folder.file(name), "keep");
        }
    }
    test::writeFileBytes(folder.file(".quorrel.dat.tmp-abandoned"), "left by a dead writer");
    test::writeFileBytes(folder.file(".quorrel.dat.tmp-busy"), "a writer at work");
    const int busy = ::open(folder.file(".quorrel.dat.tmp-busy").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(path, "new")));
    std::set<std::string> expected(others.begin(), others.end());
    expected.insert("quorrel.dat");
    expected.insert(".quorrel.dat.tmp-busy");
    EXPECT_EQ(namesIn(folder.path()), expected);
    ::close(busy);
}

TEST(AtomicSave, ASymbolicLinkIsWrittenThroughAndStays) {
    test::TempFolder folder;
    fs::create_directories(folder.file("real/deeper"));
    test::writeFileBytes(folder.file("real/deeper/profiles.dat"), "old");
    // quorrel.dat -> real/hop -> deeper/profiles.dat: a relative chain of two links.
    fs::create_symlink("deeper/profiles.dat", folder.file("real/hop"));
    fs::create_symlink("real/hop", folder.file("quorrel.dat"));
    ::chmod(folder.file("real/deeper/profiles.dat").c_str(), 0640);

    platform::PosixFileStore store;
    ASSERT_TRUE(test::succeeded(store.writeAtomically(folder.file("quorrel.dat"), "new")));
    EXPECT_TRUE(fs::is_symlink(folder.file("quorrel.dat")));
    EXPECT_TRUE(fs::is_symlink(folder.file("real/hop")));
    EXPECT_EQ(test::readFileBytes(folder.file("real/deeper/profiles.dat")), "new");
    EXPECT_EQ(modeOf(folder.file("real/deeper/profiles.dat")), 0640u);
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"quorrel.dat", "real"}));
    EXPECT_EQ(namesIn(folder.file("real/deeper")), std::set<std::string>{"profiles.dat"});

    // A link to a file not made yet: the first save makes the file, the link stays.
    fs::create_symlink(folder.file("real/later.dat"), folder.file("later"));
    ASSERT_TRUE(test::succeeded(store.writeAtomically(folder.file("later"), "first")));
    EXPECT_TRUE(fs::is_symlink(folder.file("later")));
    EXPECT_EQ(test::readFileBytes(folder.file("real/later.dat")), "first");
}

// Root writing where another user could plant a link writes through no link of theirs.
TEST(AtomicSave, ALinkOfAnotherUserIsReplacedNotFollowed) {
    test::ScratchUser other;
    if (!other.made()) {
        GTEST_SKIP() << other.whyNot();
    }
    test::TempFolder folder;
    test::writeFileBytes(folder.file("precious"), "not yours");
    fs::create_symlink(folder.file("precious"), folder.file("state"));
    ASSERT_EQ(::lchown(folder.file("state").c_str(), other.uid(), other.gid()), 0);
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(folder.file("state"), "written")));
    EXPECT_FALSE(fs::is_symlink(folder.file("state")));
    EXPECT_EQ(test::readFileBytes(folder.file("state")), "written");
    EXPECT_EQ(test::readFileBytes(folder.file("precious")), "not yours");
}

TEST(AtomicSave, AskedNotToFollowALinkReplacesTheLinkItself) {
    test::TempFolder folder;
    test::writeFileBytes(folder.file("real.dat"), "first");
    fs::create_symlink(folder.file("real.dat"), folder.file("later"));
    system::AtomicWriteOptions plain;
    plain.followLink = false;
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(folder.file("later"), "own", plain)));
    EXPECT_FALSE(fs::is_symlink(folder.file("later")));
    EXPECT_EQ(test::readFileBytes(folder.file("later")), "own");
    EXPECT_EQ(test::readFileBytes(folder.file("real.dat")), "first");
}

TEST(AtomicSave, KeepsTheModeAndGivesANewFileTheUsualOne) {
    test::TempFolder folder;
    const std::string kept = folder.file("kept.dat");
    test::writeFileBytes(kept, "old");
    ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(kept, "new")));
    EXPECT_EQ(modeOf(kept), 0604u);

    const mode_t mask = ::umask(027);
    ASSERT_TRUE(test::succeeded(system::replaceFileAtomically(folder.file("fresh.dat"), "new")));
    ::umask(mask);
    EXPECT_EQ(modeOf(folder.file("fresh.dat")), 0640u);
}

TEST(AtomicSave, SaysWhyWhenTheFolderIsMissing) {
    test::TempFolder folder;
    const Done replaced = system::replaceFileAtomically(folder.file("no/such/file"), "x");
    EXPECT_FALSE(replaced);
    EXPECT_FALSE(replaced.error().empty());
}

TEST(FileStoreRead, TellsAMissingFileFromOneThatCannotBeRead) {
    test::TempFolder folder;
    platform::PosixFileStore store;
    using Status = platform::FileRead::Status;

    EXPECT_EQ(store.read(folder.file("missing")).status, Status::Missing);
    fs::create_symlink(folder.file("nowhere"), folder.file("dangling"));
    EXPECT_EQ(store.read(folder.file("dangling")).status, Status::Missing);

    test::writeFileBytes(folder.file("there"), "bytes\r\n");
    const platform::FileRead there = store.read(folder.file("there"));
    EXPECT_EQ(there.status, Status::Read);
    EXPECT_EQ(there.bytes, "bytes\r\n");

    // A folder by the file's name opens but cannot be read: an I/O error, even for root.
    fs::create_directory(folder.file("folder.dat"));
    const platform::FileRead folderRead = store.read(folder.file("folder.dat"));
    EXPECT_EQ(folderRead.status, Status::Unreadable);
    EXPECT_FALSE(folderRead.error.empty());

    // A pipe by the file's name is no file to wait on.
    ASSERT_EQ(::mkfifo(folder.file("pipe.dat").c_str(), 0600), 0);
    EXPECT_EQ(store.read(folder.file("pipe.dat")).status, Status::Unreadable);
}

TEST(FileStoreRead, AFileTheUserMayNotReadIsUnreadableNotMissing) {
    test::ScratchUser user;
    if (!user.made()) {
        GTEST_SKIP() << user.whyNot();
    }
    test::TempFolder folder;
    test::writeFileBytes(folder.file("quorrel.dat"), "a||TRUE||||||||TRUE||||\r\n");
    ASSERT_EQ(::chmod(folder.file("quorrel.dat").c_str(), 0600), 0);
    // Exit code: 0 unreadable with a reason, 1 missing, 2 read.
    const int seen = user.runAs([&] {
        platform::PosixFileStore store;
        const platform::FileRead read = store.read(folder.file("quorrel.dat"));
        switch (read.status) {
            case platform::FileRead::Status::Unreadable:
                return read.error.empty() ? 3 : 0;
            case platform::FileRead::Status::Missing:
                return 1;
            case platform::FileRead::Status::Read:
                break;
        }
        return 2;
    });
    EXPECT_EQ(seen, 0);
}

}  // namespace
}  // namespace quorrel
