#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/linux/FileRegistryStore.h"
#include "resources/CleanupTexts.h"
#include "system/linux/CollectedRun.h"
#include "system/linux/ProcessSpawn.h"
#include "tests/support/TempFolder.h"
#include "tests/support/linux/ClosedPipeSpawn.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string output;
    int signal = 0;  // the signal that ended it, if one did
};

// Runs the built uninstall-cleanup with the store file in `registryFolder` and the user's
// data folder in `dataFolder`, and collects its standard output.
Outcome runCleanup(const std::string& registryFolder, const std::string& dataFolder,
                   std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), UNINSTALL_CLEANUP_PROGRAM);
    system::CollectOptions options;
    options.environment = {"QUORREL_REGISTRY_DIR=" + registryFolder, "XDG_DATA_HOME=" + dataFolder};
    options.withErrors = false;
    const system::CollectedRun run =
        system::runCollectingOutput(UNINSTALL_CLEANUP_PROGRAM, arguments, options);
    if (!run.started) {
        ADD_FAILURE() << run.reason;
    }
    return {run.exitCode, run.output, 0};
}

// The same with its standard output a pipe that nobody reads any more, as when the
// uninstaller that started it has gone.
Outcome runCleanupWithClosedOutput(const std::string& registryFolder,
                                   const std::string& dataFolder) {
    const pid_t child = test::spawnWithClosedPipe(
        {UNINSTALL_CLEANUP_PROGRAM},
        {"QUORREL_REGISTRY_DIR=" + registryFolder, "XDG_DATA_HOME=" + dataFolder}, STDOUT_FILENO);
    if (child < 0) {
        ADD_FAILURE() << "cannot start " << UNINSTALL_CLEANUP_PROGRAM;
        return {};
    }
    const system::ChildEnd end = system::waitForChild(child);
    return {end.signalled ? -1 : end.exitCode, "", end.signalled ? end.exitCode - 128 : 0};
}

class UninstallCleanup : public ::testing::Test {
protected:
    void setTessupPath(const std::string* path) {
        platform::FileRegistryStore store(registry.path());
        std::unique_ptr<platform::RegistryKey> key;
        ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Tessup", key), platform::RegStatus::Ok);
        if (path != nullptr) {
            ASSERT_EQ(key->setString("PATH", *path), platform::RegStatus::Ok);
        }
    }
    void expectMessageAndExitCodeZero(const Outcome& outcome) {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.output, texts::kCleanupMessage);
    }
    std::string defaultFolder() const { return data.path() + "Varnok/Tessup"; }

    test::TempFolder registry;
    test::TempFolder data;
    test::TempFolder install;
};

TEST_F(UninstallCleanup, RemovesTheEmptyFolderNamedInTheTessupKey) {
    const std::string folder = install.path() + "Tessup 설치";
    fs::create_directory(folder);
    setTessupPath(&folder);
    fs::create_directories(defaultFolder());  // not touched while the key names a folder

    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path(), {"/ignored", "-x"}));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, AKeyWithoutPathRemovesNothing) {
    setTessupPath(nullptr);
    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, WithoutTheKeyTheEmptyDefaultFolderGoesAndAMissingOneIsNoError) {
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));

    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_FALSE(fs::exists(defaultFolder()));
    EXPECT_TRUE(fs::exists(data.path() + "Varnok"));  // only the Tessup folder itself
}

TEST_F(UninstallCleanup, AFolderThatStillHoldsFilesStays) {
    const std::string folder = install.path() + "Tessup";
    fs::create_directories(folder + "/bin");
    test::writeFileBytes(folder + "/readme.txt", "left over");
    setTessupPath(&folder);
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(folder + "/readme.txt"));
    EXPECT_TRUE(fs::exists(folder + "/bin"));
}

TEST_F(UninstallCleanup, ADamagedStoreOrAnOverlongPathStillEndsWithCodeZero) {
    const std::string folder = install.path() + std::string(1100, 'x').substr(0, 200);
    fs::create_directory(folder);
    std::string overlong = folder + "/" + std::string(1024, 'y');
    setTessupPath(&overlong);  // does not fit the 1024-byte buffer: nothing is removed
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(folder));

    test::writeFileBytes(registry.file("HKEY_LOCAL_MACHINE.reg"), "not a store file\n");
    const Outcome outcome = runCleanup(registry.path(), data.path());
    expectMessageAndExitCodeZero(outcome);
}

TEST_F(UninstallCleanup, AClosedStandardOutputStillRemovesTheFolderAndEndsWithCodeZero) {
    const std::string folder = install.path() + "Tessup";
    std::filesystem::create_directory(folder);
    setTessupPath(&folder);
    const Outcome outcome = runCleanupWithClosedOutput(registry.path(), data.path());
    EXPECT_EQ(outcome.signal, 0) << "ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace quorrel
