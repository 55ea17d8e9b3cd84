#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/PosixFileStore.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

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
        std::string error;
        store.writeAtomically(path, std::string(100000, 'x'), error);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 3);

    EXPECT_EQ(test::readFileBytes(path), "old contents\r\n");
}

TEST(AtomicSave, ReplacesTheFileAndLeavesNoTemporaryFileBehind) {
    test::TempFolder folder;
    const std::string path = folder.file("quorrel.dat");
    test::writeFileBytes(path, "old");
    platform::PosixFileStore store;
    std::string error;
    ASSERT_TRUE(store.writeAtomically(path, "new", error)) << error;
    EXPECT_EQ(test::readFileBytes(path), "new");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace quorrel
